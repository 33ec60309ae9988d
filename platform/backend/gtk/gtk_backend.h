// The Linux desktop backend: GTK 3 on X11 (XWayland on Wayland sessions).
// Free of native types so that the program's entry point can use it.
#pragma once

#include <memory>
#include <string>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// Starts GTK on its X11 backend; call once, before anything else of GTK.
// False, with the reason, when no X display can be opened.
bool StartToolkit(std::string& error);
// The desktop session is Wayland: we run through XWayland, and the screen
// beyond our own windows is copied through the desktop portal.
bool WaylandSession();

// The backend on the display GTK opened; nothing, with the reason, when it
// lacks what the backend needs.
// OpenDesktop fails while another board runs on the display.
std::unique_ptr<Backend> OpenDesktop(std::string& error);

enum class SendResult { Delivered, NoBoard, NoDisplay };
// Posts a message to the board running on the display $DISPLAY names, as any
// other program can; needs no toolkit. display receives the display's name.
SendResult PostToRunningBoard(const PostedMessage& message, std::string& display);

}  // namespace plumet::backend::gtk
