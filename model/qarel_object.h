// One freehand stroke: its points, colour, opacity and width; draws itself
// as a cardinal spline and writes itself as an SVG polyline.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/framework/win_types.h"
#include "platform/graphics/gdiplus.h"

class CXmlDocument;

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

  // isLast: the button-up position. True when the stroke changed.
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
  Gdiplus::PointF m_inlinePoints[kInlinePoints] = {};

 private:
  bool Grow();
};
