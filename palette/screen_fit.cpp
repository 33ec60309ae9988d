#include "palette/screen_fit.h"

#include <algorithm>

namespace {

// The nearest start of a span of the given length within [0, limit).
LONG FitSpan(LONG start, LONG length, LONG limit) { return std::max<LONG>(0, std::min(start, limit - length)); }

}  // namespace

RECT FitOnScreen(const RECT& rc, SIZE screen) {
  const LONG width = rc.right - rc.left;
  const LONG height = rc.bottom - rc.top;
  const LONG left = FitSpan(rc.left, width, screen.cx);
  const LONG top = FitSpan(rc.top, height, screen.cy);
  return {left, top, left + width, top + height};
}

void KeepOnScreen(CWnd& window, LPARAM displaySize) {
  RECT rc;
  window.GetWindowRect(&rc);
  const RECT fitted = FitOnScreen(rc, {LOWORD(static_cast<WPARAM>(displaySize)), HIWORD(static_cast<WPARAM>(displaySize))});
  if (fitted != rc) window.SetWindowPos(nullptr, fitted.left, fitted.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
