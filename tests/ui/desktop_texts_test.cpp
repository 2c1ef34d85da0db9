// What a user of a Japanese desktop program reads in the boxes and choosers
// Qt itself draws.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/color_font_dlg.h"
#include "ui/modal_run.h"
#include "ui/qt_message_port.h"

namespace {

// The test program loads Qt's Japanese catalogue as Kiv's start does
// (tests/ui/kiv_window.cpp), whatever the locale it runs in.
TEST(DesktopTexts, StandardButtonsAndChoosersSpeakJapanese) {
  QtMessagePort port;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(port.ShowMessage("分割を実行します。", "実行確認", MsgStyle{MsgButtons::YesNo, MsgIcon::Question}),
            MsgResult::No);
  ASSERT_EQ(buttons.size(), 2);
  buttons.sort();
  EXPECT_TRUE(buttons[0].startsWith(QStringLiteral("いいえ"))) << buttons[0].toStdString();
  EXPECT_TRUE(buttons[1].startsWith(QStringLiteral("はい"))) << buttons[1].toStdString();

  CColorFontDlg dialog(QApplication::font(), QApplication::font(), Qt::black, Qt::white);
  QString title;
  QueueModalAction([&](QDialog& chooser) {
    title = chooser.windowTitle();
    chooser.reject();
  });
  dialog.findChild<QPushButton*>(QStringLiteral("1046"))->click();
  EXPECT_FALSE(title.isEmpty());
  EXPECT_NE(title, QStringLiteral("Select Font"));
  for (QChar c : title) EXPECT_GT(c.unicode(), 0x7F) << title.toStdString();
}

}  // namespace
