#include "engine/split_outputs.h"

#include <utility>

#include "messages/companion_mode.h"
#include "platform/file_ops.h"

SplitOutputs::SplitOutputs(std::string folder, std::vector<std::string> fileNames, std::vector<std::string> shownNames,
                           Messenger& messenger, Sink sink)
    : folder_(std::move(folder)),
      fileNames_(std::move(fileNames)),
      shownNames_(std::move(shownNames)),
      messenger_(messenger),
      sink_(sink),
      writers_(fileNames_.size()) {}

std::string SplitOutputs::Path(std::size_t i) const { return plat::JoinPath(folder_, fileNames_[i]); }

bool SplitOutputs::Create(const std::vector<std::string>* headLines) {
  for (std::size_t i = 0; i < writers_.size(); ++i) {
    plat::TextWriter& out = writers_[i];
    bool ok = sink_ == Sink::CountOnly ? out.OpenCounting() : out.Open(Path(i), plat::TextWriter::Mode::CreateNew);
    if (out.IsOpen() && sink_ == Sink::Files) created_ = i + 1;
    if (ok && headLines) ok = out.Write((*headLines)[i]) && out.Write("\n", 1);
    // The buffer goes on to the next output: only the one being written
    // holds one.
    if (ok) ok = out.Release();
    if (!ok) {
      messenger_.FileError(shownNames_[i], out.error());
      // Its close could only repeat the failure just told.
      if (out.IsOpen()) out.Close();
      Discard();
      return false;
    }
  }
  return true;
}

void SplitOutputs::TellWriteFailure(std::size_t i) { messenger_.FileError(shownNames_[i], writers_[i].error()); }

bool SplitOutputs::Finish(int failedOutput) {
  bool ok = failedOutput < 0;
  for (std::size_t i = 0; i < writers_.size(); ++i) {
    plat::TextWriter& out = writers_[i];
    bool done = true;
    if (ok) done = out.Sync();
    done = out.Close() && done;
    if (!done && static_cast<int>(i) != failedOutput) {
      messenger_.FileError(shownNames_[i], out.error());
      ok = false;
    }
  }
  return ok;
}

void SplitOutputs::Discard() {
  if (committed_) return;
  for (std::size_t i = 0; i < writers_.size(); ++i) {
    plat::TextWriter& out = writers_[i];
    if (out.IsOpen() && !out.Close()) messenger_.FileError(shownNames_[i], out.error());
  }
  for (std::size_t i = 0; i < created_; ++i) {
    int err = 0;
    if (!plat::DeleteFile(Path(i), &err)) messenger_.FileError(fileNames_[i], err);
  }
  created_ = 0;
}
