#include "tests/platform/x_test_server.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/gtk/gtk_backend.h"

namespace plumet::backend::contract {
namespace {

pid_t Spawn(const std::vector<std::string>& argv, int keepFd) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (int fd = 3; fd < 256; ++fd) {
    if (fd != keepFd) close(fd);
  }
  execvp(args[0], args.data());
  _exit(127);
}

class TestXServer {
 public:
  ~TestXServer() {
    for (pid_t pid : {compositor_, server_}) {
      if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
      }
    }
  }

  bool Start(std::string& error) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return Fail(error, "pipe failed");
    server_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1280x800x24", "-nolisten",
                     "tcp"},
                    pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (number.empty()) return Fail(error, "Xvfb did not start (is it installed?)");
    const std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");

    compositor_ = Spawn({"xcompmgr"}, -1);
    if (!WaitForCompositor(display)) return Fail(error, "xcompmgr did not start (is it installed?)");
    return gtk::StartToolkit(error);
  }

 private:
  static bool Fail(std::string& error, const char* why) {
    error = why;
    return false;
  }

  // A compositing manager announces itself by owning _NET_WM_CM_S0.
  static bool WaitForCompositor(const std::string& name) {
    Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr) return false;
    const Atom selection = XInternAtom(display, "_NET_WM_CM_S0", False);
    bool owned = false;
    for (int tries = 0; tries < 100 && !owned; ++tries) {
      owned = XGetSelectionOwner(display, selection) != None;
      if (!owned) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(display);
    return owned;
  }

  pid_t server_ = -1;
  pid_t compositor_ = -1;
};

}  // namespace

bool StartTestXServer(std::string& error) {
  static TestXServer server;
  static bool started = false;
  static std::string failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    started = server.Start(failure);
  }
  error = failure;
  return started;
}

}  // namespace plumet::backend::contract
