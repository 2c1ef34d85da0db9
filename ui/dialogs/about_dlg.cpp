#include "ui/dialogs/about_dlg.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "messages/companion_mode.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "ui/dialogs/companion_dlg.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/kiv_icons.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"

CAboutDlg::CAboutDlg(CompanionMode& mode, std::function<void()> modeChanged, QWidget* parent)
    : QDialog(parent), mode_(mode), modeChanged_(std::move(modeChanged)) {
  setObjectName(IdName(ids::kDlgAbout));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setFont(DialogFont());

  auto* icon = new QLabel(this);
  icon->setObjectName(IdName(ids::kCtlAboutIcon));
  icon->setPixmap(KivPixmap(mode_.m_nCompanionType != 0 ? ids::kIconCompanion : ids::kIconProgram).scaled(32, 32));
  icon->setAlignment(Qt::AlignTop);
  auto* title = new QLabel(Qs(mode_.m_strTitle), this);
  title->setObjectName(IdName(ids::kCtlAboutTitle));
  auto* notice = new QLabel(Qs(KivString(CompanionId(mode_, ids::kStrAboutNotice))), this);
  notice->setObjectName(IdName(ids::kCtlAboutNotice));

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(notice);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->setCenterButtons(true);
  ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok_->setObjectName(QStringLiteral("OK"));
  ok_->setDefault(true);
  ok_->installEventFilter(this);
  connect(ok_, &QPushButton::clicked, this, &CAboutDlg::OnOk);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

// The keys held are those of the click or key that pressed OK; when OK
// was pressed another way (Enter on the dialog), the desktop is asked.
bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ok_) {
    switch (event->type()) {
      case QEvent::MouseButtonRelease: pressModifiers_ = static_cast<QMouseEvent*>(event)->modifiers(); break;
      case QEvent::KeyPress:
      case QEvent::KeyRelease: pressModifiers_ = static_cast<QKeyEvent*>(event)->modifiers(); break;
      default: break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CAboutDlg::OnOk() {
  const Qt::KeyboardModifiers held = pressModifiers_.value_or(QGuiApplication::queryKeyboardModifiers());
  pressModifiers_.reset();
  if ((held & Qt::ControlModifier) && (held & Qt::ShiftModifier)) {
    CCompanionDlg companion(BeginCompanionDialog(mode_), this);
    if (ExecModal(companion) == QDialog::Accepted) {
      ApplyCompanionChoice(mode_, companion.choice());
      if (modeChanged_) modeChanged_();
    }
  }
  accept();
}
