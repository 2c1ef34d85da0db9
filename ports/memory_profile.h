#pragma once
#include <map>
#include <string>
#include <variant>

#include "ports/profile.h"

// A settings store held in memory: for tests, and for front ends that must
// not touch the user's stored settings.
class MemoryProfile : public ProfilePort {
 public:
  using Value = std::variant<int, std::string>;
  using Key = std::pair<std::string, std::string>;  // section, name

  int GetProfileInt(const std::string& section, const std::string& name, int defaultValue) override {
    auto it = values_.find({section, name});
    if (it == values_.end()) return defaultValue;
    if (auto* i = std::get_if<int>(&it->second)) return *i;
    return defaultValue;
  }
  std::string GetProfileString(const std::string& section, const std::string& name,
                               const std::string& defaultValue) override {
    auto it = values_.find({section, name});
    if (it == values_.end()) return defaultValue;
    if (auto* s = std::get_if<std::string>(&it->second)) return *s;
    return defaultValue;
  }
  void WriteProfileInt(const std::string& section, const std::string& name, int value) override {
    values_[{section, name}] = value;
  }
  void WriteProfileString(const std::string& section, const std::string& name, const std::string& value) override {
    values_[{section, name}] = value;
  }

  bool Has(const std::string& section, const std::string& name) const { return values_.count({section, name}) != 0; }
  const std::map<Key, Value>& values() const { return values_; }
  void Clear() { values_.clear(); }

 private:
  std::map<Key, Value> values_;
};
