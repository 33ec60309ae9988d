// The real program as plumet-replay drives it: the application object on the
// window framework, reached only through the framework's own calls.
#pragma once

#include "tools/plumet-replay/replay_runner.h"

class FrameworkProgram final : public plumet::replay::ReplayProgram {
 public:
  explicit FrameworkProgram(plumet::backend::headless::HeadlessDesktop& desktop) : desktop_(desktop) {}

  void Start() override;
  std::string Where(int x, int y) override;

 private:
  plumet::backend::headless::HeadlessDesktop& desktop_;
};
