// One freehand stroke: its points, colour, opacity and width; draws itself
// as a cardinal spline and writes itself as an SVG polyline.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/framework/win_types.h"
#include "platform/graphics/gdiplus.h"

class CXmlDocument;

// The first 4095 points are "inline": they never cost an allocation per
// point. They live in a 4096-point buffer that the stroke takes at its first
// point (from the thread's spare, left by an earlier stroke, so a drag's
// moves never allocate); at the button-up the stroke keeps only the points it
// holds and hands the buffer back. The grown array past 4095 points follows
// the fixed steps of m_nCapacity.
class CQarelObject {
 public:
  static constexpr int kInlinePoints = 4096;
  // One inline entry stays unused, as in the layout the format was made for.
  static constexpr int kInlineCapacity = kInlinePoints - 1;
  static constexpr int kGrowth = 4096;

  // Obtains a grown point array of count zeroed points, or nullptr; released
  // with std::free. Replaceable so that a failed growth can be provoked.
  using PointAllocator = void* (*)(std::size_t count, std::size_t size);
  static PointAllocator s_pfnAllocPoints;

  CQarelObject() = default;
  virtual ~CQarelObject();
  CQarelObject(const CQarelObject&) = delete;
  CQarelObject& operator=(const CQarelObject&) = delete;

  // isLast: the button-up position. True when the stroke changed. False
  // also when a first point finds no memory for the inline buffer.
  bool AddPoint(int x, int y, bool isLast);
  void Draw(Gdiplus::Graphics* graphics) const;
  // Inserts polyline elements after the document's current element: one, or
  // for a very long stroke several that join end to start.
  bool WriteSvg(CXmlDocument& doc) const;

  const Gdiplus::PointF* Points() const { return m_pPoints ? m_pPoints : m_inlinePoints; }

  std::int32_t m_nAlpha = 255;
  std::int32_t m_nCount = 0;
  std::int32_t m_nCapacity = kInlineCapacity;
  float m_fWidth = 3.0f;
  COLORREF m_crColor = 0;
  std::int32_t m_bBackground = 0;
  Gdiplus::ARGB m_argbBackground = 0x01FFFFFF;
  Gdiplus::PointF* m_pPoints = nullptr;

 private:
  bool MakeInlineRoom();
  void FitInlinePoints();
  void ReleaseInlinePoints();
  bool Grow();

  // Null until the first point; holds m_nInlineRoom entries.
  Gdiplus::PointF* m_inlinePoints = nullptr;
  std::int32_t m_nInlineRoom = 0;
};
