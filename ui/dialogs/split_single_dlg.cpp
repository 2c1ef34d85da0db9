#include "ui/dialogs/split_single_dlg.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "commands/split_dialog_logic.h"
#include "resources/ids.h"
#include "ui/qt_support/qt_text.h"

namespace {

QLabel* Static(int id, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(IdName(id));
  return label;
}

}  // namespace

CSplitSingleDlg::CSplitSingleDlg(SplitSingleValues& values, Messenger& messenger, DecisionPort& decisions,
                                 QWidget* parent)
    : SplitDialogBase({ids::kDlgSplitSingle, ids::kCtlSingleKind, ids::kCtlSingleNumber, ids::kCtlSingleCutMethod,
                       ids::kCtlSingleStepMethod, ids::kCtlSingleArchiveForm, ids::kCtlSingleSerialForm},
                      QStringLiteral("ログの分割(SINGLE)"), QStringLiteral("指定番号以前のログを旧ログとして分割"),
                      messenger, parent),
      v_(values),
      decisions_(decisions) {
  bodyFile_ = Static(ids::kCtlBodyFile, this);
  bodyRange_ = Static(ids::kCtlBodyRange, this);
  titleFile_ = Static(ids::kCtlTitleFile, this);
  titleRange_ = Static(ids::kCtlTitleRange, this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("ファイル名"), this), 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("本文 :"), this), 1, 0);
  grid->addWidget(bodyFile_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("ﾀｲﾄﾙ :"), this), 2, 0);
  grid->addWidget(titleFile_, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("発言範囲"), this), 3, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("本文 :"), this), 4, 0);
  grid->addWidget(bodyRange_, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("ﾀｲﾄﾙ :"), this), 5, 0);
  grid->addWidget(titleRange_, 5, 1);
  AddSharedControls(grid, 6);

  ShowValues();
}

void CSplitSingleDlg::ShowValues() {
  bodyFile_->setText(Qs(v_.m_strBodyFile));
  bodyRange_->setText(Qs(v_.m_strBodyRange));
  titleFile_->setText(Qs(v_.m_strTitleFile));
  titleRange_->setText(Qs(v_.m_strTitleRange));
  ShowChoices(v_.choices);
}

bool CSplitSingleDlg::ReadValues() { return ReadChoices(v_.choices); }

// The list holds only the kinds the room has logs of, from the moment the
// user turns to it; it opens with the Down arrow key as well.
void CSplitSingleDlg::FillKindList() {
  QComboBox* list = kindList();
  list->clear();
  for (int k : KindListEntries(v_.m_nFilesPresent)) list->addItem(Qs(KindListText(k)), k);
  ShowKind(KindListSelection(v_.m_nFilesPresent));
}

bool CSplitSingleDlg::eventFilter(QObject* watched, QEvent* event) {
  // The focus coming back from the list's own drop-down is no turn to the
  // list: refilling then would undo the choice just made in it.
  if (watched == kindList() && event->type() == QEvent::FocusIn &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    FillKindList();
  }
  return SplitDialogBase::eventFilter(watched, event);
}

void CSplitSingleDlg::OnFirstMethod() {
  ChooseFirstMethod(v_.choices);
  ShowValues();
}

void CSplitSingleDlg::OnSecondMethod() {
  if (!ReadValues()) return;
  ChooseSecondMethod(v_.choices);
  ShowValues();
}

void CSplitSingleDlg::OnOk() {
  if (!ReadValues()) return;
  numberField()->setFocus();
  if (CheckSingleOk(v_, messenger(), decisions_) == DialogOk::Close) accept();
}
