// Writing a file so that a failed write never costs the file that was there.
#pragma once

#include <functional>
#include <string>

namespace plumet::codecs {

// Makes the file at the path it is given; true when it was written whole.
using FileWriter = std::function<bool(const std::string& path)>;

// Makes target through write. A regular file, or a name not taken yet, is
// written as a temporary file in the same folder, flushed to disk and then
// renamed over the target. A symbolic link is followed: the file it points
// to is replaced and the link stays. An existing file keeps its permissions
// and, where the process may keep it, its owner. A target that is not a
// regular file (a device, a pipe) is written in place; a folder is refused.
// On any failure the temporary file is removed and the target stays as it was.
bool WriteFileSafely(const std::string& target, const FileWriter& write);

}  // namespace plumet::codecs
