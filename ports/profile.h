#pragma once
#include <string>

// The per-user settings store, by section and value name. Readers supply
// defaults for missing values; writers ignore failures. Texts are UTF-8.
class ProfilePort {
 public:
  virtual ~ProfilePort() = default;
  virtual int GetProfileInt(const std::string& section, const std::string& name, int defaultValue) = 0;
  virtual std::string GetProfileString(const std::string& section, const std::string& name,
                                       const std::string& defaultValue) = 0;
  virtual void WriteProfileInt(const std::string& section, const std::string& name, int value) = 0;
  virtual void WriteProfileString(const std::string& section, const std::string& name, const std::string& value) = 0;
};
