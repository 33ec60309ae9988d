// plumet-replay SCRIPT: runs the real program on the in-memory desktop as
// the script says. Exit 0: all went as written; 1: an expectation failed;
// 2: the script is wrong or a step could not be done.
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/backend/headless/replay_runner.h"
#include "platform/framework/framework.h"
#include "tools/plumet-replay/framework_program.h"

int main(int argc, char** argv) {
  using namespace plumet::backend::headless;
  if (argc != 2) {
    std::cerr << "usage: plumet-replay SCRIPT   (- reads the script from standard input)\n";
    return kReplayScriptError;
  }
  const std::string name = argv[1];
  std::stringstream script;
  if (name == "-") {
    script << std::cin.rdbuf();
  } else {
    std::ifstream file(name, std::ios::binary);
    if (!file) {
      std::cerr << "plumet-replay: cannot read " << name << '\n';
      return kReplayScriptError;
    }
    script << file.rdbuf();
  }

  HeadlessDesktop desktop;
  AfxSetBackend(&desktop);
  FrameworkProgram program(desktop);
  const int exitCode = RunReplay(script.str(), desktop, program, std::cout, std::cerr);
  AfxSetBackend(nullptr);  // the desktop dies with main; the framework lives on
  return exitCode;
}
