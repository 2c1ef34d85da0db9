#pragma once
#include <functional>

class QDialog;

// Every modal dialog of Kiv is run through ExecModal, so GUI tests can act
// on the real dialog while it is open: a queued action runs once the
// dialog's own event loop has started, and must end the dialog (accept,
// reject, or a click on one of its buttons).
using ModalAction = std::function<void(QDialog&)>;

void QueueModalAction(ModalAction action);
int QueuedModalActions();
void ClearModalActions();
// The action for a dialog that opens with nothing queued (tests set one
// that notes the dialog and dismisses it, so no test waits on a window).
void SetFallbackModalAction(ModalAction action);

// QDialog::exec, with the next queued action (if any) run inside it.
int ExecModal(QDialog& dialog);
