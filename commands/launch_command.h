#pragma once
#include <string>

#include "commands/command_context.h"

class ProcessLauncher;

// The command line of the external launch: the program, one space, and the
// options with their first "%D" replaced by a space and the folder path in
// double quotes (later "%D" stay as they are). A program path holding a
// blank is quoted, so that it stays the program name; a folder path is
// escaped so that it reaches the program as one argument whatever it holds.
std::string BuildLaunchCommandLine(const std::string& program, const std::string& options,
                                   const std::string& folderPath);

// The external launch command (外部起動): nothing unless both the program
// and the options are set; a program that can't be started shows kMsgLaunchFailed.
// True when a program was started.
bool OnExternalLaunch(CommandContext& ctx, ProcessLauncher& launcher);
