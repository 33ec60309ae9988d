#include "platform/backend/gtk/x_window.h"

#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>

namespace plumet::backend::gtk {
namespace {

std::vector<XRectangle> ToX(const std::vector<Rect>& rects) {
  std::vector<XRectangle> out;
  out.reserve(rects.size());
  for (const Rect& r : rects) {
    out.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                             static_cast<unsigned short>(r.Width()), static_cast<unsigned short>(r.Height())});
  }
  return out;
}

void Combine(Display* display, Window xid, int kind, int op, const std::vector<Rect>& rects) {
  std::vector<XRectangle> x = ToX(rects);
  XShapeCombineRectangles(display, xid, kind, 0, 0, x.data(), static_cast<int>(x.size()), op, Unsorted);
}

}  // namespace

XWindow::XWindow(const XTarget& target, const WindowOptions& options)
    : display_(target.display),
      sharedMemory_(target.sharedMemory),
      visual_(target.visual),
      depth_(target.depth),
      options_(options) {
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.colormap = target.colormap;
  attributes.border_pixel = 0;
  attributes.background_pixel = 0;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                          LeaveWindowMask | KeyPressMask | FocusChangeMask;
  xid_ = XCreateWindow(display_, target.root, 0, 0, 1, 1, 0, target.depth, InputOutput, target.visual,
                       CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixel | CWEventMask, &attributes);
  gc_ = XCreateGC(display_, xid_, 0, nullptr);
  if (sharedMemory_ != nullptr) picture_.KeepPixelsIn([this](std::size_t pixels) { return SharedStorage(pixels); });
  picture_.Resize(1, 1, options_.layered ? 0u : kUnpresentedFill);
  RebuildImage();
  SetInputShape(nullptr);
  SetBoundingShape(nullptr);
}

XWindow::~XWindow() {
  if (image_ != nullptr) {
    image_->data = nullptr;  // the picture owns the pixels
    XDestroyImage(image_);
  }
  XFreeGC(display_, gc_);
  XDestroyWindow(display_, xid_);
}

void XWindow::RebuildImage() {
  if (image_ != nullptr) {
    image_->data = nullptr;
    XDestroyImage(image_);
  }
  image_ = XCreateImage(display_, visual_, static_cast<unsigned>(depth_),
                        ZPixmap, 0, reinterpret_cast<char*>(const_cast<std::uint32_t*>(picture_.Pixels())),
                        static_cast<unsigned>(picture_.Width()), static_cast<unsigned>(picture_.Height()), 32,
                        picture_.Width() * 4);
}

// A segment per picture size, the previous one let go first. A segment the
// server refuses makes this window send its pictures with PutImage from then on.
std::span<std::uint32_t> XWindow::SharedStorage(std::size_t pixels) {
  segment_.reset();
  if (sharedMemory_ == nullptr) return {};
  segment_ = ShmSegment::Attach(sharedMemory_, pixels);
  if (!segment_) {
    sharedMemory_ = nullptr;
    return {};
  }
  return {segment_->Pixels(), pixels};
}

void XWindow::PutCompleted(const xcb_shm_completion_event_t& event) {
  if (segment_) segment_->Completed(event);
}

void XWindow::ServerCaughtUp() {
  if (segment_) segment_->ServerCaughtUp();
}

void XWindow::SetBounds(const Rect& rootRect) {
  const bool resized = rootRect.Width() != bounds_.Width() || rootRect.Height() != bounds_.Height();
  bounds_ = rootRect;
  XMoveResizeWindow(display_, xid_, rootRect.left, rootRect.top, static_cast<unsigned>(std::max(1, rootRect.Width())),
                    static_cast<unsigned>(std::max(1, rootRect.Height())));
  if (resized && !presented_) {
    // Until the first picture the window shows its fill over its whole area.
    picture_.Resize(std::max(1, rootRect.Width()), std::max(1, rootRect.Height()),
                    options_.layered ? 0u : kUnpresentedFill);
    RebuildImage();
    SetInputShape(nullptr);
    SetBoundingShape(nullptr);
  }
}

void XWindow::Show(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (visible) {
    XMapWindow(display_, xid_);
  } else {
    XUnmapWindow(display_, xid_);
  }
}

