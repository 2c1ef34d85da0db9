#pragma once
#include <memory>
#include <optional>
#include <string>

#include "profile/settings_store.h"

class QSettings;
class QString;

// The per-user settings of Kiv and its companion programs, kept by QSettings
// under the company "Orvanta" and the application "Tallowick" in the native
// format: the registry on Windows, $XDG_CONFIG_HOME/Orvanta/Tallowick.conf on
// Linux. Sections are groups ("Setting", "Shell", "Secret", "Setting/List",
// "Setting/Tree"); integers are stored as integers, texts as UTF-8 texts.
//
// Names are found without regard to case, as the registry finds them: a
// value written by another program as "logfile" is the same value as
// "LOGFILE", and writing it keeps the stored spelling.
//
// Changes are held in memory and reach storage on Commit() or when the
// object goes; either way the file is replaced as a whole, never half-written.
class QSettingsProfile : public SettingsStore {
 public:
  static constexpr const char* kCompany = "Orvanta";
  static constexpr const char* kApplication = "Tallowick";

  // The user's own settings.
  QSettingsProfile();
  // The settings kept in the INI file iniPath: for tools and tests that
  // must not touch the user's own.
  explicit QSettingsProfile(const std::string& iniPath);
  ~QSettingsProfile() override;
  QSettingsProfile(const QSettingsProfile&) = delete;
  QSettingsProfile& operator=(const QSettingsProfile&) = delete;

  int GetProfileInt(const std::string& section, const std::string& name, int defaultValue) override;
  std::string GetProfileString(const std::string& section, const std::string& name,
                               const std::string& defaultValue) override;
  void WriteProfileInt(const std::string& section, const std::string& name, int value) override;
  void WriteProfileString(const std::string& section, const std::string& name, const std::string& value) override;

  bool HasAnyValue() override;
  bool HasSection(const std::string& section) override;
  bool HasValue(const std::string& section, const std::string& name) override;
  std::optional<int> FindInt(const std::string& section, const std::string& name) override;
  std::optional<std::string> FindString(const std::string& section, const std::string& name) override;
  void DeleteValue(const std::string& section, const std::string& name) override;
  void DeleteSection(const std::string& section) override;
  void DeleteAll() override;
  bool Commit() override;

  std::string Location() const override;

 private:
  struct Resolved;
  Resolved ResolveSection(const std::string& section) const;
  Resolved ResolveValue(const std::string& section, const std::string& name) const;

  std::unique_ptr<QSettings> settings_;
};
