#include "ui/dialogs/greeting_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/ids.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/kiv_icons.h"
#include "ui/qt_support/qt_text.h"

namespace {
const char* const kGreeting[] = {
    "あ、ここ、ノクシア関連の会議室がある‥‥。",
    "こんにちわ！私、ピルカです！",
    "実はね、このソフトには隠し機能があるの。ペモおにいちゃんが私のためにつけてくれた機能なんだけど、"
    "他の人に教えるの恥ずかしいみたいだから‥‥私が教えてあげるね。",
    "バージョン情報ダイアログを表示させて、 CTRL キーと SHIFT キーを一緒に押しながら [OK] "
    "ボタンを押してみてね。後は見れば分かると思うよ！",
    "それから、私と初めて会った人はヘルプの「バージョン情報」のどこかに隠しページがあって、"
    "そこに私についての説明があるから見てくださいっておにいちゃんが言ってました。",
    "それじゃあ、またね！",
};
}  // namespace

CGreetingDlg::CGreetingDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(IdName(ids::kDlgGreeting));
  setWindowTitle(QStringLiteral("こんにちわ！"));
  setFont(DialogFont());

  auto* picture = new QLabel(this);
  picture->setPixmap(KivPixmap(ids::kIconCompanion).scaled(32, 32));
  picture->setAlignment(Qt::AlignTop);

  auto* texts = new QVBoxLayout;
  for (const char* line : kGreeting) {
    auto* label = new QLabel(QString::fromUtf8(line), this);
    label->setWordWrap(true);
    texts->addWidget(label);
  }
  auto* row = new QHBoxLayout;
  row->addWidget(picture);
  row->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OK"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}
