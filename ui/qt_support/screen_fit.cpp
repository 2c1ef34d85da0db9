#include "ui/qt_support/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

QRect FitWithin(const QRect& r, const QRect& available) {
  const QSize size = r.size().boundedTo(available.size());
  const int x = std::clamp(r.x(), available.left(), available.right() + 1 - size.width());
  const int y = std::clamp(r.y(), available.top(), available.bottom() + 1 - size.height());
  return QRect(QPoint(x, y), size);
}

QRect AvailableAreaFor(const QRect& r) {
  const QScreen* screen = QGuiApplication::screenAt(r.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : r;
}
