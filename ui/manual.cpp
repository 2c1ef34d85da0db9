#include "ui/manual.h"

#include <cerrno>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "ports/messages.h"

namespace {

std::function<bool(const QUrl&)>& Opener() {
  static std::function<bool(const QUrl&)> opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return opener;
}

}  // namespace

QString ManualPath() { return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Kiv.html")); }

void OpenManual(MessagePort& messages, const QString& section) {
  const QString path = ManualPath();
  if (!QFileInfo::exists(path)) {
    messages.ReportFileError(QFile::encodeName(path).toStdString(), ENOENT);
    return;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (!section.isEmpty()) url.setFragment(section);
  Opener()(url);
}

void SetManualOpener(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }
