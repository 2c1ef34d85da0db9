// TORBLEN: brings every forum folder's archive list in line with the files
// on disk. Kiv runs it at start-up with "/KIV" and waits for it to end.
#include <string>
#include <vector>

#include <QApplication>

#include "checker/checker_run.h"
#include "checker/desktop_message_box.h"
#include "checker/progress_window.h"
#include "platform/interrupt.h"
#include "profile/qsettings_profile.h"
#include "ui/qt_japanese.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  LoadQtJapanese(app);
  QApplication::setApplicationName(QStringLiteral("TORBLEN"));
  // QApplication has taken out the options meant for Qt; what is left is
  // the program's own command line.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  QSettingsProfile store;
  ProgressWindow window;
  DesktopMessageBox messages(&window);
  // Ctrl-C and SIGTERM stop the walk at the next list; a list being rewritten
  // stays as it was, and the program then ends as the signal would end it.
  plat::CatchInterrupts();
  const int status = RunChecker(args, store, messages, window);
  plat::EndAsInterrupted();
  return status;
}
