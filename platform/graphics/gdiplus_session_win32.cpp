#include "platform/graphics/gdiplus_session_win32.h"

#include <windows.h>
#include <gdiplus.h>

#include <mutex>

namespace plumet::gfx {

bool GdiplusReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ready = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  });
  return ready;
}

}  // namespace plumet::gfx
