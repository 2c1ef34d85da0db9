#include "ui/pane_font_qt.h"

#include <cmath>

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace {

qreal ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

PaneFont PaneFontOf(const QFont& font) {
  PaneFont pane;
  const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                          : static_cast<int>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
  pane.height = -pixels;
  pane.weight = font.weight();
  pane.italic = font.italic() ? 1 : 0;
  pane.underline = font.underline() ? 1 : 0;
  pane.strikeOut = font.strikeOut() ? 1 : 0;
  pane.faceName = font.family().toStdString();
  return pane;
}

QFont FontFromPane(const QFont& base, const PaneFont& pane) {
  QFont font = base;
  if (!pane.faceName.empty()) font.setFamily(QString::fromStdString(pane.faceName));
  if (pane.height != 0 && pane.height != INT32_MIN) font.setPixelSize(std::abs(pane.height));
  if (pane.weight >= 1 && pane.weight <= 1000) font.setWeight(static_cast<QFont::Weight>(pane.weight));
  font.setItalic(pane.italic != 0);
  font.setUnderline(pane.underline != 0);
  font.setStrikeOut(pane.strikeOut != 0);
  return font;
}

std::uint32_t ColorRef(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
         static_cast<std::uint32_t>(color.blue()) << 16;
}

QColor ColorFromRef(std::uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF), static_cast<int>((ref >> 16) & 0xFF));
}

std::uint32_t PaneTextColor(const QWidget& pane) { return ColorRef(pane.palette().color(QPalette::Text)); }
std::uint32_t PaneBackColor(const QWidget& pane) { return ColorRef(pane.palette().color(QPalette::Base)); }

void SetPaneColors(QWidget& pane, std::uint32_t text, std::uint32_t back) {
  QPalette palette = pane.palette();
  if (IsRgbColor(text)) palette.setColor(QPalette::Text, ColorFromRef(text));
  if (IsRgbColor(back)) palette.setColor(QPalette::Base, ColorFromRef(back));
  pane.setPalette(palette);
}
