// A rectangle of whole pixels, right and bottom excluded: the one rectangle
// of the graphics layer and of the backend interface.
#pragma once

#include <algorithm>

namespace plumet::gfx {

struct IntRect {
  int left = 0;
  int top = 0;
  int right = 0;   // excluded
  int bottom = 0;  // excluded
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  // The common part; an empty rectangle when there is none.
  IntRect Intersect(const IntRect& other) const {
    const IntRect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                    std::min(bottom, other.bottom)};
    return r.Empty() ? IntRect{} : r;
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  IntRect Union(const IntRect& other) const {
    if (other.Empty()) return *this;
    if (Empty()) return other;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  friend bool operator==(const IntRect&, const IntRect&) = default;
};

}  // namespace plumet::gfx
