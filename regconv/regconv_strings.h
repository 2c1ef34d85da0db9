#pragma once
#include <string_view>

// MIRVASTO's own string table: id -> UTF-8 text, exactly as it is shown.
// Every box has string 1 as its caption. A missing id gives an empty text.
enum ConverterStringId {
  kStrConverterCaption = 1,
  kStrNoSettings = 2,        // Kiv was never used here: nothing to convert
  kStrAlreadyConverted = 3,  // the settings are in the present layout already
  kStrConverted = 4,
  kStrConfirmDeleteAll = 5,
  kStrAllDeleted = 6,
};

std::string_view ConverterString(int id);
