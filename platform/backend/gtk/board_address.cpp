#include "platform/backend/gtk/board_address.h"

#include <string>

namespace plumet::backend::gtk {
namespace {

Atom SelectionAtom(Display* display) {
  const std::string name = "PLUMET_BOARD_S" + std::to_string(DefaultScreen(display));
  return XInternAtom(display, name.c_str(), False);
}

Atom MessageType(Display* display) { return XInternAtom(display, "PLUMET_POST_MESSAGE", False); }

}  // namespace

bool ClaimBoardSelection(Display* display, Window owner) {
  const Atom selection = SelectionAtom(display);
  XGrabServer(display);
  const bool free = XGetSelectionOwner(display, selection) == None;
  if (free) XSetSelectionOwner(display, selection, owner, CurrentTime);
  XUngrabServer(display);
  XSync(display, False);
  return free && XGetSelectionOwner(display, selection) == owner;
}

Window RunningBoard(Display* display) { return XGetSelectionOwner(display, SelectionAtom(display)); }

bool PostToBoard(Display* display, Window board, const PostedMessage& message) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = board;
  event.xclient.message_type = MessageType(display);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(message.message);
  event.xclient.data.l[1] = static_cast<long>(message.wParam);
  event.xclient.data.l[2] = message.lParam;
  return XSendEvent(display, board, False, NoEventMask, &event) != 0;
}

std::optional<PostedMessage> ReadPostedMessage(Display* display, const XClientMessageEvent& event) {
  if (event.format != 32 || event.message_type != MessageType(display)) return std::nullopt;
  // Xlib widens the 32-bit wire values into longs; only the low 32 bits were sent.
  return PostedMessage{static_cast<std::uint32_t>(event.data.l[0]), static_cast<std::uint32_t>(event.data.l[1]),
                       static_cast<std::int32_t>(static_cast<std::uint32_t>(event.data.l[2]))};
}

void RefuseSelection(Display* display, const XSelectionRequestEvent& request) {
  XEvent answer{};
  answer.xselection.type = SelectionNotify;
  answer.xselection.requestor = request.requestor;
  answer.xselection.selection = request.selection;
  answer.xselection.target = request.target;
  answer.xselection.property = None;
  answer.xselection.time = request.time;
  XSendEvent(display, request.requestor, False, NoEventMask, &answer);
}

}  // namespace plumet::backend::gtk
