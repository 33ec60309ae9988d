// The pen every stroke and live segment is drawn with.
#pragma once

#include "platform/framework/win_types.h"
#include "platform/graphics/gdiplus.h"

// ARGB from an alpha (low byte used) and a colour reference 0x00BBGGRR.
constexpr Gdiplus::ARGB ArgbFromColorRef(int alpha, COLORREF color) {
  return (static_cast<Gdiplus::ARGB>(alpha & 0xFF) << 24) | (static_cast<Gdiplus::ARGB>(GetRValue(color)) << 16) |
         (static_cast<Gdiplus::ARGB>(GetGValue(color)) << 8) | GetBValue(color);
}

// Round joins and caps: a click draws a dot, and a sharp turn no spike.
inline Gdiplus::Pen MakeRoundPen(Gdiplus::ARGB color, float width) {
  Gdiplus::Pen pen(color, width, Gdiplus::UnitWorld);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  pen.SetStartCap(Gdiplus::LineCapRound);
  pen.SetEndCap(Gdiplus::LineCapRound);
  return pen;
}
