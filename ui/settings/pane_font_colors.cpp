#include "ui/settings/pane_font_colors.h"

#include "ports/profile.h"
#include "resources/settings_keys.h"

namespace {
constexpr int kMissing = -1;
}

std::string PaneSection(const std::string& pane) { return std::string(settings::kSetting) + "/" + pane; }

bool LoadPaneFontColors(ProfilePort& profile, bool defaultsMode, PaneFontColors& record, const std::string& pane) {
  if (defaultsMode) return false;
  const std::string section = PaneSection(pane);
  const int height = profile.GetProfileInt(section, settings::kFontSize, kMissing);
  if (height == kMissing) return false;
  record.font.height = height;
  record.font.weight = profile.GetProfileInt(section, settings::kFontWeight, kMissing);
  record.font.italic = profile.GetProfileInt(section, settings::kFontItalic, 0) == 1 ? 1 : 0;
  // The face name is kept whole: the desktop's family names can be longer
  // than the field the stored format once had, and a cut name is no font.
  record.font.faceName = profile.GetProfileString(section, settings::kFontName, "");
  record.textColor = static_cast<std::uint32_t>(profile.GetProfileInt(section, settings::kTextColor, kMissing));
  record.backColor = static_cast<std::uint32_t>(profile.GetProfileInt(section, settings::kBackColor, kMissing));
  return true;
}

bool SavePaneFontColors(ProfilePort& profile, const PaneFontColors& record, const std::string& pane) {
  const std::string section = PaneSection(pane);
  profile.WriteProfileInt(section, settings::kFontSize, record.font.height);
  profile.WriteProfileInt(section, settings::kFontWeight, record.font.weight);
  profile.WriteProfileInt(section, settings::kFontItalic, record.font.italic != 0 ? 1 : 0);
  profile.WriteProfileString(section, settings::kFontName, record.font.faceName);
  if (record.textColor != NoColor) {
    profile.WriteProfileInt(section, settings::kTextColor, static_cast<int>(record.textColor));
    profile.WriteProfileInt(section, settings::kBackColor, static_cast<int>(record.backColor));
  }
  return true;
}
