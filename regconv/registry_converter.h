#pragma once
#include <string>
#include <vector>

#include "ports/messages.h"
#include "profile/settings_store.h"

enum class ConversionOutcome {
  NoSettings,        // no settings of Kiv at all: nothing changed
  AlreadyConverted,  // no old layout left, or the present one is there already
  Converted,
  DeleteDeclined,  // the user kept the settings
  AllDeleted,
  NotStored,  // the changes could not be stored: the settings are as they were
};

// True when the command line asks for the delete-all, the switch that
// stands in for Shift held at start on desktops that don't report it.
bool AsksForDeleteAll(const std::vector<std::string>& args);

// One run of MIRVASTO: moves the settings of releases up to 1.21 to the
// present layout, or, when deleteAll is set and the user agrees, removes
// every setting of Kiv. Each outcome is told in one message box; when the
// store can't be written, the file-error report names it instead of a
// success the settings don't show.
ConversionOutcome ConvertRegistry(SettingsStore& store, MessagePort& messages, bool deleteAll);
