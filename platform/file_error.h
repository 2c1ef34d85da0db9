#pragma once
#include <cerrno>
#include <string>

// Windows' C runtime has no errno values for these two reasons; the
// platform layer gives them values of its own there, clear of the others.
#ifndef ESTALE
#define ESTALE 0x10003  // the file was changed by another program meanwhile
#endif
#ifndef EDQUOT
#define EDQUOT 0x10004  // the disk quota is used up
#endif

namespace plat {

// Reasons of the system's own, beyond errno, for files it refuses to use.
// They stay clear of every errno value.
inline constexpr int kErrNotRegularFile = 0x10001;  // a FIFO, a device, a socket in a file's place
inline constexpr int kErrOutsideFolder = 0x10002;   // a link that leads out of the shared log folder

// The system's reason for an errno value, in Japanese, for the file-error report.
std::string FileErrorReason(int err);

// The text of the standard file-error report: the file (or "source → target")
// and the reason. Every front end shows this same text.
std::string FileErrorText(const std::string& file, int err);

// "source → target", the way a failed rename is named.
std::string RenameSubject(const std::string& source, const std::string& target);

}  // namespace plat
