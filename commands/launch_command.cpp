#include "commands/launch_command.h"

#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/command_line.h"
#include "platform/process_start.h"
#include "resources/ids.h"

namespace {
constexpr const char kFolderMark[] = "%D";
}  // namespace

std::string BuildLaunchCommandLine(const std::string& program, const std::string& options,
                                   const std::string& folderPath) {
  const bool blank = program.find_first_of(" \t") != std::string::npos;
  std::string line = (blank && program.find('"') == std::string::npos) ? "\"" + program + "\"" : program;
  line += ' ';
  const std::size_t p = options.find(kFolderMark);
  if (p == std::string::npos) return line + options;
  return line + options.substr(0, p) + " " + QuoteArgument(folderPath) + options.substr(p + 2);
}

bool OnExternalLaunch(CommandContext& ctx, ProcessLauncher& launcher) {
  const CKivDoc& doc = ctx.doc;
  if (doc.m_strExeFile1.empty() || doc.m_strExeOpt1.empty()) return false;
  const CDirectory* dir = doc.CurrentFolder();
  const std::string folder = dir ? dir->path : std::string();
  const std::string line = BuildLaunchCommandLine(doc.m_strExeFile1, doc.m_strExeOpt1, folder);
  int err = 0;
  if (launcher.Start(doc.m_strExeFile1, SplitCommandLine(line), &err)) return true;
  ctx.messenger.BoxToUser(ids::kMsgLaunchFailed, MsgStyle{MsgButtons::Ok, MsgIcon::None});
  return false;
}
