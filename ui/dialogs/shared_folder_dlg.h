#pragma once
#include <string>

#include <QDialog>

class MessagePort;
class ProfilePort;
class QLineEdit;

// CSharedFolderDlg (kDlgSharedFolder, "共有ログフォルダの設定"): asks for the shared log
// folder at a start with none stored, before the companion settings are
// read, so it speaks in the normal voice. No Cancel button: Esc or the
// close box end it without a folder.
class CSharedFolderDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CSharedFolderDlg(MessagePort& port, QWidget* parent = nullptr);
  const std::string& folder() const { return folder_; }

  // Shows the dialog; the chosen folder, or an empty text when it was
  // dismissed without OK.
  std::string Run();

 private:
  void OnOk();
  void Browse();

  MessagePort& port_;
  std::string folder_;
  QLineEdit* edit_;
};

// Start-up with no shared log folder stored: asks for one and stores it in
// "Setting"/"LOGFILE" on OK. Dismissed, nothing is stored and the run goes
// on with no folder. Nothing is asked when a folder is stored.
void AskSharedFolderWhenNoneStored(ProfilePort& profile, MessagePort& port);
