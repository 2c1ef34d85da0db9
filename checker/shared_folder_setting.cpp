#include "checker/shared_folder_setting.h"

#include "platform/encoding.h"
#include "resources/settings_keys.h"

namespace {
constexpr std::size_t kPathBuffer = 260;  // bytes, terminator included
}

std::optional<std::string> ReadSharedLogFolder(SettingsStore& store) {
  if (!store.HasSection(settings::kSetting)) return std::nullopt;
  std::optional<std::string> folder = store.FindString(settings::kSetting, settings::kLogFolder);
  if (!folder) return std::nullopt;
  // An empty folder is no folder: walking "" would reach the current
  // folder (or a drive's root) and rewrite lists that aren't Kiv's.
  if (folder->empty()) return std::nullopt;
  if (plat::Utf8ToCp932(*folder).size() >= kPathBuffer) return std::nullopt;
  return folder;
}
