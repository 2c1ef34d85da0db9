#pragma once
#include <string>

#include <QWidget>

#include "ui/settings/settings_checks.h"

class Messenger;
class QCheckBox;
class QLineEdit;

// CKivPropPage1 (kDlgFolderPage, "フォルダ"): the shared log folder, the backup per
// generation and the checker at start-up.
class CKivPropPage1 : public QWidget {
  Q_OBJECT

 public:
  CKivPropPage1(Messenger& messenger, QWidget* parent = nullptr);

  // Sets the controls from the fields.
  void SetFields(const FolderPageFields& fields);
  const FolderPageFields& fields() const { return fields_; }
  FolderPageFields& fields() { return fields_; }
  // Leaving the page or OK: reads the controls and checks them; false keeps
  // the user on the page with the folder edit focused.
  bool OnKillActive();
  // The "参照(&F)" button.
  void BrowseSharedFolder();
  // The folder edit focused with its whole text selected.
  void FocusFolderEdit();

 private:
  void ReadControls();

  Messenger& messenger_;
  FolderPageFields fields_;
  QLineEdit* folderEdit_;
  QCheckBox* backUp_;
  QCheckBox* checkList_;
};

// CKivPropPage2 (kDlgLaunchPage, "外部起動"): the external program and its options.
class CKivPropPage2 : public QWidget {
  Q_OBJECT

 public:
  CKivPropPage2(Messenger& messenger, QWidget* parent = nullptr);

  void SetFields(const std::string& program, const std::string& options);
  const std::string& program() const { return program_; }
  const std::string& options() const { return options_; }
  bool OnKillActive();
  // The "参照(&F)" button.
  void ChooseProgram();
  void FocusProgramEdit();

 private:
  void ReadControls();

  Messenger& messenger_;
  std::string program_;
  std::string options_;
  QLineEdit* programEdit_;
  QLineEdit* optionsEdit_;
};
