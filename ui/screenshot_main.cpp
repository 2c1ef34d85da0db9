// kiv-screenshot OUT.png SHARED_LOG_FOLDER [FORUM]: a picture of Kiv's main
// window on a shared log folder, with FORUM (default FORUM1) chosen in the
// tree and its logs analysed. Settings are kept in a temporary file, so the
// user's own are neither read nor changed.
#include <cstdio>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItem>

#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "ui/dialog_font.h"
#include "ui/kiv_app.h"
#include "ui/kiv_list_view.h"
#include "ui/kiv_tree_view.h"
#include "ui/main_frame.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setFont(DialogFont());
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: kiv-screenshot OUT.png SHARED_LOG_FOLDER [FORUM]\n");
    return 2;
  }
  const QString forum = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("FORUM1");
  QTemporaryDir settingsDir;
  QSettingsProfile profile(settingsDir.filePath(QStringLiteral("Tallowick.ini")).toStdString());
  SystemClock clock;
  StartOptions options;
  options.logFolder = argv[2];
  CKivApp app(profile, clock, options);
  int status = 0;
  {
    CMainFrame frame(app);
    frame.ShowFirstTime();
    frame.resize(760, 420);
    QTreeWidgetItem* item = frame.tree()->FindItem(forum);
    if (!item) {
      std::fprintf(stderr, "kiv-screenshot: no forum folder %s in the tree\n", argv[3 < argc ? 3 : 2]);
      return 1;
    }
    frame.tree()->setCurrentItem(item);
    frame.list()->OnSelectAll();
    frame.list()->OnAnalyze();
    frame.list()->OnSelectNone();
    frame.list()->topLevelItem(0)->setSelected(true);
    frame.list()->setFocus();
    QTest::qWait(100);
    if (!frame.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
      std::fprintf(stderr, "kiv-screenshot: can't write %s\n", argv[1]);
      status = 1;
    }
  }
  app.Exit();
  return status;
}
