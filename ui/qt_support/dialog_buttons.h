#pragma once
#include <functional>

class QDialog;
class QDialogButtonBox;

// The "OK" and "ｷｬﾝｾﾙ" buttons every dialog of the program ends with, named
// "OK" and "Cancel" so tests find them. OK is the default button and runs
// onOk (the dialog's own checks, or plain accept); Cancel rejects.
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog, std::function<void()> onOk);
