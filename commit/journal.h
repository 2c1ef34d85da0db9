#pragma once
#include <string>
#include <vector>

#include "commit/journal_format.h"
#include "platform/locked_file.h"

// A journal is a small file in the forum folder that says what a commit is
// about to do, so that a run cut short (a power cut, a kill) can be finished
// or taken back by the next run. It only ever grows (invariant (2)): the
// plan, a "begin" line once the plan is whole, then what the commit needs to
// know, and a "commit" line once that is whole; commit/journal_format.h
// gives its lines and the rules the commits keep. While its run is alive the
// journal is locked, so a second program on the same folder leaves it alone.

namespace commit {

// What went wrong: the file (a name within the forum folder, or
// "source → target") and the system's reason.
struct Fault {
  std::string subject;
  int err = 0;
};

struct JournalLine {
  std::string key;
  std::vector<std::string> fields;
};

// Names no log, old log, backup or list of the host ever takes: they begin
// with "~KIV-" and carry a random id (invariant (1)).
std::string NewTransactionId();
std::string JournalName(const std::string& id);
std::string TempName(const std::string& id, std::size_t index);

// A name a journal gives is acted on only when it names a file in the forum
// folder itself: no separator, no "." or "..", no drive, no control byte.
bool IsPlainName(const std::string& name);

// Whether a journal a run cut short left in the folder has a line with that
// key whose first field is name: a file such a journal may still need is not
// for another command to replace. Journals live runs hold are not looked at.
bool NamedByAJournal(const std::string& folder, const std::string& key, const std::string& name);

class Journal;
// Whether every name the journal's lines give is plain, and every temporary
// file it names is its own.
bool NamesStayInside(const Journal& journal);

class Journal {
 public:
  using State = JournalState;

  // Destroying a journal lets go of its file (and lock) and leaves the file
  // for a repair.
  Journal() = default;
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // Creates the journal of a new transaction, exclusively, with the plan and
  // its "begin" line, and makes it durable with its name.
  bool Create(const std::string& folder, const std::string& id, const std::vector<JournalLine>& plan, Fault* fault);
  // Adds lines and the "commit" line, durably.
  bool Commit(const std::vector<JournalLine>& lines, Fault* fault);
  // Deletes the journal once its transaction is whole, durably.
  bool Remove(Fault* fault);

  // Opens a journal found in the folder, for a repair. False when it can't be
  // read, or when a live run holds it (*busy then true).
  bool OpenExisting(const std::string& folder, const std::string& name, bool* busy, Fault* fault);

  State state() const { return state_; }
  // The lines before the last whole "begin" or "commit" line.
  const std::vector<JournalLine>& lines() const { return lines_; }
  // The first line with that key, or null.
  const JournalLine* Find(const std::string& key) const;
  const std::string& name() const { return name_; }
  // Whether name is one of this journal's temporary files: its name carries
  // the journal's own id.
  bool OwnsTemp(const std::string& name) const;

 private:
  bool WriteDurably(const std::string& text, Fault* fault);

  plat::LockedFile file_;
  std::string folder_;
  std::string name_;
  std::string written_;  // everything in the file so far
  State state_ = State::Torn;
  std::vector<JournalLine> lines_;
};

}  // namespace commit
