#include "ui/qt_support/kiv_icons.h"

#include <QString>

#include "ui/icons/icon_names.h"

// The pictures are built into the static library, whose resource
// initialiser the linker would otherwise leave out. (Q_INIT_RESOURCE must
// be used outside any namespace.)
static void LoadIconResources() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  (void)loaded;
}

QPixmap KivPixmap(int resourceId) {
  LoadIconResources();
  const char* name = IconFileName(resourceId);
  if (!name) return {};
  return QPixmap(QStringLiteral(":/icons/") + QString::fromLatin1(name));
}

QIcon KivIcon(int resourceId) {
  const QPixmap pixmap = KivPixmap(resourceId);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}
