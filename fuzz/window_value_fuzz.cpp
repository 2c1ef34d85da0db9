// The reading rule of the stored window values ("WindowPlace", "View",
// "Cols"): any text reads without harm, nothing comes back only for an empty
// text, and what was read is written back as a text that reads the same.
//
// Input: the stored text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/scratch_folder.h"
#include "ui/settings/window_values.h"

namespace {

template <std::size_t N>
void CheckFields(const std::string& text) {
  const auto fields = ParseWindowValue<N>(text);
  if (fields.has_value() == text.empty()) fuzzing::Fail("a value was read from nothing, or none from a text");
  if (!fields) return;
  const std::string written = FormatWindowValue<N>(*fields);
  std::size_t colons = 0;
  for (char c : written) {
    if (c == ':')
      ++colons;
    else if (c < '0' || c > '9')
      fuzzing::Fail("a written value holds other than digits and colons");
  }
  if (colons != N - 1) fuzzing::Fail("a written value has the wrong number of fields");
  if (ParseWindowValue<N>(written) != fields) fuzzing::Fail("a written value reads back differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckFields<5>(text);  // WindowPlace
  CheckFields<2>(text);  // View
  CheckFields<6>(text);  // Cols
  return 0;
}
