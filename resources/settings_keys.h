#pragma once

// Where Kiv keeps its settings: every section and value name, spelt once for
// Kiv, TORBLEN (which reads the shared log folder) and MIRVASTO (which moves
// older releases' settings here). Plain C++, so kiv-batch's core may use it
// without any desktop code.
namespace settings {

// ---- Sections --------------------------------------------------------------
inline constexpr char kSetting[] = "Setting";
inline constexpr char kShell[] = "Shell";    // the external program
inline constexpr char kSecret[] = "Secret";  // the companion's mode
// A pane's font and colours live in kSetting's subsection named after it.
inline constexpr char kListPane[] = "List";
inline constexpr char kTreePane[] = "Tree";

// ---- Values of kSetting ----------------------------------------------------
inline constexpr char kLogFolder[] = "LOGFILE";
inline constexpr char kBackUp[] = "BackUp";
inline constexpr char kArcType[] = "ArcType";
inline constexpr char kSepMethod[] = "SepMethod";
inline constexpr char kSort[] = "Sort";
inline constexpr char kCheckList[] = "ChkList";
inline constexpr char kWindowPlace[] = "WindowPlace";
inline constexpr char kView[] = "View";
inline constexpr char kCols[] = "Cols";
// The forum folder chosen when Kiv last closed (its path), chosen again at
// start; a value of Kiv's own that MIRVASTO leaves alone.
inline constexpr char kLastForum[] = "LastForum";

// ---- Values of kShell ------------------------------------------------------
inline constexpr char kExeFile[] = "ExeFile1";
inline constexpr char kExeOptions[] = "ExeOpt1";

// ---- Values of kSecret -----------------------------------------------------
inline constexpr char kCompanionType[] = "Type";
inline constexpr char kUserName[] = "Name";

// ---- Values of a pane's section --------------------------------------------
inline constexpr char kFontSize[] = "FontSize";
inline constexpr char kFontWeight[] = "FontWeight";
inline constexpr char kFontItalic[] = "FontItalic";
inline constexpr char kFontName[] = "FontName";
inline constexpr char kTextColor[] = "TxtColor";
inline constexpr char kBackColor[] = "BkColor";

// ---- The layout of releases up to 1.21, which MIRVASTO converts ------------
inline constexpr char kOldStrings[] = "Strings";  // the texts: kLogFolder, kExeFile, kExeOptions
inline constexpr char kOldInt[] = "Int";          // kArcType
// The old window values of kSetting.
inline constexpr char kOldShow[] = "show";
inline constexpr char kOldTop[] = "y";
inline constexpr char kOldLeft[] = "x";
inline constexpr char kOldHeight[] = "height";
inline constexpr char kOldWidth[] = "width";
inline constexpr char kOldColumnPrefix[] = "Col";  // Col0 to Col5
inline constexpr char kOldViewCol[] = "ViewCol";
inline constexpr char kOldViewRow[] = "ViewRow";

}  // namespace settings
