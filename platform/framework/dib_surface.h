// A 32-bit DIB section with an alpha byte per pixel, for a window's picture.
#pragma once

#include "platform/framework/dc.h"

// Leaves the bitmap object unchanged and returns false when the section
// cannot be made; otherwise detaches (does not delete) what the object held
// and attaches the new section.
bool CreateDibSurface(CDC* clientDC, CBitmap* bitmap, int width, int height);
