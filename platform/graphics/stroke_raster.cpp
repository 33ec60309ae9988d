#include "platform/graphics/stroke_raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace plumet::gfx {
namespace {

// The cells of one row that one capsule leaves to be covered by distance:
// first to coreFirst - 1 and coreLast + 1 to last.
struct RimRow {
  int segment;  // the capsule's first point
  int y;
  int first;
  int coreFirst;
  int coreLast;
  int last;
};

// Per thread, kept between strokes: after the first strokes of a given size
// no stroke allocates. Every mask byte is back to zero between strokes.
struct Scratch {
  std::vector<std::uint8_t> mask;
  std::vector<int> rowFirst;
  std::vector<int> rowLast;
  std::vector<RimRow> rims;
};
thread_local Scratch scratch;

// Each 8-bit lane of the pixel times factor / 255, rounded.
std::uint32_t Scale(std::uint32_t pixel, std::uint32_t factor) {
  std::uint32_t rb = (pixel & 0x00FF00FFu) * factor + 0x00800080u;
  std::uint32_t ag = ((pixel >> 8) & 0x00FF00FFu) * factor + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

std::uint32_t Blend(std::uint32_t dst, std::uint32_t src, std::uint32_t coverage, StrokeBlend blend) {
  const std::uint32_t covered = coverage == 255 ? src : Scale(src, coverage);
  // Over keeps what the covered source lets through; copy what the coverage leaves.
  const std::uint32_t keep = blend == StrokeBlend::Over ? 255 - (covered >> 24) : 255 - coverage;
  return keep == 0 ? covered : covered + Scale(dst, keep);
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Span {
  double left = kInfinity;
  double right = -kInfinity;
  bool Empty() const { return !(left <= right); }
  void Hull(double from, double to) {
    if (!(from <= to)) return;
    left = std::min(left, from);
    right = std::max(right, to);
  }
};

// One segment of the stroke with what every row needs of it worked out
// once, so that a row costs no division. Consecutive capsules share the
// disk at their common point, so only the first capsule of a stroke needs
// its start disk: without it the shape (the band and the end disk) is
// still convex, and every pixel whose nearest point of the stroke is that
// common point lies in the previous capsule's end disk.
class Capsule {
 public:
  Capsule(PointD from, PointD to, double outerRadius, double innerRadius, bool withStartDisk)
      : a_(from), b_(to), dx_(to.x - from.x), dy_(to.y - from.y), outerRadius_(outerRadius), innerRadius_(innerRadius),
        withStartDisk_(withStartDisk) {
    const double length2 = dx_ * dx_ + dy_ * dy_;
    inverseLength2_ = length2 > 0 ? 1 / length2 : 0;
    if (dx_ != 0) {
      alongShift_ = dy_ / dx_;
      alongWidth_ = length2 / dx_;
    }
    if (dy_ != 0) {
      const double perUnit = std::sqrt(length2) / std::abs(dy_);
      acrossShift_ = dx_ / dy_;
      outerHalf_ = outerRadius * perUnit;
      innerHalf_ = innerRadius * perUnit;
    }
  }

  double Top() const { return std::min(a_.y, b_.y); }
  double Bottom() const { return std::max(a_.y, b_.y); }

  // Where the row through y crosses the shapes of the outer and the inner
  // radius: the hull of the end disks and the band along the segment, exact
  // because each shape is convex.
  void RowSpans(double y, Span& outer, Span& inner) const {
    outer = {};
    inner = {};
    if (withStartDisk_) AddDisk(a_, y, outer, inner);
    AddDisk(b_, y, outer, inner);
    if (inverseLength2_ == 0) return;
    const double py = y - a_.y;
    // Along the segment: the projection falls between a and b.
    double alongFrom = -kInfinity;
    double alongTo = kInfinity;
    if (dx_ != 0) {
      alongFrom = a_.x - py * alongShift_;
      alongTo = alongFrom + alongWidth_;
      if (alongFrom > alongTo) std::swap(alongFrom, alongTo);
    } else if (py * dy_ < 0 || py * dy_ * inverseLength2_ > 1) {
      return;
    }
    // Across it: within the radius of the segment's line.
    if (dy_ == 0) {
      const double across = std::abs(py);
      if (across <= outerRadius_) outer.Hull(alongFrom, alongTo);
      if (across <= innerRadius_) inner.Hull(alongFrom, alongTo);
      return;
    }
    const double centre = a_.x + py * acrossShift_;
    outer.Hull(std::max(alongFrom, centre - outerHalf_), std::min(alongTo, centre + outerHalf_));
    inner.Hull(std::max(alongFrom, centre - innerHalf_), std::min(alongTo, centre + innerHalf_));
  }

  double Distance(double x, double y) const {
    const double px = x - a_.x;
    const double py = y - a_.y;
    const double t = std::clamp((px * dx_ + py * dy_) * inverseLength2_, 0.0, 1.0);
    const double ex = px - t * dx_;
    const double ey = py - t * dy_;
    return std::sqrt(ex * ex + ey * ey);
  }

 private:
  void AddDisk(PointD p, double y, Span& outer, Span& inner) const {
    const double h2 = (y - p.y) * (y - p.y);
    if (h2 > outerRadius_ * outerRadius_) return;
    const double s = std::sqrt(outerRadius_ * outerRadius_ - h2);
    outer.Hull(p.x - s, p.x + s);
    if (innerRadius_ <= 0 || h2 > innerRadius_ * innerRadius_) return;
    const double t = std::sqrt(innerRadius_ * innerRadius_ - h2);
    inner.Hull(p.x - t, p.x + t);
  }

  PointD a_, b_;
  double dx_, dy_;
  double outerRadius_, innerRadius_;
  bool withStartDisk_;
  double inverseLength2_;  // 0 for a single point
  double alongShift_ = 0, alongWidth_ = 0;
  double acrossShift_ = 0, outerHalf_ = 0, innerHalf_ = 0;
};

// Clamped first, so that a point far off the surface cannot overflow int;
// then rounded without a library call.
int ClampFloor(double v, int low, int high) {
  v = std::clamp(v, double(low), double(high));
  const int i = static_cast<int>(v);
  return i - (i > v);
}

int ClampCeil(double v, int low, int high) {
  v = std::clamp(v, double(low), double(high));
  const int i = static_cast<int>(v);
  return i + (i < v);
}

// Sets n mask cells to full coverage. Most spans are a few bytes: a word or
// two written in place cost less than a call.
void FillCovered(std::uint8_t* cells, int n) {
  constexpr int kWord = sizeof(std::uint64_t);
  constexpr std::uint64_t kFull = ~std::uint64_t{0};
  if (n < kWord) {
    if (n & 4) {
      std::memcpy(cells, &kFull, 4);
      std::memcpy(cells + n - 4, &kFull, 4);
    } else {
      for (int i = 0; i < n; ++i) cells[i] = 255;
    }
    return;
  }
  for (int i = 0; i + kWord < n; i += kWord) std::memcpy(cells + i, &kFull, kWord);
  std::memcpy(cells + n - kWord, &kFull, kWord);
}

// Drops the points that a straight chord between their neighbours passes
// within tolerance of, so that a gently turning stroke is a few long
// capsules rather than many short ones: each capsule costs every row it spans.
void MergeNearlyStraightPieces(std::vector<PointD>& points, double tolerance) {
  if (points.size() < 3) return;
  constexpr std::size_t kLongestRun = 32;  // bounds the checks per chord
  std::size_t kept = 0;  // points[kept] is the start of the current chord
  std::size_t out = 1;
  std::size_t end = 1;
  while (end < points.size()) {
    // Extend the chord from points[kept] as far as every skipped point stays close.
    std::size_t best = end;
    for (std::size_t candidate = end + 1; candidate < points.size() && candidate - kept <= kLongestRun; ++candidate) {
      const PointD a = points[kept];
      const PointD b = points[candidate];
      const double dx = b.x - a.x, dy = b.y - a.y;
      const double length2 = dx * dx + dy * dy;
      bool close = length2 > 0;
      for (std::size_t i = kept + 1; close && i < candidate; ++i) {
        const double px = points[i].x - a.x, py = points[i].y - a.y;
        const double t = (px * dx + py * dy) / length2;
        const double cross = px * dy - py * dx;
        close = t >= 0 && t <= 1 && cross * cross <= tolerance * tolerance * length2;
      }
      if (!close) break;
      best = candidate;
    }
    points[out++] = points[best];
    kept = best;
    end = best + 1;
  }
  points.resize(out);
}

}  // namespace

IntRect RasterizeStroke(Surface& surface, const IntRect& clip, const PointD* points, int count,
                        const StrokeStyle& style) {
  if (!points || count < 1 || !(style.width > 0)) return {};
  const double half = style.width / 2;
  // Anti-aliased coverage falls from 1 to 0 over the pixel around the edge.
  const double reach = style.antialias ? half + 0.5 : half;
  double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
  for (int i = 1; i < count; ++i) {
    minX = std::min(minX, points[i].x);
    maxX = std::max(maxX, points[i].x);
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  const IntRect limit = clip.Empty() ? surface.Bounds() : clip.Intersect(surface.Bounds());
  if (limit.Empty()) return {};
  const IntRect box{ClampCeil(minX - reach, limit.left, limit.right), ClampCeil(minY - reach, limit.top, limit.bottom),
                    ClampFloor(maxX + reach + 1, limit.left, limit.right),
                    ClampFloor(maxY + reach + 1, limit.top, limit.bottom)};
  if (box.Empty()) return {};

  const int boxWidth = box.Width();
  const std::size_t maskSize = static_cast<std::size_t>(boxWidth) * box.Height();
  if (scratch.mask.size() < maskSize) scratch.mask.resize(maskSize);
  if (scratch.rowFirst.size() < static_cast<std::size_t>(box.Height())) {
    scratch.rowFirst.resize(box.Height());
    scratch.rowLast.resize(box.Height());
  }
  std::uint8_t* mask = scratch.mask.data();
  int* rowFirst = scratch.rowFirst.data();
  int* rowLast = scratch.rowLast.data();
  std::fill_n(rowFirst, box.Height(), std::numeric_limits<int>::max());
  std::fill_n(rowLast, box.Height(), std::numeric_limits<int>::min());

  // Pixels within half - 0.5 of the segment are fully covered; only the rim
  // between that and reach needs its distance. All cores go first, so that
  // a rim cell inside a neighbouring capsule's core (most of a short
  // capsule's end arcs) is skipped whichever capsule comes first.
  const double core = half - 0.5;
  const int segments = count == 1 ? 1 : count - 1;
  const auto capsuleAt = [&](int s) {
    // Without anti-aliasing the whole span is painted: the core is the span.
    return Capsule(points[s], points[count == 1 ? 0 : s + 1], reach, style.antialias ? core : reach, s == 0);
  };
  std::byte* const pixelsAtTop = reinterpret_cast<std::byte*>(surface.Row(0));
  const std::ptrdiff_t stride = surface.Stride();
  const auto pixelRow = [&](int y) { return reinterpret_cast<std::uint32_t*>(pixelsAtTop + y * stride); };
  std::vector<RimRow>& rims = scratch.rims;
  rims.clear();
  Span outer;
  Span inner;
  for (int s = 0; s < segments; ++s) {
    const Capsule capsule = capsuleAt(s);
    const int y0 = ClampCeil(capsule.Top() - reach, box.top, box.bottom);
    const int y1 = ClampFloor(capsule.Bottom() + reach, box.top - 1, box.bottom - 1);
    for (int y = y0; y <= y1; ++y) {
      capsule.RowSpans(y, outer, inner);
      if (outer.Empty()) continue;
      const int first = ClampCeil(outer.left, box.left, box.right);
      const int last = ClampFloor(outer.right, box.left - 1, box.right - 1);
      if (first > last) continue;
      const int coreFirst = inner.Empty() ? last + 1 : ClampCeil(inner.left, first, last + 1);
      const int coreLast = inner.Empty() ? last : ClampFloor(inner.right, first - 1, last);
      std::uint8_t* row = mask + static_cast<std::size_t>(y - box.top) * boxWidth;
      FillCovered(row + (coreFirst - box.left), coreLast + 1 - coreFirst);
      // The rims will read their pixels: ask for them now, so that the
      // cache misses (the surface is far larger than the cache) overlap
      // with the rest of the work instead of stalling the compositing.
      if (first < coreFirst || coreLast < last) {
        rims.push_back({s, y, first, coreFirst, coreLast, last});
        __builtin_prefetch(pixelRow(y) + first);
        __builtin_prefetch(pixelRow(y) + last);
      }
      const int r = y - box.top;
      rowFirst[r] = std::min(rowFirst[r], first);
      rowLast[r] = std::max(rowLast[r], last);
    }
  }
  // Rows come capsule by capsule.
  int current = -1;
  Capsule capsule = capsuleAt(0);
  for (const RimRow& rim : rims) {
    if (rim.segment != current) {
      current = rim.segment;
      capsule = capsuleAt(current);
    }
    std::uint8_t* row = mask + static_cast<std::size_t>(rim.y - box.top) * boxWidth;
    const auto cover = [&](int x) {
      std::uint8_t& cell = row[x - box.left];
      if (cell == 255) return;
      const double c = std::clamp(reach - capsule.Distance(x, rim.y), 0.0, 1.0);
      cell = std::max(cell, static_cast<std::uint8_t>(c * 255 + 0.5));
    };
    for (int x = rim.first; x < rim.coreFirst; ++x) cover(x);
    for (int x = rim.coreLast + 1; x <= rim.last; ++x) cover(x);
  }

  // A fully covered pixel of an opaque pen (or of any pen that replaces)
  // becomes the pen's colour whatever was there: no need to read it, which
  // on a large surface is mostly a cache miss. The mask is read a word at a
  // time, so that the empty and the full stretches cost one test per word.
  const std::uint32_t source = style.premultiplied;
  const StrokeBlend blend = style.blend;
  const bool replacesWhenCovered = blend == StrokeBlend::Copy || (source >> 24) == 255;
  constexpr int kWord = sizeof(std::uint64_t);
  constexpr std::uint64_t kEmpty = 0;
  constexpr std::uint64_t kFull = ~kEmpty;
  int changedLeft = box.right, changedRight = box.left, changedTop = box.bottom, changedBottom = box.top;
  for (int r = 0; r < box.Height(); ++r) {
    const int first = rowFirst[r];
    const int last = rowLast[r];
    if (first > last) continue;
    const int y = box.top + r;
    std::uint8_t* cells = mask + static_cast<std::size_t>(r) * boxWidth + (first - box.left);
    std::uint32_t* pixels = pixelRow(y) + first;
    const int n = last + 1 - first;
    for (int i = 0; i < n; i += kWord) {
      const int end = std::min(i + kWord, n);
      if (end - i == kWord) {
        std::uint64_t word;
        std::memcpy(&word, cells + i, kWord);
        if (word == kEmpty) continue;
        if (word == kFull && replacesWhenCovered) {
          std::fill_n(pixels + i, kWord, source);
          std::memcpy(cells + i, &kEmpty, kWord);
          continue;
        }
      }
      for (int j = i; j < end; ++j) {
        if (cells[j] == 0) continue;
        pixels[j] = cells[j] == 255 && replacesWhenCovered ? source : Blend(pixels[j], source, cells[j], blend);
        cells[j] = 0;
      }
    }
    changedLeft = std::min(changedLeft, first);
    changedRight = std::max(changedRight, last + 1);
    changedTop = std::min(changedTop, y);
    changedBottom = y + 1;
  }
  const IntRect changed{changedLeft, changedTop, changedRight, changedBottom};
  return changed.Empty() ? IntRect{} : changed;
}

bool CardinalSplineOutOfSight(const Gdiplus::PointF* points, int count, double dx, double dy, const IntRect& shown,
                              double margin) {
  if (!points || count < 1) return true;
  // The curve stays within the hull of its Bezier control points, which lie
  // at most a sixth of the chord between a point's neighbours from the point.
  double minX = points[0].X, maxX = minX, minY = points[0].Y, maxY = minY;
  double reachX = 0, reachY = 0;
  for (int i = 0; i < count; ++i) {
    minX = std::min(minX, double(points[i].X));
    maxX = std::max(maxX, double(points[i].X));
    minY = std::min(minY, double(points[i].Y));
    maxY = std::max(maxY, double(points[i].Y));
    const Gdiplus::PointF& before = points[i == 0 ? 0 : i - 1];
    const Gdiplus::PointF& after = points[i + 1 < count ? i + 1 : count - 1];
    reachX = std::max(reachX, std::abs(double(after.X) - before.X));
    reachY = std::max(reachY, std::abs(double(after.Y) - before.Y));
  }
  const double marginX = margin + reachX / 6;
  const double marginY = margin + reachY / 6;
  return maxX + dx < shown.left - marginX || minX + dx > shown.right - 1 + marginX ||
         maxY + dy < shown.top - marginY || minY + dy > shown.bottom - 1 + marginY;
}

void FlattenCardinalSpline(const Gdiplus::PointF* points, int count, double dx, double dy, double tolerance,
                           std::vector<PointD>& out) {
  out.clear();
  if (!points || count < 1) return;
  out.push_back({points[0].X + dx, points[0].Y + dy});
  const auto squaredLength = [](double x, double y) { return x * x + y * y; };
  // Tension 0.5: each tangent is half the chord between the neighbours,
  // which as Bezier control points is a sixth of it.
  constexpr double k = 0.5 / 3.0;
  // n straight pieces stay within 3/4 m / n^2 of a cubic whose control
  // polygon has second differences of at most m. Half the tolerance goes to
  // the pieces, half to the chords that merge them: n^4 >= (1.5 m / tolerance)^2.
  const double perSquaredM = (1.5 / tolerance) * (1.5 / tolerance);
  for (int i = 0; i + 1 < count; ++i) {
    const Gdiplus::PointF& p0 = points[i == 0 ? 0 : i - 1];
    const Gdiplus::PointF& p1 = points[i];
    const Gdiplus::PointF& p2 = points[i + 1];
    const Gdiplus::PointF& p3 = points[i + 2 < count ? i + 2 : count - 1];
    const PointD b0{p1.X + dx, p1.Y + dy};
    const PointD b1{b0.x + k * (p2.X - p0.X), b0.y + k * (p2.Y - p0.Y)};
    const PointD b3{p2.X + dx, p2.Y + dy};
    const PointD b2{b3.x - k * (p3.X - p1.X), b3.y - k * (p3.Y - p1.Y)};
    const double needed = perSquaredM * std::max(squaredLength(b0.x - 2 * b1.x + b2.x, b0.y - 2 * b1.y + b2.y),
                                                 squaredLength(b1.x - 2 * b2.x + b3.x, b1.y - 2 * b2.y + b3.y));
    const int pieces = std::clamp(static_cast<int>(std::ceil(std::sqrt(std::sqrt(needed)))), 1, 100);
    for (int j = 1; j < pieces; ++j) {
      const double t = static_cast<double>(j) / pieces;
      const double u = 1 - t;
      const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
      out.push_back({w0 * b0.x + w1 * b1.x + w2 * b2.x + w3 * b3.x, w0 * b0.y + w1 * b1.y + w2 * b2.y + w3 * b3.y});
    }
    out.push_back(b3);
  }
  MergeNearlyStraightPieces(out, tolerance / 2);
}

}  // namespace plumet::gfx
