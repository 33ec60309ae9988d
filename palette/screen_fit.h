// Keeping a floating window reachable after the screen size changes.
#pragma once

#include "platform/framework/framework.h"

// The place nearest to rc (same size) that lies wholly on a screen of the
// given size; rc itself when it already does. A window larger than the
// screen is pinned to the top-left corner.
RECT FitOnScreen(const RECT& rc, SIZE screen);

// Moves the window to FitOnScreen of its place; displaySize is the lParam of
// WM_DISPLAYCHANGE (width in the low word, height in the high word).
void KeepOnScreen(CWnd& window, LPARAM displaySize);
