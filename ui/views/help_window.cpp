#include "ui/views/help_window.h"

#include <QScrollBar>

namespace {
const char kObjectName[] = "HelpWindow";
}

CHelpWindow::CHelpWindow(QWidget* owner) : QTextBrowser(owner) {
  setObjectName(QString::fromLatin1(kObjectName));
  // A window of its own that closes with the main window, so it neither
  // hides behind a modal dialog's owner nor keeps the program running.
  setWindowFlag(Qt::Window, true);
  setOpenExternalLinks(true);
  setOpenLinks(true);
  resize(640, 560);
  connect(this, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = documentTitle();
    if (!title.isEmpty()) setWindowTitle(title);
  });
}

void CHelpWindow::ShowAt(const QUrl& url) {
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  if (source().adjusted(QUrl::RemoveFragment) != page) setSource(page);
  if (url.hasFragment()) scrollToAnchor(url.fragment());
  else verticalScrollBar()->setValue(0);
  show();
  raise();
  activateWindow();
}

CHelpWindow* CHelpWindow::Of(QWidget* owner) {
  if (owner) {
    if (auto* existing = owner->findChild<CHelpWindow*>(QString::fromLatin1(kObjectName), Qt::FindDirectChildrenOnly)) {
      return existing;
    }
  }
  auto* window = new CHelpWindow(owner);
  if (!owner) window->setAttribute(Qt::WA_DeleteOnClose);
  return window;
}
