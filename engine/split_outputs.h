#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_writer.h"

class Messenger;

// The files one split writes: an old log per planned name, then the log's
// new file. The object owns them from the moment each is created until the
// split commits them: whatever it has not committed when it goes (or when
// Discard is called) is closed and deleted, so a split that fails anywhere
// leaves none of its files behind, and the log's backup still holds the
// whole log. Every failure is told, naming the planned name.
class SplitOutputs {
 public:
  enum class Sink {
    Files,      // each output is a file
    CountOnly,  // no file is made: each output's bytes are only counted
  };

  // fileNames are what the outputs are written under in folder, shownNames
  // what the user knows them as; one of each per output. The messenger must
  // outlive the object. Nothing is created yet.
  SplitOutputs(std::string folder, std::vector<std::string> fileNames, std::vector<std::string> shownNames,
               Messenger& messenger, Sink sink = Sink::Files);
  ~SplitOutputs() { Discard(); }
  SplitOutputs(const SplitOutputs&) = delete;
  SplitOutputs& operator=(const SplitOutputs&) = delete;

  // Creates every file, never over an existing one: a file that already
  // holds the name is somebody's data (the host may have started a new log
  // meanwhile). With headLines (body logs) output i starts with
  // (*headLines)[i]. False (told) when one could not be made; none is left
  // then.
  bool Create(const std::vector<std::string>* headLines);

  std::size_t size() const { return writers_.size(); }
  plat::TextWriter& operator[](std::size_t i) { return writers_[i]; }
  // Whether a write to output i has failed (a full disk, an I/O error): told
  // when true, as what is written so far is not the log.
  bool WriteFailed(std::size_t i) {
    if (writers_[i].error() == 0) return false;
    TellWriteFailure(i);
    return true;
  }

  // Syncs and closes every output. With failedOutput >= 0 a failure is
  // already known and told: nothing will be kept, so nothing is synced, and
  // that output's own failure is not told again. False (told) when an output
  // did not reach the disk whole.
  bool Finish(int failedOutput);

  // The path output i is written under.
  std::string Path(std::size_t i) const;
  bool WritesFiles() const { return sink_ == Sink::Files; }
  // The bytes output i holds (or would hold), its head line included.
  std::uint64_t Bytes(std::size_t i) const { return writers_[i].written(); }

  // The outputs are whole and on disk: they are the split's from now on, and
  // nothing is deleted.
  void Commit() { committed_ = true; }
  // Closes what is open and deletes every file created, unless committed;
  // safe to call more than once.
  void Discard();

 private:
  void TellWriteFailure(std::size_t i);

  std::string folder_;
  std::vector<std::string> fileNames_;
  std::vector<std::string> shownNames_;
  Messenger& messenger_;
  Sink sink_;
  std::vector<plat::TextWriter> writers_;
  std::size_t created_ = 0;  // outputs 0 .. created_ - 1 exist on disk
  bool committed_ = false;
};
