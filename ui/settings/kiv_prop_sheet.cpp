#include "ui/settings/kiv_prop_sheet.h"
#include "ui/qt_support/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/qt_support/dialog_font.h"
#include "ui/settings/folder_text.h"
#include "ui/settings/kiv_prop_pages.h"
#include "ui/qt_support/modal_run.h"

CKivPropSheet::CKivPropSheet(Messenger& messenger, const SheetSettings& settings, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CKivPropSheet"));
  setWindowTitle(QStringLiteral("設定"));
  setFont(DialogFont());
  page1_ = new CKivPropPage1(messenger, this);
  page2_ = new CKivPropPage2(messenger, this);
  storedBackUp_ = settings.document.backUp;
  FolderPageFields folder;
  folder.folder = settings.document.logFolder;
  folder.backUpPerGeneration = settings.document.backUp != 0;
  folder.checkListAtStart = settings.checkListAtStart;
  page1_->SetFields(folder);
  page2_->SetFields(settings.document.exeFile, settings.document.exeOpt);

  tabs_ = new QTabWidget(this);
  tabs_->addTab(page1_, QStringLiteral("フォルダ"));
  tabs_->addTab(page2_, QStringLiteral("外部起動"));
  connect(tabs_, &QTabWidget::currentChanged, this, &CKivPropSheet::OnTabChanged);

  QDialogButtonBox* buttons = MakeOkCancelButtons(this, [this] { OnOk(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

// The page being left is checked after the tab has already turned; a failed
// check turns it back, so the user stays where the fault is.
void CKivPropSheet::OnTabChanged(int index) {
  if (turningBack_) return;
  const bool passed = activePage_ == 0 ? page1_->OnKillActive() : page2_->OnKillActive();
  if (passed) {
    activePage_ = index;
    return;
  }
  turningBack_ = true;
  tabs_->setCurrentIndex(activePage_);
  turningBack_ = false;
  // The focus went back to the edit at fault before the tab turned back.
  if (activePage_ == 0)
    page1_->FocusFolderEdit();
  else
    page2_->FocusProgramEdit();
}

void CKivPropSheet::OnOk() {
  const bool passed = activePage_ == 0 ? page1_->OnKillActive() : page2_->OnKillActive();
  if (passed) accept();
}

bool CKivPropSheet::Run() {
  // The folder the page was filled with is the one a change is measured from.
  page1_->fields().openingFolder = page1_->fields().folder;
  if (ExecModal(*this) != QDialog::Accepted) return false;
  RemoveTrailingSeparators(page1_->fields().folder);
  return true;
}

SheetSettings CKivPropSheet::Result() const {
  SheetSettings out;
  const FolderPageFields& folder = page1_->fields();
  out.document.logFolder = folder.folder;
  // A mode the check box did not change keeps its stored number.
  const bool storedOn = storedBackUp_ != 0;
  out.document.backUp = folder.backUpPerGeneration == storedOn ? storedBackUp_ : folder.backUpPerGeneration ? 1 : 0;
  out.document.exeFile = page2_->program();
  out.document.exeOpt = page2_->options();
  out.checkListAtStart = folder.checkListAtStart;
  return out;
}
