#include "ui/dialogs/companion_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "resources/ids.h"
#include "ui/qt_support/dialog_buttons.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/qt_text.h"

CCompanionDlg::CCompanionDlg(const CompanionChoice& initial, QWidget* parent) : QDialog(parent) {
  setObjectName(IdName(ids::kDlgCompanion));
  setWindowTitle(QStringLiteral("ひ・み・ちゅ！"));
  setFont(DialogFont());

  on_ = new QCheckBox(QStringLiteral("うおぉぉ～っっ！このモード使わせろ～!(&U)"), this);
  on_->setObjectName(IdName(ids::kCtlCompanionOn));
  on_->setChecked(initial.on);
  name_ = new QLineEdit(Qs(initial.name), this);
  name_->setObjectName(IdName(ids::kCtlCompanionName));
  auto* nameLabel = new QLabel(QStringLiteral("名前はなんて言うの？(&N)"), this);
  nameLabel->setBuddy(name_);
  auto* group = new QGroupBox(QStringLiteral("あなたは‥‥(&S)"), this);
  male_ = new QRadioButton(QStringLiteral("男"), group);
  male_->setObjectName(IdName(ids::kCtlCompanionMale));
  female_ = new QRadioButton(QStringLiteral("女"), group);
  female_->setObjectName(IdName(ids::kCtlCompanionFemale));
  (initial.radio == 1 ? female_ : male_)->setChecked(true);
  auto* radios = new QHBoxLayout(group);
  radios->addWidget(male_);
  radios->addWidget(female_);

  QDialogButtonBox* buttons = MakeOkCancelButtons(this, [this] { accept(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("どうするの？"), this));
  layout->addWidget(on_);
  layout->addWidget(nameLabel);
  layout->addWidget(name_);
  layout->addWidget(group);
  layout->addWidget(buttons);

  connect(on_, &QCheckBox::toggled, this, &CCompanionDlg::EnableFields);
  EnableFields();
}

void CCompanionDlg::EnableFields() {
  const bool on = on_->isChecked();
  name_->setEnabled(on);
  male_->setEnabled(on);
  female_->setEnabled(on);
}

CompanionChoice CCompanionDlg::choice() const {
  return CompanionChoice{on_->isChecked(), Utf8(name_->text()), female_->isChecked() ? 1 : 0};
}
