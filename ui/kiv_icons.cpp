#include "ui/kiv_icons.h"

#include <QString>

#include "ui/icons/icon_names.h"

QPixmap KivPixmap(int resourceId) {
  const char* name = IconFileName(resourceId);
  if (!name) return {};
  return QPixmap(QStringLiteral(":/icons/") + QString::fromLatin1(name));
}

QIcon KivIcon(int resourceId) { return QIcon(KivPixmap(resourceId)); }
