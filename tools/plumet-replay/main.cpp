// plumet-replay SCRIPT: runs the real program on the in-memory desktop as
// the script says. Exit 0: all went as written; 1: an expectation failed;
// 2: the script is wrong or cannot be read, or a step could not be done.
#include <iostream>
#include <string>
#include <vector>

#include "tools/plumet-replay/replay_runner.h"
#include "platform/framework/framework.h"
#include "platform/text/program_arguments.h"
#include "tools/plumet-replay/framework_program.h"
#include "tools/plumet-replay/script_file.h"

int main(int argc, char** argv) {
  using namespace plumet::replay;
  using plumet::backend::headless::HeadlessDesktop;
  const std::vector<std::string> arguments = plumet::text::ProgramArguments(argc, argv);
  if (arguments.size() != 2) {
    std::cerr << "usage: plumet-replay SCRIPT   (- reads the script from standard input)\n";
    return kReplayScriptError;
  }
  const ScriptFile script = ReadScriptFile(arguments[1]);
  if (!script.error.empty()) {
    std::cerr << "plumet-replay: " << script.error << '\n';
    return kReplayScriptError;
  }

  HeadlessDesktop desktop;
  AfxSetBackend(&desktop);
  FrameworkProgram program(desktop);
  const int exitCode = RunReplay(script.text, desktop, program, std::cout, std::cerr);
  AfxSetBackend(nullptr);  // the desktop dies with main; the framework lives on
  return exitCode;
}
