#pragma once
#include <optional>
#include <string>

#include "ports/profile.h"

// A settings store with the registry's own semantics beyond reading and
// writing: a section or value can be asked for, found or not, and removed.
// Section and value names compare without regard to case; a section below
// another is written "Setting/List" (or "Setting\List"). Texts are UTF-8.
class SettingsStore : public ProfilePort {
 public:
  // True when the store holds any value at all (the application key exists).
  virtual bool HasAnyValue() = 0;
  // True when the section holds a value or a section of its own.
  virtual bool HasSection(const std::string& section) = 0;
  virtual bool HasValue(const std::string& section, const std::string& name) = 0;

  // The stored value, or nothing when it is missing (or, for a number, not one).
  virtual std::optional<int> FindInt(const std::string& section, const std::string& name) = 0;
  virtual std::optional<std::string> FindString(const std::string& section, const std::string& name) = 0;

  virtual void DeleteValue(const std::string& section, const std::string& name) = 0;
  // Removes the section with everything below it.
  virtual void DeleteSection(const std::string& section) = 0;
  // Removes every value of the store.
  virtual void DeleteAll() = 0;

  // Puts every change made so far into lasting storage; false when that
  // failed, in which case the stored settings are as they were before.
  virtual bool Commit() = 0;

  // Where the settings are kept (a file name, or a registry path), to name
  // it when they could not be stored.
  virtual std::string Location() const = 0;
};
