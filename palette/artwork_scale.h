// Scaled screens: the palette, the icon and the cursors are drawn as many
// times larger as the screen's scale factor, as far as there is artwork for
// it; the board itself keeps drawing in device pixels.
#pragma once

#include "platform/framework/framework.h"

// 1, 2 or 3.
int ArtworkScale(HWND hwnd);

// A rectangle or point of the 1x layout at that scale.
inline RECT ScaleRect(const RECT& rc, int scale) {
  return {rc.left * scale, rc.top * scale, rc.right * scale, rc.bottom * scale};
}
inline POINT ScalePoint(POINT p, int scale) { return {p.x * scale, p.y * scale}; }
