// How other programs on the display find the running board and post to it.
//
// The running program owns the selection PLUMET_BOARD_S<screen> through an
// unmapped window of its own. The X server gives a selection up when its
// owner's connection closes, so a program that crashed leaves nothing behind
// that a new one or a sender could mistake for a running board. Senders post
// a ClientMessage of type PLUMET_POST_MESSAGE, format 32, to the selection's
// owner: data.l[0] the message, l[1] its wParam, l[2] its lParam (32 bits
// each on the wire).
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// The window that stands for the running board, or None.
Window RunningBoard(Display* display);

// Queues the message for the board's window (RunningBoard) on this
// connection; XFlush or XSync sends it.
bool PostToBoard(Display* display, Window board, const PostedMessage& message);

// The running board's end: its own connection, whose events are read only as
// fast as the program takes them, so that a flood from another program waits
// in the server rather than in our memory.
class BoardAddress {
 public:
  // Opens the display and takes the board's selection; nothing, with the
  // reason, when another client holds it. The test and the take run under a
  // server grab, so two programs starting at once cannot both win.
  static std::unique_ptr<BoardAddress> Claim(const char* displayName, std::string& error);
  ~BoardAddress();
  BoardAddress(const BoardAddress&) = delete;
  BoardAddress& operator=(const BoardAddress&) = delete;

  int Fd() const { return ConnectionNumber(display_); }
  // A poll found Fd readable: Next may read it once.
  void SocketReadable() { mayRead_ = true; }
  // The next well-formed message that arrived, or nothing. Everything else
  // sent here is dropped; a request for the selection's contents is refused
  // (it has none). The socket is read only once after SocketReadable, so no
  // read finds it empty.
  std::optional<PostedMessage> Next();

 private:
  BoardAddress(Display* display, Window window);

  Display* display_;
  Window window_;
  Atom messageType_;
  bool mayRead_ = true;  // what arrived before the first poll
};

}  // namespace plumet::backend::gtk