void XWindow::SetPassThrough(bool passThrough) {
  passThrough_ = passThrough;
  // Set again on every call, and repainted, so that the server's picture and
  // input area never lag behind a change.
  SetInputShape(nullptr);
  Paint(Rect{0, 0, picture_.Width(), picture_.Height()});
}

void XWindow::SetShape(const std::vector<Rect>& rects) {
  shape_ = rects;
  SetBoundingShape(nullptr);
  if (!visible_) return;
  // Compositing managers such as xcompmgr read a window's shape again only
  // when its size changes (they miss shape events): a shown window is sized
  // one pixel wider and back. Unmapping and mapping it again instead made
  // xcompmgr stop drawing it.
  const unsigned width = static_cast<unsigned>(std::max(bounds_.Width(), 1));
  const unsigned height = static_cast<unsigned>(std::max(bounds_.Height(), 1));
  XResizeWindow(display_, xid_, width + 1, height);
  XResizeWindow(display_, xid_, width, height);
  Paint(Rect{0, 0, picture_.Width(), picture_.Height()});
}

void XWindow::SetCutOut(bool cutOut) {
  if (cutOut == cutOut_) return;
  cutOut_ = cutOut;
  SetBoundingShape(nullptr);
}

void XWindow::Present(const Presentation& presentation) {
  const int width = picture_.Width();
  const int height = picture_.Height();
  const PictureChange change = picture_.Present(presentation);
  if (change.area.Empty()) return;
  presented_ = true;
  if (picture_.Width() != width || picture_.Height() != height) {
    RebuildImage();
    SetInputShape(nullptr);
    SetBoundingShape(nullptr);
  } else {
    if (change.inputChanged) SetInputShape(&change.area);
    if (change.solidChanged && cutOut_) SetBoundingShape(&change.area);
  }
  Paint(change.area);
}

void XWindow::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  XDefineCursor(display_, xid_, cursor);
}

void XWindow::Paint(const Rect& area) {
  const Rect r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, picture_.Width()),
               std::min(area.bottom, picture_.Height())};
  if (r.Empty() || !visible_) return;
  if (SharesPicture()) {
    segment_->Put(static_cast<xcb_drawable_t>(xid_), static_cast<xcb_gcontext_t>(XGContextFromGC(gc_)),
                  picture_.Width(), picture_.Height(), r.left, r.top, r.Width(), r.Height(), depth_);
    return;
  }
  XPutImage(display_, xid_, gc_, image_, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
            static_cast<unsigned>(r.Height()));
}

// The input shape: nothing while input passes through, otherwise the pixels
// that are not fully transparent. With an area only that part is redone.
void XWindow::SetInputShape(const Rect* area) {
  if (passThrough_) {
    XShapeCombineRectangles(display_, xid_, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    return;
  }
  if (area == nullptr) {
    Combine(display_, xid_, ShapeInput, ShapeSet, picture_.InputRuns({0, 0, picture_.Width(), picture_.Height()}));
    return;
  }
  Combine(display_, xid_, ShapeInput, ShapeSubtract, {*area});
  Combine(display_, xid_, ShapeInput, ShapeUnion, picture_.InputRuns(*area));
}

// The bounding shape: the given rectangles, and, when cut out, only the
// solid pixels of the picture.
void XWindow::SetBoundingShape(const Rect* area) {
  if (!cutOut_) {
    if (shape_.empty()) {
      XShapeCombineMask(display_, xid_, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
      Combine(display_, xid_, ShapeBounding, ShapeSet, shape_);
    }
    return;
  }
  if (area == nullptr) {
    Combine(display_, xid_, ShapeBounding, ShapeSet, picture_.SolidRuns({0, 0, picture_.Width(), picture_.Height()}));
  } else {
    Combine(display_, xid_, ShapeBounding, ShapeSubtract, {*area});
    Combine(display_, xid_, ShapeBounding, ShapeUnion, picture_.SolidRuns(*area));
  }
  if (!shape_.empty()) Combine(display_, xid_, ShapeBounding, ShapeIntersect, shape_);
}

}  // namespace plumet::backend::gtk
