#include "platform/backend/gtk/gtk_backend.h"

#include <gtk/gtk.h>

#include <cstdlib>

#include "platform/backend/gtk/board_address.h"
#include "platform/backend/gtk/x_desktop.h"

namespace plumet::backend::gtk {
namespace {

bool sendFailed = false;

// The board may end between finding it and posting to it: the error that
// brings is an answer, not a reason to end this program.
int NoteSendError(Display*, XErrorEvent*) {
  sendFailed = true;
  return 0;
}

}  // namespace

bool StartToolkit(std::string& error) {
  // Our windows need X11: on a Wayland session GTK goes through XWayland.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(nullptr, nullptr)) {
    const char* display = std::getenv("DISPLAY");
    error = std::string("cannot open the X display ") + (display != nullptr ? display : "(DISPLAY is not set)");
    return false;
  }
  return true;
}

bool WaylandSession() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* session = std::getenv("XDG_SESSION_TYPE");
  return (wayland != nullptr && *wayland != '\0') || (session != nullptr && std::string(session) == "wayland");
}

std::unique_ptr<Backend> OpenDesktop(std::string& error) {
  std::unique_ptr<XDesktop> desktop = XDesktop::Open(error);
  // XWayland shows only X clients in its root window, not the real screen.
  if (desktop && WaylandSession()) desktop->CopyThroughPortal();
  return desktop;
}

SendResult PostToRunningBoard(const PostedMessage& message, std::string& display) {
  const char* name = XDisplayName(nullptr);
  display = name != nullptr ? name : "";
  Display* connection = XOpenDisplay(nullptr);
  if (connection == nullptr) return SendResult::NoDisplay;
  const XErrorHandler previous = XSetErrorHandler(NoteSendError);
  sendFailed = false;
  const Window board = RunningBoard(connection);
  const bool posted = board != None && PostToBoard(connection, board, message);
  XSync(connection, False);
  XSetErrorHandler(previous);
  XCloseDisplay(connection);
  return posted && !sendFailed ? SendResult::Delivered : SendResult::NoBoard;
}

}  // namespace plumet::backend::gtk
