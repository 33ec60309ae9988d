// The drawing the graphics object leaves to the system's library (cairo on
// Linux, GDI+ on Windows): pens other than the round one, rectangle fills
// and scaled pictures. Round strokes never come here: the layer rasterises
// them itself so that ink is the same on every system. No type of either
// library, nor of the GDI+-shaped front, appears here.
#pragma once

#include <cstdint>

#include "platform/graphics/point_d.h"
#include "platform/graphics/surface.h"

namespace plumet::gfx {

// Where and how to draw: clip in surface pixels (empty = the whole surface).
struct NativeTarget {
  Surface* surface = nullptr;
  IntRect clip;
  bool sourceCopy = false;  // replace pixels instead of drawing over them
  bool smooth = false;      // anti-aliased
};

enum class NativeCap { Flat, Square, Round };
enum class NativeJoin { Miter, Bevel, Round };

struct NativePen {
  std::uint32_t argb = 0;  // straight
  double width = 1;
  NativeCap cap = NativeCap::Flat;  // both ends
  NativeJoin join = NativeJoin::Miter;
};

// A polyline through points in surface pixels, integers at pixel centres.
void NativePolyline(const NativeTarget& target, const NativePen& pen, const PointD* points, int count);
// Whole pixels of a rectangle in surface pixels.
void NativeFill(const NativeTarget& target, std::uint32_t argb, const IntRect& rect);
// The src rectangle of source scaled onto dest, both in their surface's pixels.
void NativeDrawImage(const NativeTarget& target, const Surface& source, const IntRect& src, const IntRect& dest);

}  // namespace plumet::gfx
