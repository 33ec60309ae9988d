#include "platform/backend/gtk/window_picture.h"

#include <algorithm>

namespace plumet::backend::gtk {
namespace {

std::uint32_t Converted(std::uint32_t pixel, PresentMode mode, std::uint32_t key) {
  switch (mode) {
    case PresentMode::PerPixelAlpha:
      return pixel;
    case PresentMode::ColorKey:
      return (pixel & 0xFFFFFFu) == key ? 0u : (pixel | 0xFF000000u);
    case PresentMode::Opaque:
      return pixel | 0xFF000000u;
  }
  return pixel;
}

bool TakesInput(std::uint32_t pixel) { return (pixel >> 24) != 0; }
bool Solid(std::uint32_t pixel) { return (pixel >> 24) >= WindowPicture::kSolidAlpha; }

Rect Clip(const Rect& r, int width, int height) {
  return Rect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
}

}  // namespace

void WindowPicture::Resize(int width, int height, std::uint32_t fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  pixels_ = storage_ ? storage_(count) : std::span<std::uint32_t>{};
  if (pixels_.size() == count) {
    ownPixels_ = {};
    std::fill(pixels_.begin(), pixels_.end(), fill);
  } else {
    ownPixels_.assign(count, fill);
    pixels_ = ownPixels_;
  }
  transparent_ = TakesInput(fill) ? 0 : count;
}

PictureChange WindowPicture::Present(const Presentation& presentation) {
  const PixelView& source = presentation.source;
  PictureChange change;
  if (source.pixels == nullptr || source.width <= 0 || source.height <= 0) return change;
  Rect area{0, 0, source.width, source.height};
  if (source.width != width_ || source.height != height_) {
    Resize(source.width, source.height, 0);
  } else if (presentation.dirty) {
    area = Clip(*presentation.dirty, width_, height_);
  }
  if (area.Empty()) return change;
  change.area = area;
  const std::uint32_t key = presentation.colorKey & 0xFFFFFFu;
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = &pixels_[Index(0, y)];
    for (int x = area.left; x < area.right; ++x) {
      const std::uint32_t pixel = Converted(source.At(x, y), presentation.mode, key);
      if (TakesInput(pixel) != TakesInput(row[x])) {
        change.inputChanged = true;
        transparent_ = TakesInput(pixel) ? transparent_ - 1 : transparent_ + 1;
      }
      change.solidChanged = change.solidChanged || Solid(pixel) != Solid(row[x]);
      row[x] = pixel;
    }
  }
  return change;
}

template <typename Keep>
std::vector<Rect> WindowPicture::Runs(const Rect& area, Keep keep) const {
  const Rect a = Clip(area, width_, height_);
  std::vector<Rect> runs;
  std::size_t previousRowStart = 0;
  for (int y = a.top; y < a.bottom; ++y) {
    const std::size_t rowStart = runs.size();
    const std::uint32_t* row = &pixels_[Index(0, y)];
    for (int x = a.left; x < a.right;) {
      if (!keep(row[x])) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < a.right && keep(row[x])) ++x;
      runs.push_back(Rect{start, y, x, y + 1});
    }
    // The same runs as the row above: grow those instead.
    const std::size_t count = runs.size() - rowStart;
    const bool same = y > a.top && count == rowStart - previousRowStart && count > 0 &&
                      std::equal(runs.begin() + static_cast<std::ptrdiff_t>(rowStart), runs.end(),
                                 runs.begin() + static_cast<std::ptrdiff_t>(previousRowStart),
                                 [](const Rect& r, const Rect& above) {
                                   return r.left == above.left && r.right == above.right && above.bottom == r.top;
                                 });
    if (same) {
      for (std::size_t i = previousRowStart; i < rowStart; ++i) runs[i].bottom = y + 1;
      runs.resize(rowStart);
    } else {
      previousRowStart = rowStart;
    }
  }
  return runs;
}

std::vector<Rect> WindowPicture::InputRuns(const Rect& area) const { return Runs(area, TakesInput); }
std::vector<Rect> WindowPicture::SolidRuns(const Rect& area) const { return Runs(area, Solid); }

}  // namespace plumet::backend::gtk
