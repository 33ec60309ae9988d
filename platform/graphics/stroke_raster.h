// Strokes with round joins and caps rasterised straight into a surface's
// pixels: the union of one capsule per segment, covered by distance. Much
// cheaper than a general polygon scan converter for the pen strokes the
// system draws, allocation-free once warm, and safe to run on several
// threads at once on disjoint clips of one surface.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/gdiplus.h"
#include "platform/graphics/point_d.h"
#include "platform/graphics/surface.h"

namespace plumet::gfx {

enum class StrokeBlend { Over, Copy };

struct StrokeStyle {
  double width = 1;
  std::uint32_t premultiplied = 0;  // the pen's colour
  StrokeBlend blend = StrokeBlend::Over;
  // Anti-aliased: coverage from the distance to the pen's edge; otherwise a
  // pixel is painted when its centre lies within the pen.
  bool antialias = true;
};

// Coordinates are in surface pixels with integers at pixel centres. Returns
// the rectangle whose pixels may have changed (empty when none).
IntRect RasterizeStroke(Surface& surface, const IntRect& clip, const PointD* points, int count,
                        const StrokeStyle& style);

// Replaces out with the cardinal spline of tension 0.5 through points as
// straight pieces no farther than tolerance from the curve, every point
// shifted by (dx, dy).
void FlattenCardinalSpline(const Gdiplus::PointF* points, int count, double dx, double dy, double tolerance,
                           std::vector<PointD>& out);

// True only when the cardinal spline of tension 0.5 through points, shifted
// by (dx, dy), and every flattening of it stay farther than margin from
// every pixel centre of shown, so that a stroke of it whose ink reaches less
// than margin changes none of them (a test of boxes: false does not mean
// that it shows). A band of a page skips the other bands' strokes with
// this, before flattening them.
bool CardinalSplineOutOfSight(const Gdiplus::PointF* points, int count, double dx, double dy, const IntRect& shown,
                              double margin);

}  // namespace plumet::gfx
