// One top-level window of the in-memory desktop: its settings and the copy of
// the pixels it was last given, from which both its picture and its input
// area follow.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/headless/image.h"

namespace plumet::backend::headless {

// What a test can read about a window.
struct WindowState {
  WindowOptions options;
  Rect bounds;  // screen coordinates
  bool visible = false;
  bool passThrough = false;
  std::vector<Rect> shape;  // window coordinates; empty: no shape
  std::string title;
  std::optional<CursorImage> icon;
  CursorId cursor = 0;
  bool presented = false;
  PresentMode mode = PresentMode::PerPixelAlpha;
  std::uint32_t colorKey = 0;
};

class NativeWindow {
 public:
  // A window of our own that never got a picture shows the dialog face colour;
  // a layered one shows nothing.
  static constexpr std::uint32_t kUnpresentedFill = 0xFFF0F0F0u;

  explicit NativeWindow(const WindowOptions& options);

  const WindowState& State() const { return state_; }
  WindowState& Settings() { return state_; }

  void SetBounds(const Rect& screenRect);
  void SetShape(const std::vector<Rect>& rects);
  // Keeps a copy of the source (only the dirty part when the size is unchanged).
  void Present(const Presentation& presentation);

  // The premultiplied pixel shown at a window point: 0 where nothing shows
  // (outside the window or its shape, a colour-key hole, no picture yet).
  // The window takes pointer input exactly where this is not fully transparent.
  std::uint32_t Shown(int x, int y) const;

 private:
  bool InShape(int x, int y) const;

  WindowState state_;
  Image content_;
  mutable std::vector<std::uint8_t> shapeMask_;  // bounds-sized, built on first use
  mutable bool shapeMaskValid_ = false;
};

}  // namespace plumet::backend::headless
