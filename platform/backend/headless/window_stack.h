// The windows of the in-memory desktop in z-order, composed over the desktop
// picture as a compositor would, and hit-tested by the same pictures.
#pragma once

#include <map>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/headless/image.h"
#include "platform/backend/headless/native_window.h"

namespace plumet::backend::headless {

class WindowStack {
 public:
  // New windows go on top.
  WindowId Create(const WindowOptions& options);
  void Destroy(WindowId id);
  NativeWindow* Find(WindowId id);
  const NativeWindow* Find(WindowId id) const;

  // Puts the window on top, with the windows it owns (recursively) above it in
  // their present order.
  void Raise(WindowId id);
  const std::vector<WindowId>& BottomToTop() const { return order_; }

  // The screen as the user sees it: the desktop under every visible window.
  Image Compose(const Image& desktop) const;
  // The top-most window taking pointer input at a screen point, 0 for none.
  WindowId InputWindowAt(int x, int y) const;

 private:
  bool IsOwnedBy(WindowId id, WindowId owner) const;

  std::map<WindowId, NativeWindow> windows_;
  std::vector<WindowId> order_;
  WindowId nextId_ = 1;
};

}  // namespace plumet::backend::headless
