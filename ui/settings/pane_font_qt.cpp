#include "ui/settings/pane_font_qt.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace {

// Beyond this a height is no pane font but a damaged setting.
constexpr int kLargestPixelSize = 4096;

qreal ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

PaneFont PaneFontOf(const QFont& font) {
  PaneFont pane;
  const int pixels =
      font.pixelSize() > 0 ? font.pixelSize() : static_cast<int>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
  pane.height = -pixels;
  pane.weight = font.weight();
  pane.italic = font.italic() ? 1 : 0;
  pane.underline = font.underline() ? 1 : 0;
  pane.strikeOut = font.strikeOut() ? 1 : 0;
  pane.faceName = font.family().toStdString();
  return pane;
}

int PixelSizeForCellHeight(const QFont& font, int cellHeight) {
  auto cellAt = [&font](int pixels) {
    QFont sized = font;
    sized.setPixelSize(pixels);
    const QFontMetrics metrics(sized);
    return metrics.ascent() + metrics.descent();
  };
  // The cell grows with the size: the largest size whose cell still fits,
  // or the next one up when that comes closer. A font's cell is rarely
  // smaller than half its size, which bounds the search.
  int low = 1;
  int high = std::min(cellHeight, kLargestPixelSize / 2) * 2;
  if (cellAt(low) > cellHeight) return low;
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    if (cellAt(middle) <= cellHeight)
      low = middle;
    else
      high = middle - 1;
  }
  if (low < kLargestPixelSize && cellAt(low + 1) - cellHeight < cellHeight - cellAt(low)) return low + 1;
  return low;
}

QFont FontFromPane(const QFont& base, const PaneFont& pane) {
  QFont font = base;
  if (!pane.faceName.empty()) font.setFamily(QString::fromStdString(pane.faceName));
  if (pane.weight >= 1 && pane.weight <= 1000) font.setWeight(static_cast<QFont::Weight>(pane.weight));
  font.setItalic(pane.italic != 0);
  // The cell height depends on the face, weight and style chosen above.
  if (pane.height > 0)
    font.setPixelSize(PixelSizeForCellHeight(font, std::min(pane.height, kLargestPixelSize)));
  else if (pane.height < 0 && pane.height != INT32_MIN)
    font.setPixelSize(-pane.height);
  font.setUnderline(pane.underline != 0);
  font.setStrikeOut(pane.strikeOut != 0);
  return font;
}

std::uint32_t ColorRef(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
         static_cast<std::uint32_t>(color.blue()) << 16;
}

QColor ColorFromRef(std::uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                static_cast<int>((ref >> 16) & 0xFF));
}

std::uint32_t PaneTextColor(const QWidget& pane) { return ColorRef(pane.palette().color(QPalette::Text)); }
std::uint32_t PaneBackColor(const QWidget& pane) { return ColorRef(pane.palette().color(QPalette::Base)); }

void SetPaneColors(QWidget& pane, std::uint32_t text, std::uint32_t back) {
  QPalette palette = pane.palette();
  if (IsRgbColor(text)) palette.setColor(QPalette::Text, ColorFromRef(text));
  if (IsRgbColor(back)) palette.setColor(QPalette::Base, ColorFromRef(back));
  pane.setPalette(palette);
}
