// Two runs of the real program on one settings file: the first starts with
// none, asks for the shared log folder, splits and closes; the second finds
// everything as the first left it.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "messages/scripted_messages.h"
#include "model/kiv_doc.h"
#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_window.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/dialogs/shared_folder_dlg.h"

namespace {

void ClickNode(CKivTreeView* tree, const QString& text) {
  QTreeWidgetItem* item = tree->FindItem(text);
  ASSERT_NE(item, nullptr);
  tree->scrollToItem(item);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void Select(CKivListView* list, const QStringList& names) {
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    list->topLevelItem(i)->setSelected(names.contains(list->topLevelItem(i)->text(0)));
  }
}

TEST(FullRun, FromEmptySettingsThroughASplitToASecondStartAsItWasLeft) {
  TempDir dir;
  const std::string shared = dir.Sub("logs");
  const std::string generate = std::string(KIV_SAMPLEGEN_PATH) + " " + shared + " --forums 1 --rooms 2 >/dev/null";
  ASSERT_EQ(std::system(generate.c_str()), 0);
  const std::string ini = dir.Sub("Tallowick.ini");
  FixedClock clock(kToday);
  ClearModalActions();
  const QRect placed(40, 50, 720, 460);
  QFont treeFont;
  {
    QSettingsProfile profile(ini);
    ScriptedMessages messages;
    QueueModalAction([&](QDialog& d) {
      d.findChild<QLineEdit*>(IdName(ids::kCtlFirstFolder))->setText(QString::fromStdString(shared + "/"));
      d.findChild<QPushButton*>(QStringLiteral("OK"))->click();
    });
    AskSharedFolderWhenNoneStored(profile, messages);
    CKivApp app(profile, clock, StartOptions{});
    app.messages().SetScript(&messages);
    CMainFrame frame(app);
    frame.ShowFirstTime();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Tallowick  Ver 1.30"));
    frame.setGeometry(placed);
    frame.splitter()->setSizes({210, 500});
    CKivListView* list = frame.list();
    list->setColumnWidth(1, 133);
    treeFont = frame.tree()->font();
    treeFont.setPixelSize(15);
    frame.tree()->setFont(treeFont);

    ClickNode(frame.tree(), QStringLiteral("FORUM1"));
    list->OnColumnClick(0);  // file names ascending
    Select(list, {QStringLiteral("MES_01.LOG"), QStringLiteral("MES#01.LOG")});
    frame.action(ids::kCmdAnalyze)->trigger();
    QueueModalAction([](QDialog& d) {
      d.findChild<QLineEdit*>(IdName(ids::kCtlSingleNumber))->setText(QStringLiteral("8"));
      d.findChild<QPushButton*>(QStringLiteral("OK"))->click();
    });
    frame.action(ids::kCmdSplit)->trigger();
    EXPECT_TRUE(std::filesystem::exists(shared + "/FORUM1/MES_01.B00"));
    frame.close();
    app.Exit();
    EXPECT_TRUE(messages.fileErrors.empty());
  }
  EXPECT_TRUE(std::filesystem::exists(shared + "/FORUM1/FORUM1.KIV"));
  // Whoever wants to read what a first run leaves in the settings file names
  // a place for a copy.
  if (const char* copy = std::getenv("KIV_KEEP_SETTINGS_FILE")) {
    std::filesystem::copy_file(ini, copy, std::filesystem::copy_options::overwrite_existing);
  }
  {
    QSettingsProfile profile(ini);
    EXPECT_EQ(profile.GetProfileString("Setting", "LOGFILE", ""), shared);
    ScriptedMessages messages;
    CKivApp app(profile, clock, StartOptions{});
    app.messages().SetScript(&messages);
    CMainFrame frame(app);
    frame.ShowFirstTime();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.geometry(), placed);
    EXPECT_EQ(frame.splitter()->sizes().front(), 210);
    EXPECT_EQ(frame.list()->columnWidth(1), 133);
    EXPECT_EQ(frame.tree()->font().pixelSize(), 15);
    EXPECT_EQ(frame.tree()->font().family(), treeFont.family());
    EXPECT_EQ(app.doc().m_nSortColumn, 0);
    EXPECT_EQ(app.doc().m_nSortState0, 1);
    EXPECT_TRUE(messages.boxes.empty());
  }
}

}  // namespace
