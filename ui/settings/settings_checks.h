#pragma once
#include <string>

class Messenger;
struct CompanionMode;
class MessagePort;

// The checks the settings pages and the first-run dialog make when the user
// leaves a page or presses OK. No widgets here: each check reads the page's
// fields, speaks to the user through the messenger, and says whether the
// user may go on or stays with the focus on the edit at fault.

enum class PageCheck {
  Leave,          // every check passed
  StayOnFolder,   // the folder edit gets the focus; the page stays
  StayOnProgram,  // the program edit gets the focus; the page stays
};

// The fields of the folder page.
struct FolderPageFields {
  std::string openingFolder;  // the shared log folder when the sheet opened
  std::string folder;
  bool backUpPerGeneration = true;
  bool checkListAtStart = false;
};

// Leaving the folder page: a changed backup flag is told to apply from the
// next start (kMsgBackUpChangedLater); one trailing separator is removed; a path with no
// status (kMsgBadPath) or that is not a folder (kMsgNotAFolder) keeps the user there; a
// folder other than the opening one is asked about (kMsgConfirmFolderChange), No staying.
// backUpBefore is the flag as it was before the controls were read.
PageCheck CheckFolderPage(Messenger& messenger, bool backUpBefore, FolderPageFields& fields);

// Leaving the program page: a program given but not found (kMsgProgramMissing) keeps
// the user there. An empty program, or an existing folder, passes.
PageCheck CheckProgramPage(Messenger& messenger, const std::string& program);

// The first-run dialog's OK, spoken in the normal voice before the
// companion settings are read: every trailing separator is removed, then a
// path with no status (kMsgBadPath) or that is not a folder (kMsgNotAFolder) keeps the
// user in the dialog.
PageCheck CheckFirstRunFolder(MessagePort& port, std::string& folder);
