#include "ui/qt_support/modal_run.h"

#include <deque>

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace {

std::deque<ModalAction>& Queue() {
  static std::deque<ModalAction> queue;
  return queue;
}

ModalAction& Fallback() {
  static ModalAction fallback;
  return fallback;
}

}  // namespace

void SetFallbackModalAction(ModalAction action) { Fallback() = std::move(action); }

void QueueModalAction(ModalAction action) { Queue().push_back(std::move(action)); }

int QueuedModalActions() { return static_cast<int>(Queue().size()); }

void ClearModalActions() { Queue().clear(); }

int ExecModal(QDialog& dialog) {
  ModalAction action;
  if (!Queue().empty()) {
    action = std::move(Queue().front());
    Queue().pop_front();
  } else {
    action = Fallback();
  }
  if (action) {
    QPointer<QDialog> target(&dialog);
    QTimer::singleShot(0, &dialog, [target, action = std::move(action)] {
      if (target) action(*target);
    });
  }
  return dialog.exec();
}
