#pragma once
#include <string_view>

// TORBLEN's own string table: id -> UTF-8 text, exactly as it is shown.
// A missing id gives an empty text.
enum CheckerStringId {
  kStrSettingMissing = 1,  // the shared log folder setting can't be read
  kStrSettingMissingCaption = 2,
  kStrCheckDone = 3,  // the walk has ended
  kStrCheckDoneCaption = 4,
};

std::string_view CheckerString(int id);
