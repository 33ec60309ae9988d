// The script lines the in-memory desktop runs alone (screen, desktop,
// desktop-pattern, pointer, key, wait, post, display, shot, save-answer),
// turned into the desktop's own steps.
#pragma once

#include <string_view>
#include <vector>

#include "platform/backend/headless/headless_desktop.h"
#include "tools/plumet-replay/replay_script.h"

namespace plumet::replay {

class ScriptSteps {
 public:
  // Must outlive the steps it adds: they report their problems to it.
  explicit ScriptSteps(backend::headless::HeadlessDesktop& desktop) : desktop_(desktop) {}

  // Adds a checked command's steps; false for start, where and expect-ended,
  // which need the program.
  bool Add(const ScriptCommand& command);
  // Parses and adds every line; on any error adds nothing and returns the errors.
  std::vector<ScriptError> AddLines(std::string_view script);
  // Steps that could not be carried out (unreadable picture, unwritable shot).
  const std::vector<ScriptError>& Problems() const { return problems_; }

 private:
  backend::headless::HeadlessDesktop& desktop_;
  std::vector<ScriptError> problems_;
};

}  // namespace plumet::replay
