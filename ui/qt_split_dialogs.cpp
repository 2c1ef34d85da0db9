#include "ui/qt_split_dialogs.h"

#include "ui/modal_run.h"
#include "ui/split_multi_dlg.h"
#include "ui/split_single_dlg.h"

bool QtSplitDialogs::RunSplitSingle(SplitSingleValues& values) {
  CSplitSingleDlg dialog(values, messenger_, owner_);
  return ExecModal(dialog) == QDialog::Accepted;
}

bool QtSplitDialogs::RunSplitMulti(SplitMultiValues& values) {
  CSplitMultiDlg dialog(values, messenger_, owner_);
  return ExecModal(dialog) == QDialog::Accepted;
}
