// The plumet program on the Linux desktop.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/program_main.h"
#include "platform/backend/gtk/gtk_backend.h"

namespace {

std::unique_ptr<plumet::backend::Backend> OpenDesktop(std::string& error) {
  if (!plumet::backend::gtk::StartToolkit(error)) return nullptr;
  if (plumet::backend::gtk::WaylandSession()) {
    std::fputs("plumet: Wayland session: running through XWayland; the magnifier copies the screen through the "
               "desktop portal\n",
               stderr);
  }
  return plumet::backend::gtk::OpenDesktop(error);
}

int PostToBoard(const plumet::backend::PostedMessage& message) {
  std::string display;
  switch (plumet::backend::gtk::PostToRunningBoard(message, display)) {
    case plumet::backend::gtk::SendResult::Delivered:
      return 0;
    case plumet::backend::gtk::SendResult::NoBoard:
      std::fprintf(stderr, "plumet: no board runs on display %s\n", display.c_str());
      return 1;
    case plumet::backend::gtk::SendResult::NoDisplay:
      break;
  }
  std::fprintf(stderr, "plumet: cannot open the X display %s\n", display.empty() ? "(DISPLAY is not set)" : display.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  return RunProgram(std::vector<std::string>(argv + 1, argv + argc), ProgramDesktop{OpenDesktop, PostToBoard});
}
