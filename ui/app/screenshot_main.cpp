// kiv-screenshot OUT_DIR SHARED_LOG_FOLDER [FORUM]: pictures of Kiv for the
// README, on a shared log folder with FORUM (default FORUM1) chosen in the
// tree and its logs analysed: the main window as a first start sizes it
// (kiv-main-window.png), a question box (kiv-question-box.png), the split
// dialog of the first room (kiv-split-dialog.png) and the help window
// (kiv-help-window.png). Settings are kept in a temporary file, so the
// user's own are neither read nor changed.
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

#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/views/help_window.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_translations.h"

namespace {

bool Save(QWidget& widget, const QDir& dir, const char* name) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (widget.grab().save(path, "PNG")) return true;
  std::fprintf(stderr, "kiv-screenshot: can't write %s\n", qPrintable(path));
  return false;
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
  }
  app.Exit();
  return saved ? 0 : 1;
}
