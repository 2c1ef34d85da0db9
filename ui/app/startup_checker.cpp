#include "ui/app/startup_checker.h"

#include <QProcess>
#include <QStringList>

#include "platform/program_search.h"
#include "ports/messages.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "ui/qt_support/qt_text.h"

bool RunArchiveListChecker(MessagePort& messages) {
  const std::optional<std::string> checker = plat::FindProgram("TORBLEN");
  if (checker) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(Qs(*checker), QStringList{QStringLiteral("/KIV")});
    if (process.waitForStarted(-1)) {
      // The checker rewrites the archive lists Kiv is about to show: no time limit.
      process.waitForFinished(-1);
      return true;
    }
  }
  MsgStyle style{MsgButtons::Ok, MsgIcon::Information};
  style.noOwner = true;
  messages.ShowMessage(Message{ids::kMsgCheckerMissing, std::string(KivString(ids::kMsgCheckerMissing)),
                               std::string(KivString(ids::kMsgCheckerMissingCaption))},
                       style);
  return false;
}
