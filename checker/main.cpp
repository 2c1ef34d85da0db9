// TORBLEN: brings every forum folder's archive list in line with the files
// on disk. Kiv runs it at start-up with "/KIV" and waits for it to end.
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>

#include "ui/qt_support/display_check.h"
#include "checker/checker_run.h"
#include "checker/progress_window.h"
#include "platform/interrupt.h"
#include "profile/qsettings_profile.h"
#include "resources/program_info.h"
#include "ui/qt_support/desktop_message_box.h"
#include "ui/qt_support/qt_translations.h"

namespace {

constexpr const char kUsage[] =
    "usage: TORBLEN [/KIV]\n"
    "       TORBLEN --help | --version\n"
    "\n"
    "Brings every forum folder's archive list AR.LST under the stored shared log\n"
    "folder in line with the files on disk: a line naming an old log that is no\n"
    "longer there is removed. A progress window shows the walk; at the end a\n"
    "message says which lists were left as they were, and that the check is done.\n"
    "\n"
    "/KIV  the run Kiv starts at start-up: no closing messages (also -KIV, in\n"
    "      any case)\n"
    "\n"
    "Exit status: 0 the walk ended; 1 no shared log folder is stored. Ctrl-C or\n"
    "SIGTERM stop the walk at the next list, and TORBLEN ends as the signal would.\n";

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so they need no display.
  if (const auto answer = InfoRequestAnswer("TORBLEN", kUsage, argc, argv)) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  if (const int refused = RefuseWithoutDisplay(argc, argv)) return refused;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TORBLEN"));
  InstallQtJapaneseTexts();
  // QApplication has taken out the options meant for Qt; what is left is
  // the program's own command line.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  QSettingsProfile store;
  ProgressWindow window;
  DesktopMessageBox messages(QCoreApplication::applicationName().toStdString(), &window);
  messages.TakeScriptFromEnvironment();
  // Ctrl-C and SIGTERM stop the walk at the next list; a list being rewritten
  // stays as it was, and the program then ends as the signal would end it.
  plat::CatchInterrupts();
  const int status = RunChecker(args, store, messages, window);
  plat::EndAsInterrupted();
  return status;
}
