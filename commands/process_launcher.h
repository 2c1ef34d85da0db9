#pragma once
// The launcher lives with the platform's files and processes; the desktop
// program's main window still includes it by this name.
#include "platform/process_start.h"
