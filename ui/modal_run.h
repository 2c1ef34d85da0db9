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

// QDialog::exec, with the next queued action (if any) run inside it.
int ExecModal(QDialog& dialog);
