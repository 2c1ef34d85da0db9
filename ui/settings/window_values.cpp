#include "ui/settings/window_values.h"

#include "ports/profile.h"
#include "resources/settings_keys.h"

namespace {

template <std::size_t N>
std::optional<std::array<std::int32_t, N>> Load(ProfilePort& profile, const char* name, bool defaultsMode) {
  if (defaultsMode) return std::nullopt;
  return ParseWindowValue<N>(profile.GetProfileString(settings::kSetting, name, ""));
}

}  // namespace

std::optional<WindowPlacement> LoadWindowPlacement(ProfilePort& profile, bool defaultsMode) {
  auto fields = Load<5>(profile, settings::kWindowPlace, defaultsMode);
  if (!fields) return std::nullopt;
  const auto& f = *fields;
  return WindowPlacement{f[0], f[1], f[2], f[3], f[4]};
}

void SaveWindowPlacement(ProfilePort& profile, const WindowPlacement& p) {
  profile.WriteProfileString(settings::kSetting, settings::kWindowPlace,
                             FormatWindowValue<5>({p.showState, p.top, p.left, p.bottom, p.right}));
}

std::optional<std::array<std::int32_t, 2>> LoadViewSize(ProfilePort& profile, bool defaultsMode) {
  return Load<2>(profile, settings::kView, defaultsMode);
}

void SaveViewSize(ProfilePort& profile, int width, int height) {
  profile.WriteProfileString(settings::kSetting, settings::kView, FormatWindowValue<2>({width, height}));
}

std::optional<std::array<std::int32_t, 6>> LoadColumnWidths(ProfilePort& profile, bool defaultsMode) {
  return Load<6>(profile, settings::kCols, defaultsMode);
}

void SaveColumnWidths(ProfilePort& profile, const std::array<std::int32_t, 6>& widths) {
  profile.WriteProfileString(settings::kSetting, settings::kCols, FormatWindowValue<6>(widths));
}
