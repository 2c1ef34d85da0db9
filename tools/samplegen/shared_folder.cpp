#include "tools/samplegen/shared_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"
#include "tools/samplegen/made_paths.h"
#include "tools/samplegen/message_fields.h"
#include "tools/samplegen/prng.h"
#include "tools/samplegen/room_list.h"
#include "tools/samplegen/text_pool.h"

namespace samplegen {

namespace {

constexpr int kTopLevelForums = 2;
constexpr std::uint64_t kForumStream = 0xF02;

std::string RoomFileName(char kindMark, int room) {
  char name[16];
  std::snprintf(name, sizeof name, "MES%c%02d.LOG", kindMark, room);
  return name;
}

// Writes a small text file (LF -> CR LF) and gives it a time.
bool WriteSmallFile(const std::string& path, const std::string& text, const CivilTime& when, MadePaths& made,
                    std::string* error) {
  plat::TextWriter out;
  if (!out.Open(path, plat::TextWriter::Mode::CreateNew)) {
    *error = path + ": " + std::strerror(out.error());
    return false;
  }
  made.File(path);
  if (!out.Write(text) || !out.Close()) {
    *error = path + ": " + std::strerror(out.error());
    return false;
  }
  int err = 0;
  if (!plat::SetFileTime(path, ToLocalTime(when), &err)) {
    *error = path + ": " + std::strerror(err);
    return false;
  }
  return true;
}

// Writes one log and notes it as made.
bool WriteLog(const std::string& path, const LogOptions& o, MadePaths& made, LogResult* result, std::string* error) {
  *result = WriteLogFile(path, o);
  if (!result->ok) {
    *error = result->error;
    return false;
  }
  made.File(path);
  return true;
}

std::string ArchiveName(char kindMark, const CivilTime& month, char letter) {
  char name[20];
  std::snprintf(name, sizeof name, "AR%c%02d%02d%c.LOG", kindMark, month.year % 100, month.month, letter);
  return name;
}

// The old logs of room 1 as an earlier split would have left them: body and
// title log of the archived numbers, and AR.LST naming the body one, plus a
// line for an older old log that the user has since deleted.
bool WriteArchive(ForumResult& forum, const RoomResult& room, const LogOptions& base, int archived, MadePaths& made,
                  std::string* error) {
  LogOptions o = base;
  o.messages = archived;
  o.targetBytes = 0;
  o.meanLines = 0;
  o.mixed = false;
  o.layout.reset();
  const CivilTime start = *o.start;
  const CivilTime splitDay = MessageTime(o.seed, o.room, archived - 1, start);
  char range[48];
  std::snprintf(range, sizeof range, "(%05d-%05d)", o.first, o.first + archived - 1);
  std::string header = CurrentLogHeaderLine(forum.name, room.room, room.name, splitDay);
  // The old-log line carries the range right after the room name.
  const std::string tail = header.substr(header.size() - std::string(" 98/02/10 -").size());
  o.forumHeaderLine = header.substr(0, header.size() - tail.size()) + range + tail;
  const std::string bodyName = ArchiveName('_', splitDay, 'A');
  o.kind = LogKind::Body;
  LogResult body;
  if (!WriteLog(plat::JoinPath(forum.path, bodyName), o, made, &body, error)) return false;
  o.kind = LogKind::Title;
  o.meanLines = body.meanLines;
  LogResult title;
  if (!WriteLog(plat::JoinPath(forum.path, ArchiveName('#', splitDay, 'A')), o, made, &title, error)) return false;

  const CivilTime gone = AddMinutes(start, -40 * 1440);
  std::string goneHeader = CurrentLogHeaderLine(forum.name, room.room, room.name, gone);
  goneHeader.insert(goneHeader.size() - tail.size(), range);
  forum.archiveLines.push_back("M " + ArchiveName('_', gone, 'A') + " " + goneHeader);
  forum.archiveLines.push_back("M " + bodyName + " " + o.forumHeaderLine);
  std::string text;
  for (const std::string& line : forum.archiveLines) text += line + "\n";
  return WriteSmallFile(plat::JoinPath(forum.path, "AR.LST"), text, splitDay, made, error);
}

bool WriteForum(ForumResult& forum, int forumIndex, const SharedFolderOptions& opt, MadePaths& made,
                std::string* error) {
  const TextPool& pool = TextPool::Get();
  Prng rng(DeriveSeed(opt.seed, kForumStream, static_cast<std::uint64_t>(forumIndex)));
  if (!made.Folder(forum.path, error)) return false;
  const std::string forumName = plat::Utf8ToCp932(forum.name);
  std::vector<RoomLine> table;
  CivilTime latest{1990, 1, 1, 0, 0};
  const int rooms = std::clamp(opt.rooms, 1, 20);
  for (int room = 1; room <= rooms; ++room) {
    RoomResult rr;
    rr.room = room;
    // The second forum's last room has no name in the room list, as the host
    // leaves a room it has not fetched the title of.
    const bool unnamed = forumIndex == 1 && room == rooms && rooms > 1;
    if (!unnamed)
      rr.name = pool.roomNames()[static_cast<std::size_t>(forumIndex * 3 + room - 1) % pool.roomNames().size()];

    LogOptions o;
    o.seed = DeriveSeed(opt.seed, kForumStream, static_cast<std::uint64_t>(forumIndex), 1);
    o.room = room;
    o.forumName = forumName;
    o.roomName = rr.name;
    o.first = opt.first;
    o.messages = opt.messages > 0 ? opt.messages : rng.Between(8, 40);
    o.targetBytes = opt.sizeBytes;
    o.maxNumber = opt.maxNumber;
    o.shuffle = opt.shuffle;
    o.longLines = opt.longLines;
    o.mixed = opt.mixed && forumIndex == 0 && room == 1;
    o.start = DefaultStart(o.seed, room);

    int archived = 0;
    if (opt.archive && room == 1 && opt.sizeBytes == 0 && o.messages >= 4) {
      archived = o.messages / 2;
      if (!WriteArchive(forum, rr, o, archived, made, error)) return false;
      o.first += archived;
      o.messages -= archived;
      o.start = AddMinutes(MessageTime(o.seed, room, archived - 1, *o.start), 75);
    }
    // Even rooms use the three-column layouts when their numbers fit.
    const bool narrow = room % 2 == 0 && opt.sizeBytes == 0 && o.first + o.messages - 1 <= 999;
    o.layout = narrow ? HeaderTemplate::Body3 : HeaderTemplate::Body5;
    rr.bodyPath = plat::JoinPath(forum.path, RoomFileName('_', room));
    if (!WriteLog(rr.bodyPath, o, made, &rr.body, error)) return false;

    o.kind = LogKind::Title;
    o.layout = TitleTemplateFor(*o.layout);
    o.messages = rr.body.messages;
    o.targetBytes = 0;
    o.meanLines = rr.body.meanLines;
    o.mixed = false;
    rr.titlePath = plat::JoinPath(forum.path, RoomFileName('#', room));
    if (!WriteLog(rr.titlePath, o, made, &rr.title, error)) return false;

    if (MinutesSinceEpoch(rr.body.lastTime) > MinutesSinceEpoch(latest)) latest = rr.body.lastTime;
    RoomLine line;
    line.room = room;
    line.messages = rr.body.messages + archived;
    line.unread = static_cast<int>(rng.Below(static_cast<std::uint32_t>(std::min(rr.body.messages, 9) + 1)));
    line.highest = rr.body.highest;
    line.name = rr.name;
    table.push_back(line);
    forum.rooms.push_back(std::move(rr));
  }
  const std::string title = pool.forumTitles()[static_cast<std::size_t>(forumIndex) % pool.forumTitles().size()];
  const std::string roomList = plat::JoinPath(forum.path, "MES.LOG");
  if (!WriteRoomList(roomList, forumName, title, latest, table, false, error)) return false;
  made.File(roomList);
  int err = 0;
  if (!plat::SetFileTime(roomList, ToLocalTime(latest), &err)) {
    *error = roomList + ": " + std::strerror(err);
    return false;
  }
  return true;
}

// The host's home-page folder: not a forum, though it holds a log-named file.
bool WriteHomePage(const std::string& dir, std::uint64_t seed, MadePaths& made, std::string* error) {
  const std::string hp = plat::JoinPath(dir, "HP");
  if (!made.Folder(hp, error)) return false;
  const CivilTime when = DefaultStart(seed, 99);
  if (!WriteSmallFile(plat::JoinPath(hp, "INDEX.HTM"), "<html><head><title>HP</title></head><body></body></html>\n",
                      when, made, error))
    return false;
  LogOptions o;
  o.seed = seed;
  o.forumName = "HP";
  o.messages = 2;
  LogResult r;
  return WriteLog(plat::JoinPath(hp, "MES_01.LOG"), o, made, &r, error);
}

}  // namespace

SharedFolderResult GenerateSharedFolder(const std::string& dir, const SharedFolderOptions& opt) {
  SharedFolderResult result;
  MadePaths made;
  // A run that fails part way takes back what it made: the folder is then
  // as it was, and the same run can be tried again once the cause is gone.
  auto fail = [&]() {
    made.TakeBack();
    result.forums.clear();
    return result;
  };
  if (!made.Folder(dir, &result.error)) return fail();
  const int forums = std::max(1, opt.forums);
  for (int i = 0; i < forums; ++i) {
    ForumResult forum;
    forum.name = "FORUM" + std::to_string(i + 1);
    forum.path = i < kTopLevelForums ? plat::JoinPath(dir, forum.name)
                                     : plat::JoinPath(plat::JoinPath(dir, "GROUP1"), forum.name);
    if (!WriteForum(forum, i, opt, made, &result.error)) return fail();
    result.forums.push_back(std::move(forum));
  }
  if (!WriteHomePage(dir, opt.seed, made, &result.error)) return fail();
  result.ok = true;
  return result;
}

}  // namespace samplegen
