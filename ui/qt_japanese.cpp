#include "ui/qt_japanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool LoadQtJapanese(QCoreApplication& app) {
  auto* catalogue = new QTranslator(&app);
  if (!catalogue->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(catalogue)) {
    delete catalogue;
    return false;
  }
  return true;
}
