#include "ui/qt_support/dialog_font.h"

#include <QFontDatabase>
#include <QStringList>

QFont DialogFont() {
  static const QStringList candidates = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                         QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")};
  const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  for (const QString& name : candidates) {
    if (families.contains(name, Qt::CaseInsensitive)) {
      QFont font(name, 9);
      return font;
    }
  }
  QFont font(QStringLiteral("Sans Serif"), 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}
