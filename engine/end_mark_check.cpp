// Old programs ended a text with a byte 0x1A, and some left one part way
// through a log with the host writing on after it. Text mode stops reading at
// that byte, which is right for what is read; but a file rewritten from such
// an input would lose everything after the byte.
#include "engine/engine_messages.h"
#include "engine/line_window.h"
#include "engine/log_file.h"

bool CLogFile::EndMarkHidesData() {
  switch (source_.WhatFollowsEndMark()) {
    case plat::TextReader::AfterEndMark::NoMark:
    case plat::TextReader::AfterEndMark::OnlyLineEnds: return false;
    case plat::TextReader::AfterEndMark::Unknown: messenger_.FileError(sourceName_, source_.error()); return true;
    case plat::TextReader::AfterEndMark::Data: break;
  }
  const long long line = PieceLineOfEndMark(source_, &readError_);
  if (readError_ != 0) {
    messenger_.FileError(sourceName_, readError_);
    return true;
  }
  ShowLineProblem(messenger_, entry_->name, line, ids::kMsgDataAfterEndMark, ids::kMsgDataAfterEndMarkCaption, false);
  return true;
}
