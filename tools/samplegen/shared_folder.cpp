#include "tools/samplegen/shared_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"
#include "tools/samplegen/message_fields.h"
#include "tools/samplegen/prng.h"
#include "tools/samplegen/room_list.h"
#include "tools/samplegen/text_pool.h"

namespace samplegen {

namespace {

constexpr int kTopLevelForums = 2;
constexpr std::uint64_t kForumStream = 0xF02;

bool MakeFolder(const std::string& path, std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (!ec) return true;
  *error = path + ": " + ec.message();
  return false;
}

std::string RoomFileName(char kindMark, int room) {
  char name[16];
  std::snprintf(name, sizeof name, "MES%c%02d.LOG", kindMark, room);
  return name;
}

// Writes a small text file (LF -> CR LF) and gives it a time.
bool WriteSmallFile(const std::string& path, const std::string& text, const CivilTime& when,
                    std::string* error) {
  plat::TextWriter out;
  if (!out.Open(path, plat::TextWriter::Mode::CreateNew) || !out.Write(text) || !out.Close()) {
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

std::string ArchiveName(char kindMark, const CivilTime& month, char letter) {
  char name[20];
  std::snprintf(name, sizeof name, "AR%c%02d%02d%c.LOG", kindMark, month.year % 100, month.month, letter);
  return name;
}

// The old logs of room 1 as an earlier split would have left them: body and
// title log of the archived numbers, and AR.LST naming the body one, plus a
// line for an older old log that the user has since deleted.
bool WriteArchive(ForumResult& forum, const RoomResult& room, const LogOptions& base, int archived,
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
  LogResult body = WriteLogFile(plat::JoinPath(forum.path, bodyName), o);
  if (!body.ok) return *error = body.error, false;
  o.kind = LogKind::Title;
  o.meanLines = body.meanLines;
  LogResult title = WriteLogFile(plat::JoinPath(forum.path, ArchiveName('#', splitDay, 'A')), o);
  if (!title.ok) return *error = title.error, false;

  const CivilTime gone = AddMinutes(start, -40 * 1440);
  std::string goneHeader = CurrentLogHeaderLine(forum.name, room.room, room.name, gone);
  goneHeader.insert(goneHeader.size() - tail.size(), range);
  forum.archiveLines.push_back("M " + ArchiveName('_', gone, 'A') + " " + goneHeader);
  forum.archiveLines.push_back("M " + bodyName + " " + o.forumHeaderLine);
  std::string text;
  for (const std::string& line : forum.archiveLines) text += line + "\n";
  return WriteSmallFile(plat::JoinPath(forum.path, "AR.LST"), text, splitDay, error);
}

bool WriteForum(ForumResult& forum, int forumIndex, const SharedFolderOptions& opt,
                std::string* error) {
  const TextPool& pool = TextPool::Get();
  Prng rng(DeriveSeed(opt.seed, kForumStream, static_cast<std::uint64_t>(forumIndex)));
  if (!MakeFolder(forum.path, error)) return false;
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
    if (!unnamed) rr.name = pool.roomNames()[static_cast<std::size_t>(forumIndex * 3 + room - 1) % pool.roomNames().size()];

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
      if (!WriteArchive(forum, rr, o, archived, error)) return false;
      o.first += archived;
      o.messages -= archived;
      o.start = AddMinutes(MessageTime(o.seed, room, archived - 1, *o.start), 75);
    }
    // Even rooms use the three-column layouts when their numbers fit.
    const bool narrow = room % 2 == 0 && opt.sizeBytes == 0 && o.first + o.messages - 1 <= 999;
    o.layout = narrow ? HeaderTemplate::Body3 : HeaderTemplate::Body5;
    rr.bodyPath = plat::JoinPath(forum.path, RoomFileName('_', room));
    rr.body = WriteLogFile(rr.bodyPath, o);
    if (!rr.body.ok) return *error = rr.body.error, false;

    o.kind = LogKind::Title;
    o.layout = TitleTemplateFor(*o.layout);
    o.messages = rr.body.messages;
    o.targetBytes = 0;
    o.meanLines = rr.body.meanLines;
    o.mixed = false;
    rr.titlePath = plat::JoinPath(forum.path, RoomFileName('#', room));
    rr.title = WriteLogFile(rr.titlePath, o);
    if (!rr.title.ok) return *error = rr.title.error, false;

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
  int err = 0;
  if (!plat::SetFileTime(roomList, ToLocalTime(latest), &err)) {
    *error = roomList + ": " + std::strerror(err);
    return false;
  }
  return true;
}

// The host's home-page folder: not a forum, though it holds a log-named file.
bool WriteHomePage(const std::string& dir, std::uint64_t seed, std::string* error) {
  const std::string hp = plat::JoinPath(dir, "HP");
  if (!MakeFolder(hp, error)) return false;
  const CivilTime when = DefaultStart(seed, 99);
  if (!WriteSmallFile(plat::JoinPath(hp, "INDEX.HTM"),
                      "<html><head><title>HP</title></head><body></body></html>\n", when, error))
    return false;
  LogOptions o;
  o.seed = seed;
  o.forumName = "HP";
  o.messages = 2;
  LogResult r = WriteLogFile(plat::JoinPath(hp, "MES_01.LOG"), o);
  if (!r.ok) *error = r.error;
  return r.ok;
}

}  // namespace

SharedFolderResult GenerateSharedFolder(const std::string& dir, const SharedFolderOptions& opt) {
  SharedFolderResult result;
  if (!MakeFolder(dir, &result.error)) return result;
  const int forums = std::max(1, opt.forums);
  for (int i = 0; i < forums; ++i) {
    ForumResult forum;
    forum.name = "FORUM" + std::to_string(i + 1);
    forum.path = i < kTopLevelForums ? plat::JoinPath(dir, forum.name)
                                     : plat::JoinPath(plat::JoinPath(dir, "GROUP1"), forum.name);
    if (!WriteForum(forum, i, opt, &result.error)) return result;
    result.forums.push_back(std::move(forum));
  }
  if (!WriteHomePage(dir, opt.seed, &result.error)) return result;
  result.ok = true;
  return result;
}

}  // namespace samplegen
