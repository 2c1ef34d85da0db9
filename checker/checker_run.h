#pragma once
#include <string>
#include <vector>

#include "checker/folder_walk.h"
#include "ports/messages.h"
#include "profile/settings_store.h"

// The window that shows the walk: it names each folder as the walk enters it.
class CheckerProgress : public WalkObserver {
 public:
  virtual void ShowProgress() = 0;
  virtual void CloseProgress() = 0;
};

// One run of TORBLEN: reads the shared log folder from the settings, shows
// the progress, reconciles every forum folder's archive list and, unless the
// command line asks for a silent run, tells the user it is done. The
// completion box belongs to the progress window; the box for a missing
// setting has no owner, as no window exists yet. args leaves out the program.
// Returns the exit status: 0 after a walk, 1 when the setting can't be read.
int RunChecker(const std::vector<std::string>& args, SettingsStore& store, MessagePort& messages,
               CheckerProgress& progress);
