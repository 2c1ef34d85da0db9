#pragma once
#include <optional>
#include <string>

namespace plat {

// The file name of a program's executable here: "TORBLEN" on Linux,
// "TORBLEN.EXE" on Windows.
std::string ExecutableName(const std::string& program);

// The folder holding the running program's executable; empty when unknown.
std::string RunningProgramFolder();

// Where a program is looked for, in this order: the running program's own
// folder, the current folder, then each folder of the search path (a list
// separated by ':', ';' on Windows; an empty entry stands for the current
// folder). An empty folder is skipped.
struct ProgramSearchPath {
  std::string programFolder;
  std::string currentFolder;
  std::string searchPath;
};

// The full name of the first executable file called fileName found along
// where, or nothing. A name holding a separator is taken as a path as it is.
std::optional<std::string> FindProgramIn(const std::string& fileName, const ProgramSearchPath& where);

// FindProgramIn for this process: its own folder, its current folder and PATH.
std::optional<std::string> FindProgram(const std::string& program);

}  // namespace plat
