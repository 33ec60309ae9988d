// Writing a file so that a failed write never costs the file that was there.
#pragma once

#include <functional>

#include "platform/text/system_path.h"

namespace plumet::codecs {

using text::SystemPath;

// Makes the file at the path it is given; true when it was written whole.
using FileWriter = std::function<bool(const SystemPath& path)>;

// Makes target through write. A regular file, or a name not taken yet, is
// written as a temporary file in the same folder, checked, flushed to disk
// and then renamed over the target. A symbolic link is followed: the file it
// points to is replaced and the link stays. An existing file keeps its
// permissions and, where the process may keep it, its owner. A device is
// written in place; a folder, a pipe or a socket is refused, so that a pipe
// nobody reads cannot hold the program. SIGTERM, SIGHUP and SIGINT wait while
// a temporary exists, so a logout ends the program only after it is gone.
// On any failure the temporary file is removed, the target stays as it was
// and errno tells why: the system's error, or 0 when the writer failed
// without one.
bool WriteFileSafely(const SystemPath& target, const FileWriter& write);

}  // namespace plumet::codecs
