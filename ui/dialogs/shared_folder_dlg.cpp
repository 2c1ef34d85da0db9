#include "ui/dialogs/shared_folder_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ports/profile.h"
#include "resources/ids.h"
#include "resources/settings_keys.h"
#include "resources/string_table.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/dialogs/folder_browser.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/settings/settings_checks.h"

namespace {}

CSharedFolderDlg::CSharedFolderDlg(MessagePort& port, QWidget* parent) : QDialog(parent), port_(port) {
  setObjectName(IdName(ids::kDlgSharedFolder));
  setWindowTitle(QStringLiteral("共有ログフォルダの設定"));
  setFont(DialogFont());
  edit_ = new QLineEdit(this);
  edit_->setObjectName(IdName(ids::kCtlFirstFolder));
  // The browser is not offered here: the folder is typed.
  auto* browse = new QPushButton(QStringLiteral("参照(&F)"), this);
  browse->setObjectName(IdName(ids::kCtlFirstFolderBrowse));
  browse->setEnabled(false);
  connect(browse, &QPushButton::clicked, this, &CSharedFolderDlg::Browse);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CSharedFolderDlg::OnOk);

  auto* row = new QHBoxLayout;
  row->addWidget(edit_, 1);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Ferrowyn で使用している共有ログフォルダを指定してください。"), this));
  layout->addLayout(row);
  layout->addWidget(buttons);
  setMinimumWidth(400);
}

void CSharedFolderDlg::OnOk() {
  std::string folder = Utf8(edit_->text());
  const PageCheck check = CheckFirstRunFolder(port_, folder);
  edit_->setText(Qs(folder));
  if (check != PageCheck::Leave) {
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
    return;
  }
  folder_ = folder;
  accept();
}

void CSharedFolderDlg::Browse() {
  if (auto chosen = BrowseSharedFolder(this, Qs(KivString(ids::kStrFolderBrowserTitle)))) edit_->setText(*chosen);
}

std::string CSharedFolderDlg::Run() {
  folder_.clear();
  return ExecModal(*this) == QDialog::Accepted ? folder_ : std::string();
}

void AskSharedFolderWhenNoneStored(ProfilePort& profile, MessagePort& port) {
  if (!profile.GetProfileString(settings::kSetting, settings::kLogFolder, "").empty()) return;
  CSharedFolderDlg dialog(port);
  const std::string folder = dialog.Run();
  if (!folder.empty()) profile.WriteProfileString(settings::kSetting, settings::kLogFolder, folder);
}
