// One native top-level window on the X server: an override-redirect popup
// with a 32-bit ARGB visual that shows its WindowPicture, and whose bounding
// and input shapes follow its settings and its picture.
#pragma once

#include <X11/Xlib.h>
#include <xcb/shm.h>

#include <memory>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/gtk/shm_segment.h"
#include "platform/backend/gtk/window_picture.h"

namespace plumet::backend::gtk {

// How windows are made on this server.
struct XTarget {
  Display* display = nullptr;
  Window root = None;
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = None;
  // The connection's XCB side when pictures can be shared with the server
  // (MIT-SHM); otherwise they are sent with PutImage.
  xcb_connection_t* sharedMemory = nullptr;
};

class XWindow {
 public:
  // A window that never got a picture: layered ones show nothing, others
  // show the dialog face colour.
  static constexpr std::uint32_t kUnpresentedFill = 0xFFF0F0F0u;

  XWindow(const XTarget& target, const WindowOptions& options);
  ~XWindow();
  XWindow(const XWindow&) = delete;
  XWindow& operator=(const XWindow&) = delete;

  Window Xid() const { return xid_; }
  const WindowOptions& Options() const { return options_; }
  const Rect& Bounds() const { return bounds_; }  // root coordinates
  bool Visible() const { return visible_; }
  bool PassThrough() const { return passThrough_; }
  Cursor CurrentCursor() const { return cursor_; }
  // Takes input over its whole area although, cut out, it shows only its
  // solid pixels: it needs a pointer grab to keep that input.
  bool NeedsGrab() const { return cutOut_ && visible_ && !passThrough_ && picture_.TakesInputEverywhere(); }

  void SetBounds(const Rect& rootRect);
  void Show(bool visible);
  void SetPassThrough(bool passThrough);
  void SetShape(const std::vector<Rect>& rects);
  void Present(const Presentation& presentation);
  void SetCursor(Cursor cursor);
  // Without a compositor a layered window is cut out of its own picture.
  void SetCutOut(bool cutOut);
  // Repaints part of the window from the picture.
  void Paint(const Rect& area);

  // Whether the server may still be reading the shared picture: it must not
  // be written until the completion events have come (PutCompleted).
  bool PutsInFlight() const { return segment_ && segment_->PutsInFlight(); }
  void PutCompleted(const xcb_shm_completion_event_t& event);
  // The server answered a request made after every put so far.
  void ServerCaughtUp();
  bool SharesPicture() const { return segment_ && picture_.Pixels() == segment_->Pixels(); }

 private:
  void SetInputShape(const Rect* area);
  void SetBoundingShape(const Rect* area);
  void RebuildImage();
  std::span<std::uint32_t> SharedStorage(std::size_t pixels);

  Display* display_;
  Window xid_ = None;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;  // over picture_'s pixels
  xcb_connection_t* sharedMemory_;  // none once an attach failed
  Visual* visual_;
  int depth_;
  WindowOptions options_;
  Rect bounds_;
  bool visible_ = false;
  bool passThrough_ = false;
  bool presented_ = false;
  bool cutOut_ = false;
  std::vector<Rect> shape_;
  Cursor cursor_ = None;
  std::unique_ptr<ShmSegment> segment_;  // holds picture_'s pixels when shared
  WindowPicture picture_;
};

}  // namespace plumet::backend::gtk
