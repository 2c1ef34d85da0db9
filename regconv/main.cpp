// MIRVASTO: moves the settings of Kiv's releases up to 1.21 to the present
// layout; held down with Shift at start (or given --delete-all) it deletes
// all of Kiv's settings instead. Every outcome is one message box.
#include <string>
#include <vector>

#include <QApplication>

#include "checker/desktop_message_box.h"
#include "profile/qsettings_profile.h"
#include "regconv/registry_converter.h"
#include "ui/qt_japanese.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  LoadQtJapanese(app);
  QApplication::setApplicationName(QStringLiteral("MIRVASTO"));
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  bool deleteAll = AsksForDeleteAll(args) ||
                   QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);

  QSettingsProfile store;
  DesktopMessageBox messages;
  ConversionOutcome outcome = ConvertRegistry(store, messages, deleteAll);
  return outcome == ConversionOutcome::NotStored ? 1 : 0;
}
