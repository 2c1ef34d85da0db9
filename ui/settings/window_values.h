#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The main window's remembered values in "Setting": "WindowPlace" (show
// state, top, left, bottom, right), "View" (tree width, row height) and
// "Cols" (the six column widths), each as unsigned 32-bit decimals joined by
// ":". A negative coordinate is kept as its two's complement and comes back
// through the same wrap-around.

// Reads text field by field: ":" moves on, any other character c makes the
// field field * 10 + (c - '0') in 32-bit arithmetic. Characters after the
// last field are dropped. Nothing for an empty text.
template <std::size_t N>
std::optional<std::array<std::int32_t, N>> ParseWindowValue(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::array<std::uint32_t, N> fields{};
  std::size_t at = 0;
  for (char c : text) {
    if (c == ':') {
      if (++at == N) break;
      continue;
    }
    fields[at] = fields[at] * 10u + static_cast<std::uint32_t>(static_cast<unsigned char>(c) - '0');
  }
  std::array<std::int32_t, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = static_cast<std::int32_t>(fields[i]);
  return out;
}

template <std::size_t N>
std::string FormatWindowValue(const std::array<std::int32_t, N>& fields) {
  std::string text;
  for (std::size_t i = 0; i < N; ++i) {
    if (i != 0) text += ':';
    text += std::to_string(static_cast<std::uint32_t>(fields[i]));
  }
  return text;
}

// Show states as the placement stores them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

struct WindowPlacement {
  int showState = kShowNormal;
  int top = 0, left = 0, bottom = 0, right = 0;  // the restored rectangle
};

class ProfilePort;

// Each loader gives nothing in defaults mode or when the value is absent.
std::optional<WindowPlacement> LoadWindowPlacement(ProfilePort& profile, bool defaultsMode);
void SaveWindowPlacement(ProfilePort& profile, const WindowPlacement& placement);
std::optional<std::array<std::int32_t, 2>> LoadViewSize(ProfilePort& profile, bool defaultsMode);
void SaveViewSize(ProfilePort& profile, int width, int height);
std::optional<std::array<std::int32_t, 6>> LoadColumnWidths(ProfilePort& profile, bool defaultsMode);
void SaveColumnWidths(ProfilePort& profile, const std::array<std::int32_t, 6>& widths);
