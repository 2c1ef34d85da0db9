#include "checker/checker_icon.h"

#include <QPainter>
#include <QPen>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal u = size / 16.0;
  // The sheet of the archive list.
  p.setPen(QPen(QColor(64, 64, 64), u));
  p.setBrush(QColor(255, 255, 240));
  p.drawRect(QRectF(2 * u, 1 * u, 10 * u, 14 * u));
  p.setPen(QPen(QColor(96, 96, 160), u));
  for (int row = 0; row < 4; ++row) {
    qreal y = (4 + 3 * row) * u;
    p.drawLine(QPointF(4 * u, y), QPointF(10 * u, y));
  }
  // The check mark of a list brought in line.
  p.setPen(QPen(QColor(0, 150, 0), 2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(8 * u, 10 * u), QPointF(10.5 * u, 13 * u), QPointF(15 * u, 6 * u)}));
  return pixmap;
}

}  // namespace

QIcon CheckerIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(DrawIcon(size));
  return icon;
}
