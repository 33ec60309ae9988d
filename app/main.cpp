// The plumet program on the Linux desktop.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/scrivane_app.h"
#include "app/send_command.h"
#include "palette/board_commands.h"
#include "platform/backend/gtk/gtk_backend.h"
#include "platform/framework/user.h"

namespace {

constexpr const char* kUsage = "Usage: plumet [--help | --version | --send COMMAND]\n";

void PrintHelp() {
  std::printf(
      "%s"
      "Plumet lays an annotation board over the primary screen: draw over other\n"
      "programs, on a white or green board, magnify, and save as TIFF, PNG or SVG.\n"
      "Use the palette for the commands; Escape or Enter on the board ends it.\n"
      "On the board, Ctrl+Z undoes the newest change to the page's strokes, and\n"
      "Ctrl+Y or Ctrl+Shift+Z redoes it.\n"
      "One board runs per display; other programs drive it with --send.\n"
      "\n"
      "  --help          show this text and exit\n"
      "  --version       show the version and exit\n"
      "%s",
      kUsage, kSendHelp);
}

// Exit 0 when delivered, 1 when no board runs there, 2 for words it does not know.
int Send(const std::vector<std::string>& words) {
  const std::optional<BoardCommandWords> command = ParseSendWords(words);
  if (!command) {
    std::fputs("Usage: plumet --send COMMAND   (plumet --help lists the commands)\n", stderr);
    return 2;
  }
  std::string display;
  const plumet::backend::PostedMessage message{WM_BOARDCOMMAND, command->code, command->argument};
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
  if (argc > 1) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
      PrintHelp();
      return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
      std::printf("plumet %s\n", PLUMET_VERSION);
      return 0;
    }
    if (std::strcmp(argv[1], "--send") == 0) return Send(std::vector<std::string>(argv + 2, argv + argc));
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::string error;
  if (!plumet::backend::gtk::StartToolkit(error)) {
    std::fprintf(stderr, "plumet: %s\n", error.c_str());
    return 1;
  }
  if (plumet::backend::gtk::WaylandSession()) {
    std::fputs("plumet: Wayland session: running through XWayland; the magnifier copies the screen through the "
               "desktop portal\n",
               stderr);
  }
  std::unique_ptr<plumet::backend::Backend> backend = plumet::backend::gtk::OpenDesktop(error);
  if (!backend) {
    std::fprintf(stderr, "plumet: %s\n", error.c_str());
    return 1;
  }
  AfxSetBackend(backend.get());
  theApp.InitInstance();
  AfxSetBackend(nullptr);
  return 0;
}
