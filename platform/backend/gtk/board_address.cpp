#include "platform/backend/gtk/board_address.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <utility>

namespace plumet::backend::gtk {
namespace {

Atom SelectionAtom(Display* display) {
  const std::string name = "PLUMET_BOARD_S" + std::to_string(DefaultScreen(display));
  return XInternAtom(display, name.c_str(), False);
}

Atom MessageType(Display* display) { return XInternAtom(display, "PLUMET_POST_MESSAGE", False); }

struct FreeEvent {
  void operator()(xcb_generic_event_t* event) const { std::free(event); }
};

}  // namespace

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

std::unique_ptr<BoardAddress> BoardAddress::Claim(const char* displayName, std::string& error) {
  Display* display = XOpenDisplay(displayName);
  if (display == nullptr) {
    error = std::string("cannot open display ") + displayName;
    return nullptr;
  }
  // Requests go through Xlib; the events are read with XCB, one at a time.
  XSetEventQueueOwner(display, XCBOwnsEventQueue);
  const Window window = XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, CopyFromParent,
                                      InputOnly, CopyFromParent, 0, nullptr);
  const Atom selection = SelectionAtom(display);
  XGrabServer(display);
  const bool free = XGetSelectionOwner(display, selection) == None;
  if (free) XSetSelectionOwner(display, selection, window, CurrentTime);
  XUngrabServer(display);
  if (!free || XGetSelectionOwner(display, selection) != window) {
    XCloseDisplay(display);
    error = std::string("a board already runs on display ") + displayName;
    return nullptr;
  }
  return std::unique_ptr<BoardAddress>(new BoardAddress(display, window));
}

BoardAddress::BoardAddress(Display* display, Window window)
    : display_(display), window_(window), messageType_(MessageType(display)) {}

BoardAddress::~BoardAddress() { XCloseDisplay(display_); }

std::optional<PostedMessage> BoardAddress::Next() {
  xcb_connection_t* connection = XGetXCBConnection(display_);
  for (;;) {
    std::unique_ptr<xcb_generic_event_t, FreeEvent> event{xcb_poll_for_queued_event(connection)};
    if (!event && std::exchange(mayRead_, false)) event.reset(xcb_poll_for_event(connection));
    if (!event) break;
    switch (event->response_type & 0x7F) {
      case XCB_CLIENT_MESSAGE: {
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
        if (message->window != window_ || message->format != 32 || message->type != messageType_) break;
        return PostedMessage{message->data.data32[0], message->data.data32[1],
                             static_cast<std::int32_t>(message->data.data32[2])};
      }
      case XCB_SELECTION_REQUEST: {
        const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event.get());
        xcb_selection_notify_event_t refusal{};
        refusal.response_type = XCB_SELECTION_NOTIFY;
        refusal.time = request->time;
        refusal.requestor = request->requestor;
        refusal.selection = request->selection;
        refusal.target = request->target;
        refusal.property = XCB_NONE;
        xcb_send_event(connection, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&refusal));
        xcb_flush(connection);
        break;
      }
      default:
        break;  // errors of our own requests, anything else sent here
    }
  }
  return std::nullopt;
}

}  // namespace plumet::backend::gtk
