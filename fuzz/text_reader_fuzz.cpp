// The text-mode reader against what text mode means: the pieces it hands
// out, joined, are the file's text-mode content; every piece is at most 1023
// bytes and only a piece that ends a line ends with LF; a piece is cut short
// only by LF or the end of the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/scratch_folder.h"
#include "platform/text_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzzing::ScratchFolder() + "/input.txt";
  fuzzing::PutFile(path, bytes);

  const std::string expected = fuzzing::TextModeContent(bytes);
  plat::TextReader reader;
  if (!reader.Open(path)) fuzzing::Fail("a readable file did not open");
  std::string joined;
  char piece[plat::TextReader::kMaxPiece + 1];
  for (;;) {
    std::memset(piece, 0x55, sizeof piece);
    const int n = reader.ReadLine(piece);
    if (n < 0) fuzzing::Fail("a read error on a plain file");
    if (n == 0) break;
    if (static_cast<std::size_t>(n) > plat::TextReader::kMaxPiece) fuzzing::Fail("piece longer than 1023");
    if (piece[n] != '\0') fuzzing::Fail("piece not NUL-terminated");
    const char* lf = static_cast<const char*>(std::memchr(piece, '\n', static_cast<std::size_t>(n)));
    if (lf && lf != piece + n - 1) fuzzing::Fail("LF inside a piece");
    joined.append(piece, static_cast<std::size_t>(n));
    // A short piece without LF is only allowed as the very last one.
    if (!lf && static_cast<std::size_t>(n) < plat::TextReader::kMaxPiece && joined.size() != expected.size()) {
      fuzzing::Fail("piece cut short before the end of the input");
    }
  }
  if (joined != expected) fuzzing::Fail("pieces differ from the text-mode content");
  if (reader.ReadLine(piece) != 0) fuzzing::Fail("reading past the end gave more");
  if (!reader.Close()) fuzzing::Fail("close failed");
  return 0;
}
