#pragma once
// The Windows side of the platform layer: names are UTF-8 inside the
// program and UTF-16 at every call into the system. Only the files of
// platform/win32 include this; none of them lets <windows.h> out, whose
// macros (DeleteFile, ReplaceFile, SetFileTime...) would rename the
// platform's own functions everywhere else.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/file_ops.h"

namespace plat::win32 {

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view utf16);

// A path for the system's file calls: UTF-16, "/" turned into "\", and the
// "\\?\" form for a long absolute path, so that a forum folder deep in the
// tree does not fall over the old 260-character limit.
std::wstring SystemPath(const std::string& path);

// The errno value the file-error report knows for a system error code.
int ErrnoFrom(unsigned long systemError);
// ErrnoFrom(GetLastError()).
int LastErrno();

// A file time (100 ns steps since 1601, UTC) in whole seconds since 1970,
// and back.
std::time_t TimeFromFileTime(std::uint64_t fileTime);
std::uint64_t FileTimeFromTime(std::time_t t);

// Which file an open handle leads to (volume serial number and file index),
// its 64-bit size and whole-second last-write time; 0 or the error.
int IdentityOf(void* handle, FileIdentity* identity, bool* isDirectory = nullptr);

// The read, write and delete sharing every open of the platform allows: the
// host keeps writing its logs, and a log open here can still be renamed.
constexpr unsigned long kShareAll = 0x7;  // FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE

}  // namespace plat::win32
