#include "platform/backend/headless/native_window.h"

#include <algorithm>
#include <cstring>

namespace plumet::backend::headless {

NativeWindow::NativeWindow(const WindowOptions& options) { state_.options = options; state_.title = options.title; }

void NativeWindow::SetBounds(const Rect& screenRect) {
  if (screenRect.Width() != state_.bounds.Width() || screenRect.Height() != state_.bounds.Height()) {
    shapeMaskValid_ = false;
  }
  state_.bounds = screenRect;
}

void NativeWindow::SetShape(const std::vector<Rect>& rects) {
  state_.shape = rects;
  shapeMaskValid_ = false;
}

void NativeWindow::Present(const Presentation& presentation) {
  const PixelView& source = presentation.source;
  if (source.pixels == nullptr || source.width <= 0 || source.height <= 0) return;
  Rect copy{0, 0, source.width, source.height};
  const bool sameSize = content_.width == source.width && content_.height == source.height;
  if (presentation.dirty && sameSize && state_.presented) {
    const Rect& d = *presentation.dirty;
    copy = Rect{std::max(d.left, 0), std::max(d.top, 0), std::min(d.right, source.width),
                std::min(d.bottom, source.height)};
  }
  if (!sameSize) content_ = Image(source.width, source.height);
  if (!copy.Empty()) {
    for (int y = copy.top; y < copy.bottom; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(
          reinterpret_cast<const std::uint8_t*>(source.pixels) + static_cast<std::ptrdiff_t>(y) * source.stride);
      std::memcpy(&content_.At(copy.left, y), row + copy.left, static_cast<std::size_t>(copy.Width()) * 4);
    }
  }
  state_.presented = true;
  state_.mode = presentation.mode;
  state_.colorKey = presentation.colorKey & 0xFFFFFFu;
}

bool NativeWindow::InShape(int x, int y) const {
  if (state_.shape.empty()) return true;
  const int width = state_.bounds.Width();
  const int height = state_.bounds.Height();
  if (!shapeMaskValid_) {
    shapeMask_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (const Rect& r : state_.shape) {
      for (int row = std::max(r.top, 0); row < std::min(r.bottom, height); ++row) {
        for (int col = std::max(r.left, 0); col < std::min(r.right, width); ++col) {
          shapeMask_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(col)] = 1;
        }
      }
    }
    shapeMaskValid_ = true;
  }
  return shapeMask_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] != 0;
}

std::uint32_t NativeWindow::Shown(int x, int y) const {
  if (x < 0 || y < 0 || x >= state_.bounds.Width() || y >= state_.bounds.Height()) return 0;
  if (!InShape(x, y)) return 0;
  if (!state_.presented) return state_.options.layered ? 0 : kUnpresentedFill;
  if (!content_.Contains(x, y)) return 0;
  const std::uint32_t pixel = content_.At(x, y);
  switch (state_.mode) {
    case PresentMode::PerPixelAlpha:
      return pixel;
    case PresentMode::ColorKey:
      return (pixel & 0xFFFFFFu) == state_.colorKey ? 0 : (pixel | 0xFF000000u);
    case PresentMode::Opaque:
      return pixel | 0xFF000000u;
  }
  return 0;
}

}  // namespace plumet::backend::headless
