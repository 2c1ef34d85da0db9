#include "regconv/layout_conversion.h"

#include <initializer_list>

namespace {

constexpr const char* kSetting = "Setting";
constexpr const char* kStrings = "Strings";
constexpr const char* kInt = "Int";
constexpr const char* kShell = "Shell";

std::uint32_t ReadNumber(SettingsStore& store, const char* section, const std::string& name,
                         std::uint32_t missing = 0) {
  std::optional<int> v = store.FindInt(section, name);
  return v ? static_cast<std::uint32_t>(*v) : missing;
}

std::string ColumnName(int i) { return "Col" + std::to_string(i); }

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
  old.show = ReadNumber(store, kSetting, "show", 1);
  old.top = ReadNumber(store, kSetting, "y");
  old.left = ReadNumber(store, kSetting, "x");
  old.height = ReadNumber(store, kSetting, "height");
  old.width = ReadNumber(store, kSetting, "width");
  for (int i = 0; i < 6; ++i) old.columns[i] = ReadNumber(store, kSetting, ColumnName(i));
  old.viewCol = ReadNumber(store, kSetting, "ViewCol");
  old.viewRow = ReadNumber(store, kSetting, "ViewRow");
  old.arcType = static_cast<std::int32_t>(ReadNumber(store, kInt, "ArcType"));
  old.logFolder = store.GetProfileString(kStrings, "LOGFILE", "");
  old.exeFile = store.GetProfileString(kStrings, "ExeFile1", "");
  old.exeOptions = store.GetProfileString(kStrings, "ExeOpt1", "");
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
  store.WriteProfileString(kSetting, "LOGFILE", WithoutTrailingBackslash(old.logFolder));
  store.WriteProfileInt(kSetting, "ArcType", old.arcType);
  store.WriteProfileString(kSetting, "WindowPlace", ComposeWindowPlace(old));
  store.WriteProfileString(kSetting, "View", ComposeView(old));
  store.WriteProfileString(kSetting, "Cols", ComposeCols(old));

  store.WriteProfileString(kShell, "ExeFile1", old.exeFile);
  store.WriteProfileString(kShell, "ExeOpt1", old.exeOptions);

  for (const char* name : {"show", "y", "x", "width", "height"}) store.DeleteValue(kSetting, name);
  for (int i = 0; i < 6; ++i) store.DeleteValue(kSetting, ColumnName(i));
  store.DeleteValue(kSetting, "ViewCol");
  store.DeleteValue(kSetting, "ViewRow");

  store.DeleteSection(kStrings);
  store.DeleteSection(kInt);
}
