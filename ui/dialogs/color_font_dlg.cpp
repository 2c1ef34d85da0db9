#include "ui/dialogs/color_font_dlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/ids.h"
#include "ui/qt_support/dialog_buttons.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/dialogs/sample_edit.h"

namespace {

const char* const kSampleLines[] = {
    "1122334455｜6677889900｜1122334455｜6677889900｜", "１２３４５｜６７８９０｜１２３４５｜６７８９０｜",
    "ABCDEFGHIJ｜KLMNOPQRST｜UVWXYZABCD｜EFGHIJKLMN｜", "ＡＢＣＤＥ｜ＦＧＨＩＪ｜ＫＬＭＮＯ｜ＰＱＲＳＴ｜",
    "ｱｲｳｴｵｶｷｸｹｺ｜ｻｼｽｾｿﾀﾁﾂﾃﾄ｜ﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎ｜ﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘ｜", "あいうえお｜かきくけこ｜さしすせそ｜たちつてと｜",
};
constexpr const char kCrLf[] = "\r\n";

// The samples' texts keep their CR LF; the edit breaks its lines at LF.
QString SampleText(const char* heading) {
  QString text = Qs(std::string(heading) + kCrLf + ColorFontSampleBody());
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QPushButton* Button(int id, const char* text, QWidget* parent) {
  auto* b = new QPushButton(QString::fromUtf8(text), parent);
  b->setObjectName(IdName(id));
  return b;
}

// The effects (underline, strike-out) are not the panes' to choose. The
// sample shared their row and would shrink to nothing without them, so it
// keeps a height of its own.
void HideEffects(QFontDialog& dialog) {
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
    if (group->findChild<QCheckBox*>()) {
      group->hide();
    } else if (auto* sample = group->findChild<QLineEdit*>()) {
      sample->setMinimumHeight(sample->sizeHint().height() * 2);
    }
  }
}

}  // namespace

std::string ColorFontSampleBody() {
  std::string body;
  for (const char* line : kSampleLines) {
    if (!body.empty()) body += kCrLf;
    body += line;
  }
  return body;
}

CColorFontDlg::CColorFontDlg(const QFont& treeFont, const QFont& listFont, const QColor& listText,
                             const QColor& listBack, QWidget* parent)
    : QDialog(parent), treeFont_(treeFont), listFont_(listFont), listText_(listText), listBack_(listBack) {
  setObjectName(IdName(ids::kDlgColorFont));
  setWindowTitle(QStringLiteral("色・フォントの設定"));
  setFont(DialogFont());

  treeSample_ = new CSampleEdit(this);
  treeSample_->setObjectName(IdName(ids::kCtlTreeSample));
  treeSample_->setPlainText(SampleText("ツリービュー画面のイメージ"));
  treeSample_->setFont(treeFont_);
  treeSample_->SetColors(QColor(0, 0, 0), QColor(255, 255, 255));
  listSample_ = new CSampleEdit(this);
  listSample_->setObjectName(IdName(ids::kCtlListSample));
  listSample_->setPlainText(SampleText("リストビュー画面のイメージ"));
  listSample_->setFont(listFont_);
  listSample_->SetColors(listText_, listBack_);

  QPushButton* treeFontButton = Button(ids::kCtlTreeFont, "フォント", this);
  QPushButton* treeText = Button(ids::kCtlTreeText, "文字色", this);
  QPushButton* treeBack = Button(ids::kCtlTreeBack, "背景色", this);
  treeText->setEnabled(false);
  treeBack->setEnabled(false);
  QPushButton* listFontButton = Button(ids::kCtlListFont, "フォント", this);
  QPushButton* listTextButton = Button(ids::kCtlListText, "文字色", this);
  QPushButton* listBackButton = Button(ids::kCtlListBack, "背景色", this);

  auto* grid = new QGridLayout;
  grid->addWidget(treeSample_, 0, 0, 3, 1);
  grid->addWidget(treeFontButton, 0, 1);
  grid->addWidget(treeText, 1, 1);
  grid->addWidget(treeBack, 2, 1);
  grid->addWidget(listSample_, 3, 0, 3, 1);
  grid->addWidget(listFontButton, 3, 1);
  grid->addWidget(listTextButton, 4, 1);
  grid->addWidget(listBackButton, 5, 1);

  QDialogButtonBox* buttons = MakeOkCancelButtons(this, [this] { accept(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  // The samples ask for their whole text: the dialog grows with a larger
  // font chosen while it is open.
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  connect(treeFontButton, &QPushButton::clicked, this, [this] { ChooseFont(treeSample_, treeFont_); });
  connect(listFontButton, &QPushButton::clicked, this, [this] { ChooseFont(listSample_, listFont_); });
  connect(listTextButton, &QPushButton::clicked, this, [this] {
    ChooseColor(listText_);
    listSample_->SetColors(listText_, listBack_);
  });
  connect(listBackButton, &QPushButton::clicked, this, [this] {
    ChooseColor(listBack_);
    listSample_->SetColors(listText_, listBack_);
  });
}

void CColorFontDlg::ChooseFont(CSampleEdit* sample, QFont& font) {
  QFontDialog dialog(font, this);
  dialog.setObjectName(QStringLiteral("FontChooser"));
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  HideEffects(dialog);
  if (ExecModal(dialog) != QDialog::Accepted) return;
  font = dialog.selectedFont();
  sample->setFont(font);
  sample->viewport()->update();
}

void CColorFontDlg::ChooseColor(QColor& color) {
  QColorDialog dialog(color, this);
  dialog.setObjectName(QStringLiteral("ColorChooser"));
  dialog.setOption(QColorDialog::DontUseNativeDialog, true);
  if (ExecModal(dialog) != QDialog::Accepted) return;
  color = dialog.selectedColor().isValid() ? dialog.selectedColor() : dialog.currentColor();
}
