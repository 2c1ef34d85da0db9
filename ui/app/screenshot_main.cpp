// kiv-screenshot OUT_DIR SHARED_LOG_FOLDER [FORUM]: pictures of Kiv for the
// README, on a shared log folder with FORUM (default FORUM1) chosen in the
// tree and its logs analysed: the main window as a first start sizes it
// (kiv-main-window.png), a question box (kiv-question-box.png), the split
// dialog of the first room (kiv-split-dialog.png) and the help window
// (kiv-help-window.png); then the 中止 button beside the progress while a
// large log of FORUM2 is analysed (kiv-stop-button.png) and the status line
// after a split (kiv-status-line.png). Settings are kept in a temporary
// file, so the user's own are neither read nor changed.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>
#include <cstdio>
#include <functional>

#include "messages/scripted_messages.h"
#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/views/help_window.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/views/status_progress.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_translations.h"

namespace {

bool Save(QWidget& widget, const QDir& dir, const char* name) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (widget.grab().save(path, "PNG")) return true;
  std::fprintf(stderr, "kiv-screenshot: can't write %s\n", qPrintable(path));
  return false;
}

// The 中止 button beside the progress, drawn while FORUM2's first log (made
// large by scripts/screenshot.sh) is analysed, then pressed.
bool SaveStopButton(CMainFrame& frame, const QDir& out) {
  QTreeWidgetItem* item = frame.tree()->FindItem(QStringLiteral("FORUM2"));
  if (!item) return true;  // a sample without it: no picture
  frame.tree()->setCurrentItem(item);
  CKivListView* list = frame.list();
  list->OnSelectNone();
  list->topLevelItem(list->topLevelItemCount() - 1)->setSelected(true);
  bool saved = false;
  QTimer during;
  during.setInterval(5);
  QObject::connect(&during, &QTimer::timeout, [&] {
    QPushButton* stop = frame.progress().StopButton();
    if (saved || !stop || frame.progress().BarValue() < 20) return;
    saved = Save(frame, out, "kiv-stop-button.png");
    stop->click();
  });
  during.start();
  list->OnAnalyze();
  if (!saved) std::fprintf(stderr, "kiv-screenshot: the analysis ended before its progress could be drawn\n");
  return saved;
}

// The status line after a split of the first room of forum, at the number
// its dialog proposes.
bool SaveStatusLine(CMainFrame& frame, const QString& forum, const QDir& out) {
  frame.tree()->setCurrentItem(frame.tree()->FindItem(forum));
  CKivListView* list = frame.list();
  list->OnSelectAll();
  list->OnAnalyze();
  list->OnSelectNone();
  list->topLevelItem(0)->setSelected(true);
  QueueModalAction([](QDialog& dialog) {
    if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OK"))) ok->click();
  });
  list->OnSplit();
  ClearModalActions();
  QTest::qWait(100);
  return Save(frame, out, "kiv-status-line.png");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  InstallQtJapaneseTexts();
  QApplication::setFont(DialogFont());
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: kiv-screenshot OUT_DIR SHARED_LOG_FOLDER [FORUM]\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString forum = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("FORUM1");
  QTemporaryDir settingsDir;
  QSettingsProfile profile(settingsDir.filePath(QStringLiteral("Tallowick.ini")).toStdString());
  SystemClock clock;
  StartOptions options;
  options.logFolder = argv[2];
  CKivApp app(profile, clock, options);
  bool saved = true;
  {
    CMainFrame frame(app);
    frame.ShowFirstTime();
    QTreeWidgetItem* item = frame.tree()->FindItem(forum);
    if (!item) {
      std::fprintf(stderr, "kiv-screenshot: no forum folder %s in the tree\n", qPrintable(forum));
      return 1;
    }
    frame.tree()->setCurrentItem(item);
    CKivListView* list = frame.list();
    list->OnSelectAll();
    list->OnAnalyze();
    list->OnSelectNone();
    list->topLevelItem(0)->setSelected(true);
    list->setFocus();
    QTest::qWait(100);
    saved = Save(frame, out, "kiv-main-window.png") && saved;

    // A box the way the program asks, closed with いいえ once drawn.
    QTimer::singleShot(200, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        saved = Save(*box, out, "kiv-question-box.png") && saved;
        box->button(QMessageBox::No)->click();
      }
    });
    app.messenger().BoxToUser(ids::kMsgConfirmFolderChange, MsgStyle{MsgButtons::YesNo, MsgIcon::Question});

    QueueModalAction([&](QDialog& dialog) {
      QTest::qWait(100);
      saved = Save(dialog, out, "kiv-split-dialog.png") && saved;
      dialog.reject();
    });
    frame.action(ids::kCmdSplit)->trigger();
    ClearModalActions();

    frame.action(ids::kCmdHelp)->trigger();
    if (auto* help = frame.findChild<CHelpWindow*>()) {
      QTest::qWait(100);
      saved = Save(*help, out, "kiv-help-window.png") && saved;
    } else {
      std::fprintf(stderr, "kiv-screenshot: the help window did not open\n");
      saved = false;
    }
    if (auto* help = frame.findChild<CHelpWindow*>()) help->close();

    // From here on every box is answered Yes without being shown.
    ScriptedMessages answers;
    app.messages().SetScript(&answers);
    saved = SaveStopButton(frame, out) && saved;
    saved = SaveStatusLine(frame, forum, out) && saved;
  }
  app.Exit();
  return saved ? 0 : 1;
}
