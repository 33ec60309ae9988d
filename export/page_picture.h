// A page drawn afresh off screen, as the raster exports write it.
#pragma once

#include <memory>

#include "platform/graphics/gdiplus.h"

class CQarelPage;

// Every pixel starts as ARGB 0x00FFFFFF, stored by copying so that the zero
// alpha stays; the page's strokes are drawn over it. Nothing when the
// bitmap or its graphics object cannot be had.
std::unique_ptr<Gdiplus::Bitmap> RenderPage(CQarelPage& page, int width, int height);
