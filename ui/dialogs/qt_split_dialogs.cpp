#include "ui/dialogs/qt_split_dialogs.h"

#include "ui/qt_support/modal_run.h"
#include "ui/dialogs/split_multi_dlg.h"
#include "ui/dialogs/split_single_dlg.h"

bool QtSplitDialogs::RunSplitSingle(SplitSingleValues& values) {
  CSplitSingleDlg dialog(values, messenger_, decisions_, owner_);
  return ExecModal(dialog) == QDialog::Accepted;
}

bool QtSplitDialogs::RunSplitMulti(SplitMultiValues& values) {
  CSplitMultiDlg dialog(values, messenger_, owner_);
  return ExecModal(dialog) == QDialog::Accepted;
}
