// What a window gets when its own handler leaves a message to default processing.
#include "platform/framework/gdi_objects.h"
#include "platform/framework/user.h"
#include "platform/framework/window_system.h"

namespace plumet::framework {
namespace {

constexpr std::uint32_t kDialogGround = 0xFFF0F0F0u;

FontObject* DefaultFont() {
  static FontObject font;
  return &font;
}

}  // namespace

LRESULT WindowSystem::DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = Find(hwnd);
  if (!record) return 0;
  switch (message) {
    case WM_NCLBUTTONDOWN:
      // The drag follows the pointer from where it is now, whatever point the caller packed.
      if (static_cast<LRESULT>(wParam) == HTCAPTION) RunMoveLoop(hwnd, cursor_);
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND: {
      DeviceContext* dc = ToDc(reinterpret_cast<HDC>(wParam));
      if (!dc || !dc->surface) return 0;
      gfx::IntRect area{dc->originX, dc->originY, dc->originX + record->Width(), dc->originY + record->Height()};
      if (!dc->clip.Empty()) area = area.Intersect(dc->clip);
      dc->surface->Fill(area, kDialogGround);
      return 1;
    }
    case WM_SETCURSOR: {
      // While the pointer is captured its holder chooses the cursor.
      if (capture_) return TRUE;
      if (record->parent && Send(record->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (record->parent) return FALSE;
      ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
      return TRUE;
    }
    case WM_SETICON: {
      const int which = wParam == ICON_BIG ? 1 : 0;
      HICON previous = record->icons[which];
      record->icons[which] = reinterpret_cast<HICON>(lParam);
      ApplyIcon(*record);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(static_cast<GdiObject*>(DefaultFont()));
    default:
      return 0;
  }
}

}  // namespace plumet::framework
