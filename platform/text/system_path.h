// File names as the file system takes them. On Linux a name is the bytes the
// dialog gave, in whatever encoding it was made, and is never converted on
// its way to the file; a Windows build makes these UTF-16.
#pragma once

#include <string>

namespace plumet::text {

using PathChar = char;
using SystemPath = std::basic_string<PathChar>;

}  // namespace plumet::text
