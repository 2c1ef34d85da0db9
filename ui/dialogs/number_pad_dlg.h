#pragma once
#include <QDialog>

#include "ports/dialogs.h"

class QLabel;

// CNumberPadDlg (kDlgNumberPad): an on-screen keypad without a caption bar, so a
// message number can be keyed by mouse alone. OK leaves the number in
// value(); OFF and Esc dismiss it.
class CNumberPadDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CNumberPadDlg(QWidget* parent = nullptr);
  int value() const { return pad_.value; }

 private:
  void Show();

  NumberPadValues pad_;
  QLabel* display_;
};
