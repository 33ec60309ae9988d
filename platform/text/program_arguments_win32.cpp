#include "platform/text/program_arguments.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/text/system_path.h"

namespace plumet::text {

// The C runtime's argv is the command line in the ANSI code page: read the
// UTF-16 one instead.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromSystemPath(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

}  // namespace plumet::text
