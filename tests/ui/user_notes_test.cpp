// Where Kiv used to say nothing: a shared log folder that is gone, and
// files of rooms the commands pass over.
#include <gtest/gtest.h>

#include <QDialog>
#include <QStatusBar>
#include <QTest>

#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_run.h"
#include "tests/ui/kiv_window.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"

namespace {

TEST(UserNotes, AMissingSharedFolderIsToldAndTheSettingsOffered) {
  TempDir dir;
  const std::string gone = dir.Sub("moved-away");
  const std::string ini = dir.Sub("Tallowick.ini");
  QSettingsProfile(ini).WriteProfileString("Setting", "LOGFILE", gone);
  for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
    KivRun run(ini, false);
    CMainFrame frame(run.app);
    run.messages.Answer(answer);
    QString opened;
    QueueModalAction([&](QDialog& d) {
      opened = d.objectName();
      d.reject();
    });
    frame.ShowFirstTime();
    ASSERT_EQ(run.messages.boxes.size(), 1u);
    EXPECT_EQ(run.messages.boxes[0].id, ids::kMsgMissingLogFolder);
    EXPECT_EQ(run.messages.boxes[0].text.rfind(gone + " :\n", 0), 0u) << run.messages.boxes[0].text;
    EXPECT_EQ(opened.isEmpty(), answer == MsgResult::No) << "the sheet opens on Yes only";
    ClearModalActions();
    frame.close();
    run.app.Exit();
  }
}

TEST(UserNotes, FilesOfRoomsPastTwentyAreNamedWhenAnalyseAndSplitPassThemOver) {
  KivWindow w("--forums 1 --rooms 1", true, "cp FORUM1/MES_01.LOG FORUM1/MES_99.LOG");
  w.ClickNode(QStringLiteral("FORUM1"));
  w.SelectFiles({QStringLiteral("MES_01.LOG"), QStringLiteral("MES_99.LOG")});
  w.Trigger(ids::kCmdAnalyze);
  const QString note = w.frame().statusBar()->currentMessage();
  EXPECT_TRUE(note.startsWith(QStringLiteral("MES_99.LOG は会議室番号が 1～20 の範囲外"))) << note.toStdString();
  EXPECT_EQ(w.Column(5)[w.RowOf(QStringLiteral("MES_99.LOG"))], QStringLiteral("-"));
  EXPECT_NE(w.Column(5)[w.RowOf(QStringLiteral("MES_01.LOG"))], QStringLiteral("-"));
}

}  // namespace
