#pragma once
#include <QDialog>

#include "messages/companion_mode.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// CCompanionDlg (kDlgCompanion, "ひ・み・ちゅ！"): whether the companion speaks, the
// user's name and how to address the user. The name and the radio buttons
// can be changed only while the mode is checked.
class CCompanionDlg : public QDialog {
  Q_OBJECT

 public:
  CCompanionDlg(const CompanionChoice& initial, QWidget* parent = nullptr);
  // The fields as the controls show them.
  CompanionChoice choice() const;

 private:
  void EnableFields();

  QCheckBox* on_;
  QLineEdit* name_;
  QRadioButton* male_;
  QRadioButton* female_;
};
