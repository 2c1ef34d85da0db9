#pragma once
#include <cstdint>
#include <string>

#include "profile/settings_store.h"

// The settings of releases up to 1.21: "Strings" (texts), "Int" (the
// output form) and the window values of "Setting". A number that is missing
// is 0, except the show state, which is 1 (a normal window).
struct OldLayout {
  std::string logFolder;   // "Strings"/"LOGFILE", maybe with a trailing backslash
  std::string exeFile;     // "Strings"/"ExeFile1"
  std::string exeOptions;  // "Strings"/"ExeOpt1"
  std::int32_t arcType = 0;
  std::uint32_t show = 1;
  std::uint32_t top = 0, left = 0, height = 0, width = 0;
  std::uint32_t columns[6] = {};
  std::uint32_t viewCol = 0, viewRow = 0;
};

OldLayout ReadOldLayout(SettingsStore& store);

// The three composed texts of the present layout, as Kiv reads them back.
std::string ComposeWindowPlace(const OldLayout& old);  // show:top:left:bottom:right
std::string ComposeView(const OldLayout& old);         // tree width:row height
std::string ComposeCols(const OldLayout& old);         // the six widths, column 0 first

// The shared log folder without the one trailing backslash older releases kept.
std::string WithoutTrailingBackslash(const std::string& folder);

// Writes the present layout and removes the old values and sections, in the
// order older settings were always moved; nothing is committed here.
void MoveToPresentLayout(SettingsStore& store, const OldLayout& old);
