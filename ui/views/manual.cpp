#include "ui/views/manual.h"

#include <cerrno>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ports/messages.h"
#include "ui/views/help_window.h"

namespace {

std::function<bool(const QUrl&)>& Opener() {
  static std::function<bool(const QUrl&)> opener;
  return opener;
}

}  // namespace

QString ManualPathFrom(const QString& programFolder) {
  const QDir folder(programFolder);
  // Where the installation puts it, relative to the programs so that an
  // installed tree still finds it when moved; the build tree is laid out the same.
  const QString installed = QDir::cleanPath(folder.filePath(QStringLiteral(KIV_MANUAL_FROM_PROGRAM "/Kiv.html")));
  if (QFileInfo::exists(installed)) return installed;
  // A copy that keeps everything in one folder (as on Windows).
  const QString beside = folder.filePath(QStringLiteral("Kiv.html"));
  if (QFileInfo::exists(beside)) return beside;
  return installed;
}

QString ManualPath() { return ManualPathFrom(QCoreApplication::applicationDirPath()); }

void OpenManual(MessagePort& messages, const QString& section, QWidget* owner) {
  const QString path = ManualPath();
  if (!QFileInfo::exists(path)) {
    messages.ReportFileError(QFile::encodeName(path).toStdString(), ENOENT);
    return;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (!section.isEmpty()) url.setFragment(section);
  if (Opener()) {
    Opener()(url);
    return;
  }
  CHelpWindow::Of(owner)->ShowAt(url);
}

void SetManualOpener(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }
