#include "model/qarel_object.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "model/round_pen.h"
#include "xml/xml_document.h"

namespace {

void* AllocZeroed(std::size_t count, std::size_t size) { return std::calloc(count, size); }

// The full inline buffer of the last stroke this thread finished or
// destroyed, kept for the next stroke: one drag after another reuses it.
struct SpareInlineBuffer {
  Gdiplus::PointF* points = nullptr;
  ~SpareInlineBuffer() { std::free(points); }
};
thread_local SpareInlineBuffer t_spareInline;

Gdiplus::PointF* TakeFullInlineBuffer() {
  if (t_spareInline.points) return std::exchange(t_spareInline.points, nullptr);
  return static_cast<Gdiplus::PointF*>(std::malloc(CQarelObject::kInlinePoints * sizeof(Gdiplus::PointF)));
}

void GiveBackFullInlineBuffer(Gdiplus::PointF* points) {
  if (t_spareInline.points) {
    std::free(points);
  } else {
    t_spareInline.points = points;
  }
}

// to_chars with a precision writes what "%f" and "%d" write in the C locale,
// whatever locale the process may have been switched to.
void AppendFixed(std::u16string& out, float value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                 std::chars_format::fixed, 6).ptr;
  out.append(buffer, end);
}

// A start tag of the XML component holds less than 2^22 units; a points
// list this long leaves room for the rest of the tag.
constexpr std::size_t kMaxPointsText = std::size_t{1} << 20;

void AppendPoint(std::u16string& out, const Gdiplus::PointF& point) {
  AppendFixed(out, point.X);
  out += u',';
  AppendFixed(out, point.Y);
  out += u' ';
}

void AppendDecimal(std::u16string& out, int value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  out.append(buffer, end);
}

}  // namespace

CQarelObject::PointAllocator CQarelObject::s_pfnAllocPoints = &AllocZeroed;

CQarelObject::~CQarelObject() {
  std::free(m_pPoints);
  ReleaseInlinePoints();
}

bool CQarelObject::AddPoint(int x, int y, bool isLast) {
  const Gdiplus::PointF point{static_cast<float>(x), static_cast<float>(y)};
  if (m_nCount < kInlineCapacity) {
    if (m_nCount == m_nInlineRoom && !MakeInlineRoom()) return false;
    bool changed = true;
    if (isLast && m_nCount == 1) {
      // A click without movement becomes a one-pixel diagonal: a round dot.
      m_inlinePoints[1] = {point.X + 1, point.Y + 1};
      m_nCount = 2;
    } else if (isLast && m_nCount > 0 && m_inlinePoints[m_nCount - 1].X == point.X &&
               m_inlinePoints[m_nCount - 1].Y == point.Y) {
      changed = false;
    } else {
      m_inlinePoints[m_nCount++] = point;
    }
    if (isLast) FitInlinePoints();
    return changed;
  }
  if (m_nCount >= m_nCapacity && !Grow()) return false;
  m_pPoints[m_nCount++] = point;
  return true;
}

// A full buffer for the inline points, the ones held so far copied into it.
bool CQarelObject::MakeInlineRoom() {
  auto* full = TakeFullInlineBuffer();
  if (!full) return false;
  if (m_nCount > 0) std::memcpy(full, m_inlinePoints, static_cast<std::size_t>(m_nCount) * sizeof(Gdiplus::PointF));
  ReleaseInlinePoints();
  m_inlinePoints = full;
  m_nInlineRoom = kInlinePoints;
  return true;
}

// The stroke is complete: it keeps its points in a block of their own size.
// Without memory for that block it simply keeps the full buffer.
void CQarelObject::FitInlinePoints() {
  if (m_nInlineRoom != kInlinePoints || m_nCount < 1) return;
  const std::size_t bytes = static_cast<std::size_t>(m_nCount) * sizeof(Gdiplus::PointF);
  auto* fitted = static_cast<Gdiplus::PointF*>(std::malloc(bytes));
  if (!fitted) return;
  std::memcpy(fitted, m_inlinePoints, bytes);
  ReleaseInlinePoints();
  m_inlinePoints = fitted;
  m_nInlineRoom = m_nCount;
}

void CQarelObject::ReleaseInlinePoints() {
  if (m_nInlineRoom == kInlinePoints) {
    GiveBackFullInlineBuffer(m_inlinePoints);
  } else {
    std::free(m_inlinePoints);
  }
  m_inlinePoints = nullptr;
  m_nInlineRoom = 0;
}

// Fixed steps, not doubling: one full copy per 4096 points.
bool CQarelObject::Grow() {
  if (m_nCapacity > std::numeric_limits<std::int32_t>::max() - kGrowth) return false;
  const std::int32_t capacity = m_nCapacity + kGrowth;
  auto* grown = static_cast<Gdiplus::PointF*>(s_pfnAllocPoints(static_cast<std::size_t>(capacity),
                                                               sizeof(Gdiplus::PointF)));
  if (!grown) return false;
  std::memcpy(grown, Points(), static_cast<std::size_t>(m_nCount) * sizeof(Gdiplus::PointF));
  if (m_pPoints) {
    std::free(m_pPoints);
  } else {
    ReleaseInlinePoints();
  }
  m_pPoints = grown;
  m_nCapacity = capacity;
  return true;
}

void CQarelObject::Draw(Gdiplus::Graphics* graphics) const {
  if (!graphics) return;
  Gdiplus::ARGB color = m_argbBackground;
  if (m_bBackground) {
    // Wipes ink and board fill alike: the background, alpha included, replaces the pixels.
    graphics->SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    graphics->SetSmoothingMode(Gdiplus::SmoothingModeNone);
  } else {
    graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    graphics->SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    color = ArgbFromColorRef(m_nAlpha, m_crColor);
  }
  const Gdiplus::Pen pen = MakeRoundPen(color, m_fWidth);
  graphics->DrawCurve(&pen, Points(), m_nCount);
}

bool CQarelObject::WriteSvg(CXmlDocument& doc) const {
  if (m_nCount < 1) return false;
  std::u16string style = u"fill:none;stroke:rgb(";
  if (m_nAlpha == 255) {
    AppendDecimal(style, GetRValue(m_crColor));
    style += u',';
    AppendDecimal(style, GetGValue(m_crColor));
    style += u',';
    AppendDecimal(style, GetBValue(m_crColor));
  } else {
    style += u"255,255,255";
  }
  style += u");stroke-width:";
  AppendFixed(style, m_fWidth);
  style += u";stroke-opacity:1.0";

  // A stroke too long for one tag goes on in further polylines of the same
  // style, each from the last point of the one before: the same picture.
  const Gdiplus::PointF* p = Points();
  std::int32_t first = 0;
  std::u16string points;
  do {
    points.clear();
    std::int32_t i = first;
    for (; i < m_nCount && (i < first + 2 || points.size() < kMaxPointsText); ++i) AppendPoint(points, p[i]);
    // Attributes go on the current element: without a new one they would land on another.
    if (!doc.InsertElement(u"polyline", nullptr, 0) ||
        !doc.SetAttributeText(doc.currentPos, u"style", style.c_str(), 0) ||
        !doc.SetAttributeText(doc.currentPos, u"points", points.c_str(), 0)) {
      return false;
    }
    first = i - 1;
  } while (first + 1 < m_nCount);
  return true;
}
