// File names as the file system takes them. On Linux a name is the bytes the
// dialog gave, in whatever encoding it was made, and is never converted on
// its way to the file; on Windows it is UTF-16 and is never narrowed.
#pragma once

#include <string>
#include <string_view>

namespace plumet::text {

#ifdef _WIN32
using PathChar = wchar_t;
#else
using PathChar = char;
#endif
using SystemPath = std::basic_string<PathChar>;

// The rest of the program names files in UTF-8 (dialog results, command
// lines, test folders); these cross to and from the file system's form. On
// Linux both are the bytes as they are.
SystemPath SystemPathFromUtf8(std::string_view utf8);
std::string Utf8FromSystemPath(const SystemPath& path);

}  // namespace plumet::text
