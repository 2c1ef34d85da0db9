// Kiv: the desktop program over the shared log folder.
//   Kiv [--defaults] [SHARED_LOG_FOLDER]
//   Kiv --help | --version
// --defaults does what Shift held at start does: the stored window, layout
// and sort settings are not applied. A folder given here is used for this
// run instead of the stored "LOGFILE", and is not stored.
#include <cstdio>
#include <filesystem>

#include <QApplication>

#include "ui/qt_support/display_check.h"
#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "resources/program_info.h"
#include "resources/version.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/app/kiv_app.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/qt_translations.h"
#include "ui/app/running_copy.h"
#include "ui/dialogs/shared_folder_dlg.h"
#include "ui/app/startup_checker.h"

namespace {

constexpr const char kUsage[] =
    "usage: Kiv [--defaults] [SHARED_LOG_FOLDER]\n"
    "       Kiv --help | --version\n"
    "\n"
    "Kiv looks after the shared log folder of the forum reader: it analyses and\n"
    "splits the forums' logs into old logs, undoes splits while it runs, and\n"
    "exports the old logs' header lines to AR.LST. It needs a display.\n"
    "\n"
    "SHARED_LOG_FOLDER  use this folder for this run instead of the stored one\n"
    "                   (it is not stored)\n"
    "--defaults         do not apply the stored window, layout and sort\n"
    "                   settings, as holding Shift at start does\n"
    "\n"
    "The manual opens with F1; kiv-batch runs the same commands without a window.\n";

std::string AbsoluteFolder(const char* arg) {
  std::error_code ec;
  std::string s = std::filesystem::absolute(arg, ec).lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so they need no display.
  if (const auto answer = InfoRequestAnswer("Kiv", kUsage, argc, argv)) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  if (const int refused = RefuseWithoutDisplay(argc, argv)) return refused;
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kiv"));
  // The desktop matches the window to its menu entry and icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral(KIV_APP_ID));
  QApplication::setFont(DialogFont());
  InstallQtJapaneseTexts();

  StartOptions options;
  options.defaultsMode = (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--defaults") {
      options.defaultsMode = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!arg.empty() && arg[0] != '-' && !options.logFolder) {
      options.logFolder = AbsoluteFolder(argv[i]);
    } else {
      std::fprintf(stderr, "Kiv: unexpected argument %s (see Kiv --help)\n", argv[i]);
      return 2;
    }
  }

  QSettingsProfile profile;
  // A folder given for this run needs none stored.
  if (!options.logFolder) {
    DesktopMessageBox firstRunMessages(KivProgramName());
    AskSharedFolderWhenNoneStored(profile, firstRunMessages);
  }
  // A second copy asks for the shared log folder like any first start, then
  // hands over to the running copy before it makes a document of its own
  // (whose settings it would write over the running copy's at exit).
  if (RunningCopy::AskRunningCopyToShow()) return 0;
  SystemClock clock;
  CKivApp app(profile, clock, options);
  if (app.m_bCheckListAtStart) RunArchiveListChecker(app.messages());
  int status = 0;
  {
    CMainFrame frame(app);
    RunningCopy listener(&frame);
    frame.ShowFirstTime();
    status = QApplication::exec();
  }
  app.Exit();
  return status;
}
