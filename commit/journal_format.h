#pragma once
#include <cstddef>
#include <cstdint>

// The journal's format and the rules every commit in a forum folder keeps,
// in one place. The bytes named here are what earlier runs wrote and later
// runs read: a journal left by any run must still be read, so names in the
// code may change, these bytes may not.
//
// A journal is a text file "~KIV-<id>.JNL" in the forum folder:
//
//   KIV-JOURNAL 1
//   <key> <field> <field> ...      the plan
//   begin <sum>
//   <key> <field> <field> ...      what the commit needs to know (may be none)
//   commit <sum>
//
// Each <sum> is the FNV-1a sum (16 hex digits) of every byte before its
// line. Fields are escaped: a byte at or below the space, DEL and "%" are
// written as "%XX", so a field never holds a space or a line end.
//
// The commit's invariants. The code cites them by number.
//
// (1) A journal is created exclusively under a name no log, old log, backup
//     or list of the host ever takes ("~KIV-" and a random id), written with
//     its plan and "begin" line and synced, and its name made durable by a
//     sync of the folder, before any file it names is made or touched. A
//     journal that could not be made whole is deleted again.
//
// (2) A journal only grows. Lines count only up to the last whole checkpoint
//     ("begin", "commit") whose sum matches the bytes before it; a tail past
//     it is what a power cut leaves, and is ignored.
//
// (3) A split's outputs (its old logs and the log's new file) are written
//     and synced under the journal's own temporary names ("~KIV-<id>-<n>.TMP")
//     before the commit line is written. Until then the log is never
//     touched: a split whose journal is not committed is taken back by
//     deleting its temporary files, and nothing else.
//
// (4) Just before a split's commit line is written, the log is compared with
//     what the split read. The lines written with the commit line carry the
//     log's identity, size and time as read ("source") and the outputs'
//     identities as written ("written"); all of it is synced before the
//     first rename.
//
// (5) No rename replaces an existing file, and no file is deleted to make
//     room for one, except:
//       - the log's new file takes the log's name in one step while the log's
//         old file is also under the backup name;
//       - in an undo, the backup takes the log's name in one step while the
//         log's file is also under the undo's temporary name;
//       - in a repair, the backup, with every byte the host wrote into a new
//         log appended and compared, takes the log's name from that new log;
//       - a split's backup name may be freed of an older file when the user
//         agreed to replace it and no journal left by a run cut short names
//         that backup.
//     So the log's name holds a whole log at every instant where the file
//     system allows a file two names; where it does not, the log's name
//     stands empty, never truncated, until the commit or the repair fills it.
//
// (6) A split's renames and deletions, whether it is finished or taken
//     back, are followed by a sync of the folder before its journal is
//     deleted; so are an undo's deletions of old logs. Every byte an append
//     writes is synced before its journal is deleted. Deleting a journal is
//     itself followed by a sync of the folder.
//
// (7) A split's journal is deleted once its commit is whole, or, when its
//     old logs are owed lines in the history file and AR.LST, once the run
//     has written them; a run that dies first leaves them to the next run,
//     which writes only what the files lack, for the old logs still standing.
//
// (8) An undo's journal is committed before the log is looked at a last
//     time and before anything is renamed. The file the backup displaces
//     keeps the undo's temporary name, named by the journal, until the run
//     ends: it is deleted only if nobody wrote into it since (same file,
//     size and time), else kept under a name of its own ("<log>.Unn").
//     Old logs are deleted only while they are the files the journal names.
//
// (9) An append's journal holds the file's size and last bytes before the
//     append and the whole block, and is committed before the file is
//     touched. A failed append takes back only its own bytes, and only while
//     the file holds what it held before and then nothing but the start of
//     the block; a repair never takes back, it adds the lines of the block
//     the file lacks.
//
// (10) The repair runs under the forum's lock and leaves alone every
//      journal a live run holds locked. It resolves appends, then undos,
//      then splits. A split not committed is taken back (3). A committed
//      split is finished when its new log has left its temporary name, or
//      when the log (or, where it had moved to the backup name, the backup)
//      is still exactly what the split read (4); otherwise it is taken back,
//      for the host's new messages would be left behind. Taking back
//      deletes only files that are still the ones the journal says it made
//      (3, 4), and gives the log its name back under (5). Every step looks
//      at the folder first, so a repair cut short is finished by the next.
//
// (11) A journal is acted on only when every name it gives is a plain name
//      in the forum folder and every temporary file it names carries its own
//      id. One that breaks this, that no run wrote (another version, a broken
//      sum, bytes no journal holds, a command no run knows), or that is not
//      committed although the folder shows its split had begun, is set
//      aside: only the temporary files named after its own id are deleted,
//      and the journal is renamed, without replacing anything, to
//      "~KIV-<id>.BAD" (or "~KIV-<id>-<n>.BAD"), where no later run takes it
//      up and the user sees it.
//
// (12) A journal cut off before its "begin" line, with no temporary file of
//      its own id in the folder, is what a crash while it was written
//      leaves (1): nothing it names was made, and it is deleted in silence.
//      With such a file, the cut came later, from a damaged disk, and the
//      journal is set aside (11).

