// What a user of a Japanese desktop program reads in the boxes and choosers
// Qt itself draws, and how the small dialogs are laid out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "resources/ids.h"
#include "ui/dialogs/color_font_dlg.h"
#include "ui/qt_support/desktop_message_box.h"
#include "ui/qt_support/message_box_style.h"
#include "ui/qt_support/modal_run.h"
#include "ui/dialogs/number_pad_dlg.h"
#include "ui/qt_support/qt_text.h"

namespace {

// The test program loads Qt's Japanese catalogue as Kiv's start does
// (tests/ui/kiv_window.cpp), whatever the locale it runs in.
TEST(DesktopTexts, StandardButtonsAndChoosersSpeakJapanese) {
  DesktopMessageBox port("Kiv");
  QStringList buttons;
  int boxWidth = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    boxWidth = box->width();
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    box->button(QMessageBox::No)->click();
  });
  const char caption[] = "２回以上前へのやり直しの確認";
  const Message asked{ids::kMsgGenerationsBack, "3 回前の状態に戻します。", caption};
  EXPECT_EQ(port.ShowMessage(asked, MsgStyle{MsgButtons::YesNo, MsgIcon::Question}), MsgResult::No);
  // A caption longer than the text is not cut in the title bar.
  EXPECT_GE(boxWidth, CaptionRoom(QString::fromUtf8(caption)));
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
  dialog.findChild<QPushButton*>(IdName(ids::kCtlListFont))->click();
  EXPECT_FALSE(title.isEmpty());
  EXPECT_NE(title, QStringLiteral("Select Font"));
  for (QChar c : title) EXPECT_GT(c.unicode(), 0x7F) << title.toStdString();
}

// The keypad's three columns of digits stand evenly apart.
TEST(DesktopLooks, KeypadDigitColumnsAreEvenlySpaced) {
  CNumberPadDlg pad;
  pad.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&pad));
  int left[3];
  for (int d = 1; d <= 3; ++d) left[d - 1] = pad.findChild<QPushButton*>(IdName(ids::kCtlPadDigit0 + d))->x();
  EXPECT_EQ(left[2] - left[1], left[1] - left[0]);
  EXPECT_EQ(pad.findChild<QPushButton*>(IdName(ids::kCtlPadDigit0))->x(), left[0]);  // 0 below 1
}

}  // namespace
