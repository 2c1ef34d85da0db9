#include "ui/dialogs/split_multi_dlg.h"

#include <QGridLayout>
#include <QLineEdit>

#include "commands/split_dialog_logic.h"
#include "resources/ids.h"

CSplitMultiDlg::CSplitMultiDlg(SplitMultiValues& values, Messenger& messenger, QWidget* parent)
    : SplitDialogBase({ids::kDlgSplitMulti, ids::kCtlMultiKind, ids::kCtlMultiNumber, ids::kCtlMultiCutMethod,
                       ids::kCtlMultiStepMethod, ids::kCtlMultiArchiveForm, ids::kCtlMultiSerialForm},
                      QStringLiteral("ログの分割(MULTI)"), QStringLiteral("指定発言数以上残る1000の倍数の番号で分割"),
                      messenger, parent),
      v_(values) {
  auto* grid = new QGridLayout(this);
  AddSharedControls(grid, 0);
  ShowValues();
}

void CSplitMultiDlg::ShowValues() { ShowChoices(v_); }

bool CSplitMultiDlg::ReadValues() { return ReadChoices(v_); }

void CSplitMultiDlg::OnFirstMethod() {
  ChooseFirstMethod(v_);
  ShowValues();
}

void CSplitMultiDlg::OnSecondMethod() {
  if (!ReadValues()) return;
  ChooseSecondMethod(v_);
  ShowValues();
}

void CSplitMultiDlg::OnOk() {
  if (!ReadValues()) return;
  numberField()->setFocus();
  if (CheckMultiOk(v_, messenger()) == DialogOk::Close) accept();
}
