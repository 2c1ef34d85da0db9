#pragma once
// What a command-line program needs of its console, the same on every
// system: its arguments in UTF-8, standard output and error that carry the
// bytes written as they are, and whether a stream is a terminal.
#include <cstdio>
#include <string>
#include <vector>

namespace plat {

// The program's arguments, its own name first, in UTF-8. On Windows they
// are taken from the wide command line (argv there is in the ANSI code
// page, where a folder named サンプル arrives as "?????"); elsewhere argv
// is taken as it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard input, output and error in binary mode (no LF turned into CR LF,
// no end at 0x1A), and a console that shows UTF-8. Nothing to do on POSIX.
void PrepareConsole();

// Whether the stream writes to a terminal (a console window on Windows).
bool IsTerminal(std::FILE* stream);

// The value of an environment variable in UTF-8, or empty when it is unset.
std::string EnvironmentValue(const char* name);

// Base name of a path: what follows the last separator ("/", and "\" on
// Windows too).
std::string BaseName(const std::string& path);

}  // namespace plat
