#include "ui/manual.h"

#include <cerrno>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ports/messages.h"
#include "ui/help_window.h"

namespace {

std::function<bool(const QUrl&)>& Opener() {
  static std::function<bool(const QUrl&)> opener;
  return opener;
}

}  // namespace

QString ManualPath() { return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Kiv.html")); }

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
