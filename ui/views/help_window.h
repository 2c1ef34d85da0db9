#pragma once
#include <QRect>
#include <QTextBrowser>
#include <QUrl>

// The program's own help window: the manual shipped beside the program in a
// text browser, its links and pictures followed within it (links that leave
// the manual go to the desktop's browser). One per main window; the help
// commands bring it forward at their section.
class CHelpWindow : public QTextBrowser {
  Q_OBJECT

 public:
  explicit CHelpWindow(QWidget* owner);

  // Shows the page at url (its fragment names the section), raised.
  void ShowAt(const QUrl& url);

  // The help window of owner, made on first use.
  static CHelpWindow* Of(QWidget* owner);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// Where the help window opens: beside the main window's frame (right of it,
// else left of it), the same height up, moved and shrunk so that it lies
// whole within the screen's available area; over the main window only when
// neither side has room.
QRect HelpWindowPlacement(const QRect& ownerFrame, QSize size, const QRect& available);
