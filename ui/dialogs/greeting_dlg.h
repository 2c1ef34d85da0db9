#pragma once
#include <QDialog>

// CGreetingDlg (kDlgGreeting): the companion's greeting to a user who reads one of
// her home forums, until the companion settings are stored.
class CGreetingDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CGreetingDlg(QWidget* parent = nullptr);
};
