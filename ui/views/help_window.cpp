#include "ui/views/help_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>

#include "ui/qt_support/screen_fit.h"

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

namespace {

// Closed from the keyboard as a viewer is.
bool ClosesHelp(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) ||
         (key.key() == Qt::Key_W && key.modifiers() == Qt::ControlModifier);
}

}  // namespace

bool CHelpWindow::event(QEvent* event) {
  // Taken before the main window's shortcuts see them: Esc there ends Kiv.
  if (event->type() == QEvent::ShortcutOverride && ClosesHelp(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QTextBrowser::event(event);
}

void CHelpWindow::keyPressEvent(QKeyEvent* event) {
  if (ClosesHelp(*event)) {
    close();
    return;
  }
  QTextBrowser::keyPressEvent(event);
}

void CHelpWindow::ShowAt(const QUrl& url) {
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  if (source().adjusted(QUrl::RemoveFragment) != page) setSource(page);
  if (url.hasFragment())
    scrollToAnchor(url.fragment());
  else
    verticalScrollBar()->setValue(0);
  if (!isVisible()) {
    // Beside the main window each time it opens, never where the window
    // system happens to put it; a window of the main window's, kept above it.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (owner && screen) setGeometry(HelpWindowPlacement(owner->frameGeometry(), size(), screen->availableGeometry()));
  }
  show();
  raise();
  activateWindow();
}

QRect HelpWindowPlacement(const QRect& ownerFrame, QSize size, const QRect& available) {
  size = size.boundedTo(available.size());
  int x = ownerFrame.right() + 1;
  if (x + size.width() > available.right() + 1) {
    x = ownerFrame.left() - size.width();
    if (x < available.left()) x = available.right() + 1 - size.width();
  }
  return FitWithin(QRect(QPoint(x, ownerFrame.top()), size), available);
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
