// Reading a replay script: a file, or standard input for "-". What cannot
// be a script is refused with a reason instead of being taken as an empty
// script (a folder) or read without end (/dev/zero).
#pragma once

#include <cstddef>
#include <string>

namespace plumet::replay {

// A script line longer than this is a script error; no command needs more
// than a path.
inline constexpr std::size_t kMaxScriptLine = 4096;
// Nor is a whole script this large.
inline constexpr std::size_t kMaxScriptBytes = std::size_t{64} << 20;

struct ScriptFile {
  std::string text;
  std::string error;  // empty when the script was read
};

ScriptFile ReadScriptFile(const std::string& name);

}  // namespace plumet::replay
