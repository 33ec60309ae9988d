// The plumet program on the Linux desktop.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/scrivane_app.h"
#include "platform/backend/gtk/gtk_backend.h"
#include "platform/framework/user.h"

namespace {

constexpr const char* kUsage = "Usage: plumet [--help | --version]\n";

void PrintHelp() {
  std::printf(
      "%s"
      "Plumet lays an annotation board over the primary screen: draw over other\n"
      "programs, on a white or green board, magnify, and save as TIFF, PNG or SVG.\n"
      "Use the palette for the commands; Escape or Enter on the board ends it.\n"
      "On the board, Ctrl+Z undoes the newest change to the page's strokes, and\n"
      "Ctrl+Y or Ctrl+Shift+Z redoes it.\n"
      "\n"
      "  --help     show this text and exit\n"
      "  --version  show the version and exit\n",
      kUsage);
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
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::string error;
  if (!plumet::backend::gtk::StartToolkit(error)) {
    std::fprintf(stderr, "plumet: %s\n", error.c_str());
    return 1;
  }
  if (plumet::backend::gtk::WaylandSession()) {
    std::fputs("plumet: Wayland session: running through XWayland; the magnifier cannot read the screen\n", stderr);
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
