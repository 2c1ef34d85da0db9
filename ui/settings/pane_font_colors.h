#pragma once
#include <cstdint>
#include <string>

class ProfilePort;

// A pane's font as the settings keep it: the height (negative: the
// character height in pixels; positive: the cell height), the weight
// (0 to 1000, 400 normal, 700 bold), the italic flag and the face name;
// the other fields are kept as the pane's own font had them.
struct PaneFont {
  std::int32_t height = 0;
  std::int32_t weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::string faceName;
};

// "No colours to store": the tree's colours are fixed.
inline constexpr std::uint32_t NoColor = 0x80000000u;

// A pane's font and colours. Colours are 0x00BBGGRR values; a value with
// any of the top eight bits set is no colour at all (a missing colour reads
// as 0xFFFFFFFF) and the pane keeps its own colour for it.
struct PaneFontColors {
  PaneFont font;
  std::uint32_t textColor = NoColor;
  std::uint32_t backColor = NoColor;
};

inline bool IsRgbColor(std::uint32_t c) { return (c & 0xFF000000u) == 0; }

// The section of a pane: "Setting/List" or "Setting/Tree".
std::string PaneSection(const std::string& pane);

// Reads the stored font and colours of the pane over the record, which holds
// the pane's current ones. False, with the record untouched, in defaults
// mode or when no "FontSize" is stored; a value missing beside "FontSize"
// takes its default (weight -1, colours 0xFFFFFFFF, empty face name).
bool LoadPaneFontColors(ProfilePort& profile, bool defaultsMode, PaneFontColors& record, const std::string& pane);

// Writes the four font values and, unless the text colour is NoColor, the
// two colours.
bool SavePaneFontColors(ProfilePort& profile, const PaneFontColors& record, const std::string& pane);