namespace commit {

// How a commit, or the repair of one, ended.
enum class Outcome {
  Done,       // every file is in its place
  TakenBack,  // the folder is as it was before (a fault is told)
  Stuck,      // neither could be reached now; the journal stays for the next run
};

// What a journal read back holds. Torn: cut off before its "begin" line
// (12). Begun: the plan is whole. Committed: the commit line is whole.
// Damaged: not what any run writes (11), so it is not acted on.
enum class JournalState { Torn, Begun, Committed, Damaged };

namespace journal_format {

inline constexpr char kFirstLine[] = "KIV-JOURNAL 1\n";
inline constexpr char kBegin[] = "begin";    // begin <sum>
inline constexpr char kCommit[] = "commit";  // commit <sum>

// The names Kiv's own files in a forum folder take.
inline constexpr char kNamePrefix[] = "~KIV-";
inline constexpr char kJournalSuffix[] = ".JNL";   // ~KIV-<id>.JNL
inline constexpr char kTempSuffix[] = ".TMP";      // ~KIV-<id>-<n>.TMP
inline constexpr char kSetAsideSuffix[] = ".BAD";  // ~KIV-<id>.BAD, ~KIV-<id>-<n>.BAD
inline constexpr char kJournalPattern[] = "~KIV-*.JNL";
inline constexpr char kTempPattern[] = "~KIV-*.TMP";

// Flags are one field each.
inline constexpr char kYes[] = "1";
inline constexpr char kNo[] = "0";

// op <command>: the first line of every plan.
inline constexpr char kOp[] = "op";
inline constexpr char kOpSplit[] = "split";
inline constexpr char kOpUndo[] = "undo";
inline constexpr char kOpAppend[] = "append";

// A file's identity as a split's commit line gives it: <device> <inode>
// <size> <mtime>, the time in seconds.
inline constexpr std::size_t kIdentityFields = 4;

// A split's journal. The plan, in this order:
namespace split {
inline constexpr char kLog[] = "log";  // log <log name>
inline constexpr std::size_t kLogFields = 1;
inline constexpr char kBackup[] = "backup";  // backup <backup name> <kYes: an older file there may go>
inline constexpr std::size_t kBackupFields = 2;
inline constexpr char kOutput[] = "output";  // output <temporary name> <final name>, the log's new file last
inline constexpr std::size_t kOutputFields = 2;
// Only when the old logs are owed lines (7):
// aftercare <history file> <stamp> <export asked> <archive form> <title log>
inline constexpr char kAftercare[] = "aftercare";
inline constexpr std::size_t kAftercareFields = 5;
inline constexpr char kRecord[] = "record";  // record <old log name> <header line (CP932)>, one per old log
inline constexpr std::size_t kRecordFields = 2;
// After "begin" (4):
inline constexpr char kSource[] = "source";    // source <identity>: the log as the split read it
inline constexpr char kWritten[] = "written";  // written <identity>, one per output, in the outputs' order
}  // namespace split

// An undo's journal: the plan, committed with no further lines (8).
namespace undo {
inline constexpr char kLog[] = "log";  // log <log name>
inline constexpr std::size_t kLogFields = 1;
inline constexpr char kBackup[] = "backup";  // backup <backup name> <device> <inode>
inline constexpr char kOldLog[] = "oldlog";  // oldlog <old log name> <device> <inode>, one per old log
inline constexpr std::size_t kNamedFields = 3;
// displaced <temporary name> <device> <inode> <size> <mtime>: the name the
// log's file keeps, and the log as the undo last saw it
inline constexpr char kDisplaced[] = "displaced";
inline constexpr std::size_t kDisplacedFields = 5;
}  // namespace undo

// An append's journal: the plan, committed with no further lines (9). Each
// line has one field.
namespace append {
inline constexpr char kFile[] = "file";  // file <name of the list>
inline constexpr char kSize[] = "size";  // size <length before in decimal, kWasMissing when there was no file>
inline constexpr std::int64_t kWasMissing = -1;
inline constexpr char kTail[] = "tail";  // tail <the file's last bytes before the append, up to 256>
inline constexpr char kData[] = "data";  // data <the block, in the file's form>
inline constexpr std::size_t kFields = 1;
}  // namespace append

// No run writes it; a journal that has one still has its name checked (11).
inline constexpr char kKeep[] = "keep";  // keep <name>

}  // namespace journal_format
}  // namespace commit
