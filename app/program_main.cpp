#include "app/program_main.h"

#include <cstdio>

#include "app/scrivane_app.h"
#include "app/send_command.h"
#include "palette/board_commands.h"
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
int Send(const std::vector<std::string>& words, const ProgramDesktop& desktop) {
  const std::optional<BoardCommandWords> command = ParseSendWords(words);
  if (!command) {
    std::fputs("Usage: plumet --send COMMAND   (plumet --help lists the commands)\n", stderr);
    return 2;
  }
  return desktop.post(plumet::backend::PostedMessage{WM_BOARDCOMMAND, command->code, command->argument});
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, const ProgramDesktop& desktop) {
  if (!arguments.empty()) {
    if (arguments.size() == 1 && arguments[0] == "--help") {
      PrintHelp();
      return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
      std::printf("plumet %s\n", PLUMET_VERSION);
      return 0;
    }
    if (arguments[0] == "--send") return Send(std::vector<std::string>(arguments.begin() + 1, arguments.end()), desktop);
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::string error;
  std::unique_ptr<plumet::backend::Backend> backend = desktop.open(error);
  if (!backend) {
    std::fprintf(stderr, "plumet: %s\n", error.c_str());
    return 1;
  }
  AfxSetBackend(backend.get());
  theApp.InitInstance();
  AfxSetBackend(nullptr);
  return 0;
}
