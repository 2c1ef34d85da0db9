#pragma once
#include <string>

namespace plat {

// The system's reason for an errno value, in Japanese, for the file-error report.
std::string FileErrorReason(int err);

// The text of the standard file-error report: the file (or "source → target")
// and the reason. Every front end shows this same text.
std::string FileErrorText(const std::string& file, int err);

// "source → target", the way a failed rename is named.
std::string RenameSubject(const std::string& source, const std::string& target);

}  // namespace plat
