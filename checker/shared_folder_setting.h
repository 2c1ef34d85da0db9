#pragma once
#include <optional>
#include <string>

#include "profile/settings_store.h"

// The shared log folder Kiv keeps in "Setting"/"LOGFILE", or nothing when
// it can't be read: the section or the value is missing, the value is empty,
// or it is longer than the 259 bytes (in CP932) a stored path may have.
std::optional<std::string> ReadSharedLogFolder(SettingsStore& store);
