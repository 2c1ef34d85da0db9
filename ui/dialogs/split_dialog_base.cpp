#include "ui/dialogs/split_dialog_base.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/split_dialog_logic.h"
#include "messages/companion_mode.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "ui/qt_support/dialog_buttons.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/modal_run.h"
#include "ui/dialogs/number_pad_dlg.h"
#include "ui/qt_support/qt_text.h"

namespace {

constexpr const char kNotAnInteger[] = "整数を入力してください。";
constexpr const char kOutOfRange[] = "0 から 65536 までの整数を入力してください。";

QRadioButton* Radio(QButtonGroup* group, int index, int id, const QString& text, QWidget* parent) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(IdName(id));
  group->addButton(radio, index);
  return radio;
}

}  // namespace

SplitDialogBase::SplitDialogBase(const Ids& ids, const QString& title, const QString& firstMethodText,
                                 Messenger& messenger, QWidget* parent)
    : QDialog(parent), messenger_(messenger) {
  setObjectName(IdName(ids.dialog));
  setWindowTitle(title);
  setFont(DialogFont());

  auto* kindLabel = new QLabel(QStringLiteral("処理するファイル(&F)"), this);
  kinds_ = new QComboBox(this);
  kinds_->setObjectName(IdName(ids.kindList));
  for (int k : {kKindIndexBody, kKindIndexTitle, kKindIndexBoth}) kinds_->addItem(Qs(KindListText(k)), k);
  kindLabel->setBuddy(kinds_);
  kinds_->installEventFilter(this);
  kindLabel_ = kindLabel;

  auto* methodBox = new QGroupBox(QStringLiteral("分割方法(&S)"), this);
  auto* methodLayout = new QVBoxLayout(methodBox);
  methods_ = new QButtonGroup(this);
  auto* first = Radio(methods_, 0, ids.firstMethod, firstMethodText, methodBox);
  auto* second =
      Radio(methods_, 1, ids.secondMethod, QStringLiteral("指定番号の倍数ごとにログを複数の旧ログへ分割"), methodBox);
  methodLayout->addWidget(first);
  methodLayout->addWidget(second);
  auto* numberRow = new QHBoxLayout;
  auto* numberLabel = new QLabel(QStringLiteral("番号指定(&N)"), methodBox);
  number_ = new QLineEdit(methodBox);
  number_->setObjectName(IdName(ids.number));
  number_->setMaxLength(6);
  numberLabel->setBuddy(number_);
  numberRow->addWidget(numberLabel);
  numberRow->addWidget(number_, 1);
  methodLayout->addLayout(numberRow);
  methodBox_ = methodBox;
  numberLabel_ = numberLabel;
  connect(first, &QRadioButton::clicked, this, [this] { OnFirstMethod(); });
  connect(second, &QRadioButton::clicked, this, [this] { OnSecondMethod(); });

  auto* formBox = new QGroupBox(QStringLiteral("出力形式(&P)"), this);
  auto* formLayout = new QVBoxLayout(formBox);
  forms_ = new QButtonGroup(this);
  formLayout->addWidget(Radio(forms_, 0, ids.firstForm, QStringLiteral("書庫形式"), formBox));
  formLayout->addWidget(Radio(forms_, 1, ids.secondForm, QStringLiteral("拡張子連番形式"), formBox));
  formBox_ = formBox;

  QDialogButtonBox* buttons = MakeOkCancelButtons(this, [this] { OnOk(); });
  buttons_ = buttons;
}

void SplitDialogBase::AddSharedControls(QGridLayout* grid, int row) {
  grid->addWidget(kindLabel_, row, 0);
  grid->addWidget(kinds_, row, 1);
  grid->addWidget(methodBox_, row + 1, 0, 1, 2);
  grid->addWidget(formBox_, row + 2, 0, 1, 2);
  grid->addWidget(buttons_, row + 3, 0, 1, 2);
}

void SplitDialogBase::ShowKind(int kindIndex) {
  const int at = kinds_->findData(kindIndex);
  kinds_->setCurrentIndex(at);
}

int SplitDialogBase::ReadKind() const {
  const QVariant chosen = kinds_->currentData();
  return chosen.isValid() ? chosen.toInt() : -1;
}

void SplitDialogBase::ShowNumber(int number) { number_->setText(QString::number(number)); }

bool SplitDialogBase::ReadNumber(int& number) {
  bool isInteger = false;
  const qlonglong value = number_->text().trimmed().toLongLong(&isInteger);
  const char* refusal = !isInteger ? kNotAnInteger : (value < 0 || value > kSplitNumberMax) ? kOutOfRange : nullptr;
  if (refusal) {
    messenger_.port().ShowMessage(Message{0, refusal, std::string(KivString(ids::kStrProgramName))},
                                  MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    number_->setFocus();
    number_->selectAll();
    return false;
  }
  number = static_cast<int>(value);
  return true;
}

void SplitDialogBase::ShowChoices(const SplitChoices& choices) {
  ShowChoice(forms(), SettingOf(choices.m_nForm));
  ShowKind(choices.m_nKindIndex);
  ShowNumber(choices.m_nNumber);
  ShowChoice(methods(), SettingOf(choices.m_nMethod));
}

bool SplitDialogBase::ReadChoices(SplitChoices& choices) {
  choices.m_nForm = NamingFormFromSetting(ReadChoice(forms()));
  choices.m_nKindIndex = ReadKind();
  if (!ReadNumber(choices.m_nNumber)) return false;
  choices.m_nMethod = SplitMethodFromSetting(ReadChoice(methods()));
  return true;
}

void SplitDialogBase::ShowChoice(QButtonGroup* group, int index) {
  if (QAbstractButton* button = group->button(index)) {
    button->setChecked(true);
    return;
  }
  // No choice yet: an exclusive group keeps one button on, so let go briefly.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

int SplitDialogBase::ReadChoice(const QButtonGroup* group) { return group->checkedId(); }

void SplitDialogBase::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && focusWidget() == number_) RunNumberPad();
  QDialog::mousePressEvent(event);
}

bool SplitDialogBase::eventFilter(QObject* watched, QEvent* event) {
  if (watched == kinds_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier) {
      kinds_->showPopup();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void SplitDialogBase::RunNumberPad() {
  CNumberPadDlg pad(this);
  if (ExecModal(pad) != QDialog::Accepted) return;
  ShowNumber(pad.value());
  number_->setFocus();
  number_->selectAll();
}
