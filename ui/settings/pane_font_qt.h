#pragma once
#include <cstdint>

#include <QColor>
#include <QFont>

#include "ui/settings/pane_font_colors.h"

class QWidget;

// A widget's font as the settings keep it (its height a character height),
// and back. A negative height is the character height in pixels; a positive
// one the cell height (character height and internal leading, ascent plus
// descent), met as closely as the font's sizes allow. A height or weight the
// record does not give (0, or out of range) keeps the base font's.
PaneFont PaneFontOf(const QFont& font);
QFont FontFromPane(const QFont& base, const PaneFont& pane);

// The pixel size at which font's cell height comes closest to cellHeight
// (the smaller size when two come as close).
int PixelSizeForCellHeight(const QFont& font, int cellHeight);

// 0x00BBGGRR values and colours.
std::uint32_t ColorRef(const QColor& color);
QColor ColorFromRef(std::uint32_t ref);

// A pane's text and background colours as its palette has them.
std::uint32_t PaneTextColor(const QWidget& pane);
std::uint32_t PaneBackColor(const QWidget& pane);
// Sets them, each only when it is a colour (see IsRgbColor).
void SetPaneColors(QWidget& pane, std::uint32_t text, std::uint32_t back);
