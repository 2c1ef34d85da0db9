// The colour and font dialog's samples show their whole text, in the
// dialog's fonts and in a larger one chosen meanwhile.
#include <gtest/gtest.h>

#include <QFontDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "resources/ids.h"
#include "ui/dialogs/color_font_dlg.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/dialogs/sample_edit.h"

namespace {

// Every line and every character of the sample is in view.
void ExpectWhole(const CSampleEdit& sample, const char* when) {
  EXPECT_EQ(sample.verticalScrollBar()->maximum(), 0) << sample.objectName().toStdString() << " " << when;
  EXPECT_EQ(sample.horizontalScrollBar()->maximum(), 0) << sample.objectName().toStdString() << " " << when;
  EXPECT_EQ(sample.document()->blockCount(), 7);
}

TEST(ColourFontSamples, ShowAllTheirLinesAlsoAfterALargerFontIsChosen) {
  CColorFontDlg dialog(DialogFont(), DialogFont(), Qt::black, Qt::white);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* tree = dialog.findChild<CSampleEdit*>(IdName(ids::kCtlTreeSample));
  auto* list = dialog.findChild<CSampleEdit*>(IdName(ids::kCtlListSample));
  ASSERT_TRUE(tree && list);
  ExpectWhole(*tree, "at first");
  ExpectWhole(*list, "at first");

  QueueModalAction([](QDialog& chooser) {
    QFont larger = DialogFont();
    larger.setPointSize(15);
    static_cast<QFontDialog&>(chooser).setCurrentFont(larger);
    chooser.accept();
  });
  dialog.findChild<QPushButton*>(IdName(ids::kCtlListFont))->click();
  QTest::qWait(20);
  EXPECT_GT(list->font().pointSize(), 9);
  ExpectWhole(*list, "in the larger font");
}

}  // namespace
