#include "ui/settings/kiv_prop_pages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "messages/companion_mode.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "ui/dialogs/folder_browser.h"
#include "ui/qt_support/qt_text.h"

namespace {

QPushButton* BrowseButton(int id, QWidget* parent) {
  auto* button = new QPushButton(QStringLiteral("参照(&F)"), parent);
  button->setObjectName(IdName(id));
  return button;
}

QLineEdit* Edit(int id, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(IdName(id));
  return edit;
}

void FocusAll(QLineEdit* edit) {
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}
}  // namespace

CKivPropPage1::CKivPropPage1(Messenger& messenger, QWidget* parent) : QWidget(parent), messenger_(messenger) {
  setObjectName(IdName(ids::kDlgFolderPage));
  folderEdit_ = Edit(ids::kCtlLogFolder, this);
  QPushButton* browse = BrowseButton(ids::kCtlLogFolderBrowse, this);
  backUp_ = new QCheckBox(QStringLiteral("世代ごとにバックアップログを残す"), this);
  backUp_->setObjectName(IdName(ids::kCtlBackUpPerGeneration));
  checkList_ = new QCheckBox(QStringLiteral("起動時に書庫リストファイルの調整を行う"), this);
  checkList_->setObjectName(IdName(ids::kCtlCheckArchiveList));

  auto* group = new QGroupBox(QStringLiteral("共有ログフォルダ"), this);
  auto* row = new QHBoxLayout;
  row->addWidget(folderEdit_, 1);
  row->addWidget(browse);
  auto* inGroup = new QVBoxLayout(group);
  inGroup->addLayout(row);
  inGroup->addWidget(new QLabel(QStringLiteral("（Ferrowyn で使用している共有ログフォルダを指定）"), group));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(backUp_);
  layout->addWidget(checkList_);
  layout->addStretch(1);
  connect(browse, &QPushButton::clicked, this, &CKivPropPage1::BrowseSharedFolder);
}

void CKivPropPage1::SetFields(const FolderPageFields& fields) {
  fields_ = fields;
  folderEdit_->setText(Qs(fields_.folder));
  backUp_->setChecked(fields_.backUpPerGeneration);
  checkList_->setChecked(fields_.checkListAtStart);
}

void CKivPropPage1::ReadControls() {
  fields_.folder = Utf8(folderEdit_->text());
  fields_.backUpPerGeneration = backUp_->isChecked();
  fields_.checkListAtStart = checkList_->isChecked();
}

bool CKivPropPage1::OnKillActive() {
  const bool backUpBefore = fields_.backUpPerGeneration;
  ReadControls();
  const PageCheck check = CheckFolderPage(messenger_, backUpBefore, fields_);
  // The one separator the check removed shows in the edit too.
  folderEdit_->setText(Qs(fields_.folder));
  if (check == PageCheck::Leave) return true;
  FocusFolderEdit();
  return false;
}

void CKivPropPage1::FocusFolderEdit() { FocusAll(folderEdit_); }
void CKivPropPage2::FocusProgramEdit() { FocusAll(programEdit_); }

void CKivPropPage1::BrowseSharedFolder() {
  const auto chosen =
      ::BrowseSharedFolder(this, Qs(KivString(CompanionId(messenger_.mode(), ids::kStrFolderBrowserTitle))));
  if (!chosen) return;
  // What else the user changed on the page stays as the controls show it.
  ReadControls();
  fields_.folder = Utf8(*chosen);
  SetFields(fields_);
  FocusAll(folderEdit_);
}

CKivPropPage2::CKivPropPage2(Messenger& messenger, QWidget* parent) : QWidget(parent), messenger_(messenger) {
  setObjectName(IdName(ids::kDlgLaunchPage));
  programEdit_ = Edit(ids::kCtlProgram, this);
  QPushButton* browse = BrowseButton(ids::kCtlProgramBrowse, this);
  optionsEdit_ = Edit(ids::kCtlProgramOptions, this);

  auto* group = new QGroupBox(QStringLiteral("外部起動プログラム"), this);
  auto* row = new QHBoxLayout;
  row->addWidget(programEdit_, 1);
  row->addWidget(browse);
  auto* inGroup = new QVBoxLayout(group);
  inGroup->addWidget(new QLabel(QStringLiteral("プログラムファイル"), group));
  inGroup->addLayout(row);
  inGroup->addWidget(new QLabel(QStringLiteral("オプション"), group));
  inGroup->addWidget(optionsEdit_);
  inGroup->addWidget(new QLabel(QStringLiteral("（ %D を作業中のフォルダパスに置換します）"), group));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);
  connect(browse, &QPushButton::clicked, this, &CKivPropPage2::ChooseProgram);
}

void CKivPropPage2::SetFields(const std::string& program, const std::string& options) {
  program_ = program;
  options_ = options;
  programEdit_->setText(Qs(program_));
  optionsEdit_->setText(Qs(options_));
}

void CKivPropPage2::ReadControls() {
  program_ = Utf8(programEdit_->text());
  options_ = Utf8(optionsEdit_->text());
}

bool CKivPropPage2::OnKillActive() {
  ReadControls();
  if (CheckProgramPage(messenger_, program_) == PageCheck::Leave) return true;
  FocusAll(programEdit_);
  return false;
}

void CKivPropPage2::ChooseProgram() {
  const auto chosen = ChooseExternalProgram(this);
  if (!chosen) return;
  ReadControls();
  SetFields(Utf8(*chosen), options_);
  FocusAll(programEdit_);
}
