// The pen every stroke and live segment is drawn with.
#pragma once

#include "platform/framework/win_types.h"
#include "platform/graphics/gdiplus.h"

// Round joins and caps: a click draws a dot, and a sharp turn no spike.
inline Gdiplus::Pen MakeRoundPen(Gdiplus::ARGB color, float width) {
  Gdiplus::Pen pen(color, width, Gdiplus::UnitWorld);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  pen.SetStartCap(Gdiplus::LineCapRound);
  pen.SetEndCap(Gdiplus::LineCapRound);
  return pen;
}
