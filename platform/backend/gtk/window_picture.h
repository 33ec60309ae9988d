// The device-pixel copy of what one native window shows, kept so that
// exposures and partial presents need nothing from the caller, and the masks
// derived from it: where the window takes input, and where it is solid enough
// to be cut out as its shape when no compositor blends it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// Which pixel masks a present changed inside its rectangle.
struct PictureChange {
  Rect area;                  // what was copied; empty: nothing
  bool inputChanged = false;  // some pixel became or stopped being transparent
  bool solidChanged = false;  // some pixel crossed the aliased cut-out threshold
};

class WindowPicture {
 public:
  // Alpha at or above which a pixel belongs to the cut-out shape.
  static constexpr std::uint32_t kSolidAlpha = 128;

  // Where the pixels of each new size go (rows packed): room for the given
  // number of pixels, or an empty span when there is none, and the picture
  // then keeps them in memory of its own.
  using Storage = std::function<std::span<std::uint32_t>(std::size_t pixels)>;
  void KeepPixelsIn(Storage storage) { storage_ = std::move(storage); }

  // A new picture shows `fill` everywhere.
  void Resize(int width, int height, std::uint32_t fill);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  std::uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }

  // Copies the dirty part (all when none, or when the size differs, which
  // resizes) in the mode's form: opaque pixels get full alpha, colour-key
  // pixels become fully transparent holes.
  PictureChange Present(const Presentation& presentation);

  // Row runs, within area, of the pixels that take input (alpha not 0) or
  // that are solid; touching rows with equal runs are merged.
  std::vector<Rect> InputRuns(const Rect& area) const;
  std::vector<Rect> SolidRuns(const Rect& area) const;
  bool TakesInputEverywhere() const { return transparent_ == 0 && !pixels_.empty(); }

 private:
  template <typename Keep>
  std::vector<Rect> Runs(const Rect& area, Keep keep) const;
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  Storage storage_;
  std::vector<std::uint32_t> ownPixels_;  // when storage_ has no room
  std::span<std::uint32_t> pixels_;
  std::size_t transparent_ = 0;  // pixels that take no input
};

}  // namespace plumet::backend::gtk
