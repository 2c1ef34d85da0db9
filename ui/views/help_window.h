#pragma once
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
};
