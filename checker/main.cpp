// TORBLEN: brings every forum folder's archive list in line with the files
// on disk. Kiv runs it at start-up with "/KIV" and waits for it to end.
#include <string>
#include <vector>

#include <QApplication>

#include "checker/checker_run.h"
#include "checker/desktop_message_box.h"
#include "checker/progress_window.h"
#include "profile/qsettings_profile.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TORBLEN"));
  // QApplication has taken out the options meant for Qt; what is left is
  // the program's own command line.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  QSettingsProfile store;
  ProgressWindow window;
  DesktopMessageBox messages(&window);
  return RunChecker(args, store, messages, window);
}
