#include "regconv/layout_conversion.h"

#include <initializer_list>

#include "resources/settings_keys.h"

namespace {

std::uint32_t ReadNumber(SettingsStore& store, const char* section, const std::string& name,
                         std::uint32_t missing = 0) {
  std::optional<int> v = store.FindInt(section, name);
  return v ? static_cast<std::uint32_t>(*v) : missing;
}

std::string ColumnName(int i) { return settings::kOldColumnPrefix + std::to_string(i); }

// Unsigned decimal numbers joined by colons.
std::string JoinNumbers(std::initializer_list<std::uint32_t> numbers) {
  std::string out;
  for (std::uint32_t n : numbers) {
    if (!out.empty()) out += ':';
    out += std::to_string(n);
  }
  return out;
}

}  // namespace

OldLayout ReadOldLayout(SettingsStore& store) {
  OldLayout old;
  old.show = ReadNumber(store, settings::kSetting, settings::kOldShow, 1);
  old.top = ReadNumber(store, settings::kSetting, settings::kOldTop);
  old.left = ReadNumber(store, settings::kSetting, settings::kOldLeft);
  old.height = ReadNumber(store, settings::kSetting, settings::kOldHeight);
  old.width = ReadNumber(store, settings::kSetting, settings::kOldWidth);
  for (int i = 0; i < 6; ++i) old.columns[i] = ReadNumber(store, settings::kSetting, ColumnName(i));
  old.viewCol = ReadNumber(store, settings::kSetting, settings::kOldViewCol);
  old.viewRow = ReadNumber(store, settings::kSetting, settings::kOldViewRow);
  old.arcType = static_cast<std::int32_t>(ReadNumber(store, settings::kOldInt, settings::kArcType));
  old.logFolder = store.GetProfileString(settings::kOldStrings, settings::kLogFolder, "");
  old.exeFile = store.GetProfileString(settings::kOldStrings, settings::kExeFile, "");
  old.exeOptions = store.GetProfileString(settings::kOldStrings, settings::kExeOptions, "");
  return old;
}

std::string ComposeWindowPlace(const OldLayout& old) {
  // Sums wrap as the 32-bit numbers they are stored as.
  return JoinNumbers({old.show, old.top, old.left, old.top + old.height, old.left + old.width});
}

std::string ComposeView(const OldLayout& old) { return JoinNumbers({old.viewCol, old.viewRow}); }

std::string ComposeCols(const OldLayout& old) {
  const std::uint32_t* c = old.columns;
  return JoinNumbers({c[0], c[1], c[2], c[3], c[4], c[5]});
}

std::string WithoutTrailingBackslash(const std::string& folder) {
  // The texts are UTF-8, where a backslash byte is always the character
  // itself, never the second byte of a double-byte one.
  if (!folder.empty() && folder.back() == '\\') return folder.substr(0, folder.size() - 1);
  return folder;
}

void MoveToPresentLayout(SettingsStore& store, const OldLayout& old) {
  store.WriteProfileString(settings::kSetting, settings::kLogFolder, WithoutTrailingBackslash(old.logFolder));
  store.WriteProfileInt(settings::kSetting, settings::kArcType, old.arcType);
  store.WriteProfileString(settings::kSetting, settings::kWindowPlace, ComposeWindowPlace(old));
  store.WriteProfileString(settings::kSetting, settings::kView, ComposeView(old));
  store.WriteProfileString(settings::kSetting, settings::kCols, ComposeCols(old));

  store.WriteProfileString(settings::kShell, settings::kExeFile, old.exeFile);
  store.WriteProfileString(settings::kShell, settings::kExeOptions, old.exeOptions);

  for (const char* name :
       {settings::kOldShow, settings::kOldTop, settings::kOldLeft, settings::kOldWidth, settings::kOldHeight}) {
    store.DeleteValue(settings::kSetting, name);
  }
  for (int i = 0; i < 6; ++i) store.DeleteValue(settings::kSetting, ColumnName(i));
  store.DeleteValue(settings::kSetting, settings::kOldViewCol);
  store.DeleteValue(settings::kSetting, settings::kOldViewRow);

  store.DeleteSection(settings::kOldStrings);
  store.DeleteSection(settings::kOldInt);
}
