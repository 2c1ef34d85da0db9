#pragma once
#include <string_view>

// TORBLEN's own string table: id -> UTF-8 text, exactly as it is shown.
// A missing id gives an empty text.
enum CheckerStringId {
  kStrSettingMissing = 1,  // the shared log folder setting can't be read
  kStrSettingMissingCaption = 2,
  kStrCheckDone = 3,  // the walk has ended
  kStrCheckDoneCaption = 4,
  kStrListEndsEarly = 5,    // a list with text after an end-of-text byte was left alone
  kStrListNotConfined = 6,  // a list leading out of the shared log folder, or no file, was left alone
  kStrListBusy = 7,         // another program kept the forum (%2): its list was left alone
  kStrUnknownHolder = 8,    // %2 when the lock file names no program
};

std::string_view CheckerString(int id);
