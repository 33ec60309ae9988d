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

#include <optional>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// Takes the board's selection for owner unless another client holds it. The
// test and the take run under a server grab, so two programs starting at
// once cannot both win.
bool ClaimBoardSelection(Display* display, Window owner);

// The window that stands for the running board, or None.
Window RunningBoard(Display* display);

// Queues the message for the board's window (RunningBoard) on this
// connection; XFlush or XSync sends it.
bool PostToBoard(Display* display, Window board, const PostedMessage& message);

// The message a ClientMessage carries, or nothing when it is not one of ours
// in the expected format.
std::optional<PostedMessage> ReadPostedMessage(Display* display, const XClientMessageEvent& event);

// Answers a client that asked for the selection's contents: there are none.
void RefuseSelection(Display* display, const XSelectionRequestEvent& request);

}  // namespace plumet::backend::gtk
