#pragma once
#include <string>

namespace plat {

// What the programs write stays inside the shared log folder. A name in a
// folder may be a link, and a link may lead anywhere: to a file elsewhere,
// to a device, or nowhere yet (an open that creates would then create the
// file where it points).
//
// True when path, every link on its last component followed, stays inside
// root and names a regular file or nothing yet. Otherwise false with *err
// set: kErrOutsideFolder, kErrNotRegularFile, EISDIR, ELOOP, or the errno of
// a look that failed (err may be null).
bool IsConfinedFile(const std::string& root, const std::string& path, int* err = nullptr);

// The folder's real location, every link resolved; empty when it can't be
// resolved.
std::string RealFolder(const std::string& folder);

// Whether the real location realPath lies in realRoot or is realRoot.
bool LiesWithin(const std::string& realRoot, const std::string& realPath);

}  // namespace plat
