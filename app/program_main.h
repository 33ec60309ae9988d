// The plumet program's command line, the same on every desktop; each
// desktop's entry point gives the two things that differ.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/backend.h"

struct ProgramDesktop {
  // The desktop the board runs on; nothing, with the reason, when it cannot be had.
  std::function<std::unique_ptr<plumet::backend::Backend>(std::string& error)> open;
  // Posts a message to the board already running there. The exit status:
  // 0 delivered, 1 not (having said why on stderr).
  std::function<int(const plumet::backend::PostedMessage& message)> post;
};

// arguments: the words after the program's name, UTF-8. The exit status.
int RunProgram(const std::vector<std::string>& arguments, const ProgramDesktop& desktop);
