#include "ui/pane_font_colors.h"

#include "ports/profile.h"

namespace {
constexpr int kMissing = -1;
}

std::string PaneSection(const std::string& pane) { return "Setting/" + pane; }

bool LoadPaneFontColors(ProfilePort& profile, bool defaultsMode, PaneFontColors& record, const std::string& pane) {
  if (defaultsMode) return false;
  const std::string section = PaneSection(pane);
  const int height = profile.GetProfileInt(section, "FontSize", kMissing);
  if (height == kMissing) return false;
  record.font.height = height;
  record.font.weight = profile.GetProfileInt(section, "FontWeight", kMissing);
  record.font.italic = profile.GetProfileInt(section, "FontItalic", 0) == 1 ? 1 : 0;
  // The face name is kept whole: the desktop's family names can be longer
  // than the field the stored format once had, and a cut name is no font.
  record.font.faceName = profile.GetProfileString(section, "FontName", "");
  record.textColor = static_cast<std::uint32_t>(profile.GetProfileInt(section, "TxtColor", kMissing));
  record.backColor = static_cast<std::uint32_t>(profile.GetProfileInt(section, "BkColor", kMissing));
  return true;
}

bool SavePaneFontColors(ProfilePort& profile, const PaneFontColors& record, const std::string& pane) {
  const std::string section = PaneSection(pane);
  profile.WriteProfileInt(section, "FontSize", record.font.height);
  profile.WriteProfileInt(section, "FontWeight", record.font.weight);
  profile.WriteProfileInt(section, "FontItalic", record.font.italic != 0 ? 1 : 0);
  profile.WriteProfileString(section, "FontName", record.font.faceName);
  if (record.textColor != NoColor) {
    profile.WriteProfileInt(section, "TxtColor", static_cast<int>(record.textColor));
    profile.WriteProfileInt(section, "BkColor", static_cast<int>(record.backColor));
  }
  return true;
}
