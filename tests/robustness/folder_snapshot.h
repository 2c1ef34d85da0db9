#pragma once
// What a folder holds, and the rule every robustness test checks against it:
// nothing of the user's is lost.
#include <map>
#include <string>
#include <vector>

namespace robust {

// Relative path -> bytes of every file under folder (folders themselves are
// not listed). Read with the plain C library, never through the platform
// layer, so that an injected fault can't disturb the look.
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const std::string& folder);

// The history file's lines between runs of "=" carry the time they were
// written; two runs a second apart must still compare equal.
std::string WithoutTimeStamps(const std::string& path, const std::string& bytes);

// Checks after a run that failed, was killed or was made to fail part way:
// - every log file (MES_nn.LOG, MES#nn.LOG) of before is still there byte for
//   byte, under its own name or one of its backup names (NAME.Bnn, NAME.BAK);
// - every file that was there before is still there, unless a successful run
//   removes it too (an undo takes its backup back);
// - every file holds what it held before, or what one of the successful
//   runs in `done` left in it, or for an appended file (AR.LST, the history)
//   what it held before followed by whole lines, each naming an old log that
//   is there (or framing a history block); a new file holds what some file of a
//   successful run holds (the next letter may have gone to another room when
//   an earlier one failed);
// - nothing is left that a successful run doesn't leave.
// With killed set (the run was stopped dead) new files may hold anything (an
// interrupted run's outputs), and so may a log whose content is safe in a
// backup; an appended file must still begin with what it held.
// Returns one line per breach; empty when nothing was lost.
std::vector<std::string> NothingLost(const Snapshot& before, const std::vector<Snapshot>& done, const Snapshot& after,
                                     bool killed);

// Whether two snapshots agree once the history's time stamps are set aside.
bool SameContent(const Snapshot& a, const Snapshot& b);

}  // namespace robust
