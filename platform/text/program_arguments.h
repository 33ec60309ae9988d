// The program's command line as UTF-8 text, the form the rest of the code
// names files in (SystemPathFromUtf8 turns them back into the system's).
// On Linux the arguments are the bytes given; on Windows they come from the
// UTF-16 command line, so that no name is narrowed to the ANSI code page.
#pragma once

#include <string>
#include <vector>

namespace plumet::text {

// Every argument, the program's name first; argc and argv are main's.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace plumet::text
