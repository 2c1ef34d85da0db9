// MIRVASTO: moves the settings of Kiv's releases up to 1.21 to the present
// layout; held down with Shift at start (or given --delete-all) it deletes
// all of Kiv's settings instead. Every outcome is one message box.
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>

#include "ui/qt_support/display_check.h"
#include "profile/qsettings_profile.h"
#include "regconv/registry_converter.h"
#include "resources/program_info.h"
#include "ui/qt_support/desktop_message_box.h"
#include "ui/qt_support/qt_translations.h"

namespace {

constexpr const char kUsage[] =
    "usage: MIRVASTO [--delete-all]\n"
    "       MIRVASTO --help | --version\n"
    "\n"
    "Moves the settings of Kiv's releases up to 1.21 to the present layout.\n"
    "Held down with Shift at start, or given --delete-all, it deletes all of\n"
    "Kiv's settings instead. Every outcome is told in one message box.\n"
    "\n"
    "Exit status: 0 the settings were converted or deleted, or there was nothing\n"
    "to do; 1 the changes could not be stored (the settings are as they were).\n";

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so they need no display.
  if (const auto answer = InfoRequestAnswer("MIRVASTO", kUsage, argc, argv)) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  if (const int refused = RefuseWithoutDisplay(argc, argv)) return refused;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MIRVASTO"));
  InstallQtJapaneseTexts();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  bool deleteAll = AsksForDeleteAll(args) || QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);

  QSettingsProfile store;
  DesktopMessageBox messages(QCoreApplication::applicationName().toStdString());
  messages.TakeScriptFromEnvironment();
  ConversionOutcome outcome = ConvertRegistry(store, messages, deleteAll);
  return outcome == ConversionOutcome::NotStored ? 1 : 0;
}
