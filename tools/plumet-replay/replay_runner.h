// Runs a replay script: checks it whole, then drives the program on the
// in-memory desktop line by line. The program side (start, naming windows)
// comes from the caller, so that this runner needs no framework.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/backend/headless/headless_desktop.h"
#include "tools/plumet-replay/replay_script.h"

namespace plumet::replay {

class ReplayProgram {
 public:
  virtual ~ReplayProgram() = default;
  // Runs the program on the desktop; returns when it has ended.
  virtual void Start() = 0;
  // What takes pointer input at a screen point: board, palette, icon,
  // "button ID" or desktop.
  virtual std::string Where(int x, int y) = 0;
};

enum ReplayExit : int {
  kReplayPassed = 0,
  kReplayExpectationFailed = 1,
  kReplayScriptError = 2,  // the script is wrong, or a step could not be done
};

// Prints "where" answers to out and "LINE: reason" messages to err.
int RunReplay(std::string_view script, backend::headless::HeadlessDesktop& desktop, ReplayProgram& program,
              std::ostream& out, std::ostream& err);

}  // namespace plumet::replay
