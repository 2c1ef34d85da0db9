#pragma once
#include <string>
#include <string_view>

#include "commit/aftercare.h"

// What a file's name says about it. Case is folded for ASCII letters only:
// file names here are UTF-8 (or CP932) bytes, and neither has an ASCII byte
// inside a multibyte character of a UTF-8 name, so folding bytewise never
// invents a "MES_" that is not there.

// The pattern the entry rescan lists a forum folder with.
inline constexpr const char kLogFilePattern[] = "MES*.LOG";
// The host's room list: never an entry of its own.
inline constexpr const char kRoomListName[] = "MES.LOG";
// The forum's archive list: the header export appends to it, and TORBLEN
// brings it back in line with the files on disk.
inline constexpr const char* kArchiveListName = commit::kArchiveListFile;

// An ASCII letter in upper case; every other byte as it is.
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when a and b are the same bytes but for the case of ASCII letters:
// how the host's file system tells names apart.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// The folder scan's test: does this file make its folder a forum folder?
// True when the upper-cased name holds "MES_" or "MES#" and also ".LOG",
// or when it is MES.LOG in any case.
bool CountsAsLogFile(std::string_view name);

// True for MES.LOG in any case.
bool IsRoomListName(std::string_view name);

// The kind a name gives: the fourth character "#" is a title log, "_" a body
// log, anything else unknown (LogKind values).
int LogKindFromName(std::string_view name);

// The room number a name gives: the name without its last extension, read as
// a number from its fifth character on (0 when there is none).
int RoomFromName(std::string_view name);
