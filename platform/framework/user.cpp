#include "platform/framework/user.h"

#include <algorithm>
#include <utility>

#include "platform/framework/cursor_objects.h"
#include "platform/framework/gdi.h"
#include "platform/framework/gdi_objects.h"
#include "platform/framework/resources.h"
#include "platform/framework/window_system.h"

using plumet::framework::WindowRecord;
using plumet::framework::WindowSystem;

namespace {

WindowSystem& System() { return WindowSystem::Get(); }
WindowRecord* Record(HWND hwnd) { return System().Find(hwnd); }

// The screen is a window of its own for GetDC; no record stands behind it.
HWND const kDesktopWindow = reinterpret_cast<HWND>(std::uintptr_t{0x10});

}  // namespace

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Record(hwnd)) return FALSE;
  System().Post({hwnd, message, wParam, lParam});
  return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return System().Send(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) { System().PostQuit(exitCode); }

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return System().DefaultProc(hwnd, message, wParam, lParam);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, void*) { return System().SetTimer(hwnd, id, elapse); }
BOOL KillTimer(HWND hwnd, UINT_PTR id) { return System().KillTimer(hwnd, id) ? TRUE : FALSE; }

BOOL IsWindow(HWND hwnd) { return Record(hwnd) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND hwnd) {
  if (!Record(hwnd)) return FALSE;
  System().Destroy(hwnd);
  return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
  WindowRecord* record = Record(hwnd);
  if (!record) return FALSE;
  const bool wasVisible = record->Visible();
  if (command == SW_HIDE)
    record->style &= ~WS_VISIBLE;
  else
    record->style |= WS_VISIBLE;
  System().ApplyVisibility(*record, wasVisible);
  return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  for (WindowRecord* record = Record(hwnd); record; record = Record(record->parent))
    if (!record->Visible()) return FALSE;
  return Record(hwnd) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  WindowRecord* record = Record(hwnd);
  if (!record) return FALSE;
  const int width = (flags & SWP_NOSIZE) ? record->Width() : std::max(0, cx);
  const int height = (flags & SWP_NOSIZE) ? record->Height() : std::max(0, cy);
  const int left = (flags & SWP_NOMOVE) ? record->rect.left : x;
  const int top = (flags & SWP_NOMOVE) ? record->rect.top : y;
  const RECT updated{left, top, left + width, top + height};
  if (updated != record->rect) {
    record->rect = updated;
    System().ApplyBounds(*record);
  }
  const bool wasVisible = record->Visible();
  if (flags & SWP_SHOWWINDOW) record->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) record->style &= ~WS_VISIBLE;
  System().ApplyVisibility(*record, wasVisible);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER);
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  WindowRecord* record = Record(hwnd);
  if (!record || !rect) return FALSE;
  const POINT origin = System().ClientOriginOnScreen(hwnd);
  *rect = {origin.x, origin.y, origin.x + record->Width(), origin.y + record->Height()};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  WindowRecord* record = Record(hwnd);
  if (!record || !rect) return FALSE;
  *rect = {0, 0, record->Width(), record->Height()};
  return TRUE;
}

LONG GetWindowLong(HWND hwnd, int index) {
  WindowRecord* record = Record(hwnd);
  if (!record) return 0;
  if (index == GWL_EXSTYLE) return static_cast<LONG>(record->exStyle);
  if (index == GWL_STYLE) return static_cast<LONG>(record->style);
  return 0;
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  WindowRecord* record = Record(hwnd);
  if (!record) return 0;
  const DWORD v = static_cast<DWORD>(value);
  if (index == GWL_STYLE) {
    const DWORD old = std::exchange(record->style, v);
    System().ApplyVisibility(*record, (old & WS_VISIBLE) != 0);
    return static_cast<LONG>(old);
  }
  if (index != GWL_EXSTYLE) return 0;
  const DWORD old = std::exchange(record->exStyle, v);
  plumet::backend::Backend* backend = System().Backend();
  // Set again on every write: a window system may drop the input shape on its own changes.
  if (record->native && backend) backend->SetInputPassThrough(record->native, (v & WS_EX_TRANSPARENT) != 0);
  return static_cast<LONG>(old);
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL) {
  WindowRecord* record = Record(hwnd);
  if (!record) return 0;
  record->hasRegion = region != nullptr;
  record->region = region ? GetRegionRects(region) : std::vector<RECT>{};
  // The window owns the region from now on.
  if (region) DeleteObject(region);
  System().ApplyShape(*record);
  return 1;
}

BOOL SetWindowText(HWND hwnd, const char* text) {
  WindowRecord* record = Record(hwnd);
  if (!record) return FALSE;
  record->text = text ? text : "";
  plumet::backend::Backend* backend = System().Backend();
  if (record->native && backend) backend->SetTitle(record->native, record->text);
  return TRUE;
}

std::string GetWindowText(HWND hwnd) {
  WindowRecord* record = Record(hwnd);
  return record ? record->text : std::string();
}

HWND GetParent(HWND hwnd) {
  WindowRecord* record = Record(hwnd);
  if (!record) return nullptr;
  // As on Windows, a pop-up's parent is its owner.
  return record->parent ? record->parent : record->owner;
}

HWND GetWindow(HWND hwnd, UINT command) {
  WindowRecord* record = Record(hwnd);
  return record && command == GW_OWNER ? record->owner : nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
  WindowRecord* record = Record(dialog);
  if (!record) return nullptr;
  for (HWND child : record->children)
    if (Record(child) && Record(child)->id == id) return child;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  WindowRecord* record = Record(hwnd);
  return record ? record->id : 0;
}

HWND ChildWindowFromPoint(HWND parent, POINT p) {
  WindowRecord* record = Record(parent);
  if (!record || p.x < 0 || p.y < 0 || p.x >= record->Width() || p.y >= record->Height()) return nullptr;
  for (HWND child : record->children) {
    WindowRecord* c = Record(child);
    if (c && c->Visible() && PtInRect(&c->rect, p)) return child;
  }
  return parent;
}

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
  if (!Record(hwnd)) return FALSE;
  System().Invalidate(hwnd, erase != FALSE);
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) { return Record(hwnd) ? TRUE : FALSE; }

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  if (!Record(hwnd) || !point) return FALSE;
  const POINT origin = System().ClientOriginOnScreen(hwnd);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  if (!Record(hwnd) || !point) return FALSE;
  const POINT origin = System().ClientOriginOnScreen(hwnd);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL SetProp(HWND hwnd, const char* name, HANDLE value) {
  WindowRecord* record = Record(hwnd);
  if (!record || !name) return FALSE;
  record->props[name] = value;
  return TRUE;
}

HANDLE GetProp(HWND hwnd, const char* name) {
  WindowRecord* record = Record(hwnd);
  if (!record || !name) return nullptr;
  auto it = record->props.find(name);
  return it == record->props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND hwnd, const char* name) {
  WindowRecord* record = Record(hwnd);
  if (!record || !name) return nullptr;
  auto it = record->props.find(name);
  if (it == record->props.end()) return nullptr;
  HANDLE value = it->second;
  record->props.erase(it);
  return value;
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC hdcDst, const POINT* pptDst, const SIZE* psize, HDC hdcSrc,
                         const POINT* pptSrc, COLORREF crKey, const BLENDFUNCTION* pblend, DWORD flags) {
  UPDATELAYEREDWINDOWINFO info;
  info.hdcDst = hdcDst;
  info.pptDst = pptDst;
  info.psize = psize;
  info.hdcSrc = hdcSrc;
  info.pptSrc = pptSrc;
  info.crKey = crKey;
  info.pblend = pblend;
  info.dwFlags = flags;
  return UpdateLayeredWindowIndirect(hwnd, &info);
}

BOOL UpdateLayeredWindowIndirect(HWND hwnd, const UPDATELAYEREDWINDOWINFO* info) {
  WindowRecord* record = Record(hwnd);
  if (!record || !info || record->parent || (record->exStyle & WS_EX_LAYERED) == 0) return FALSE;
  // It also places and sizes the window.
  RECT bounds = record->rect;
  if (info->pptDst) bounds = {info->pptDst->x, info->pptDst->y, info->pptDst->x + record->Width(),
                              info->pptDst->y + record->Height()};
  if (info->psize) {
    bounds.right = bounds.left + info->psize->cx;
    bounds.bottom = bounds.top + info->psize->cy;
  }
  if (bounds != record->rect) {
    record->rect = bounds;
    System().ApplyBounds(*record);
  }
  plumet::framework::DeviceContext* source = plumet::framework::ToDc(info->hdcSrc);
  if (!source || !source->surface) return FALSE;
  System().EnsureNative(*record);
  plumet::backend::Backend* backend = System().Backend();
  if (!backend || !record->native) return FALSE;
  const int srcX = info->pptSrc ? info->pptSrc->x : 0;
  const int srcY = info->pptSrc ? info->pptSrc->y : 0;
  const plumet::gfx::Surface& surface = *source->surface;
  if (srcX < 0 || srcY < 0 || srcX + record->Width() > surface.Width() || srcY + record->Height() > surface.Height())
    return FALSE;
  plumet::backend::Presentation p;
  p.source = {surface.Row(srcY) + srcX, record->Width(), record->Height(), surface.Stride()};
  if (info->dwFlags & ULW_ALPHA)
    p.mode = plumet::backend::PresentMode::PerPixelAlpha;
  else if (info->dwFlags & ULW_COLORKEY)
    p.mode = plumet::backend::PresentMode::ColorKey;
  else
    p.mode = plumet::backend::PresentMode::Opaque;
  p.colorKey = ArgbFromColorRef(0, info->crKey);
  if (info->prcDirty) {
    const RECT& d = *info->prcDirty;
    const RECT clipped{std::max<LONG>(0, d.left), std::max<LONG>(0, d.top), std::min<LONG>(record->Width(), d.right),
                       std::min<LONG>(record->Height(), d.bottom)};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return TRUE;
    p.dirty = plumet::framework::ToIntRect(clipped);
  }
  System().PresentLayered(*record, p, source->surface);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (hwnd == kDesktopWindow) {
    plumet::backend::Backend* backend = System().Backend();
    plumet::backend::ScreenImage image;
    if (!backend || !backend->CaptureScreen(image) || image.width <= 0 || image.height <= 0) {
      SetLastError(backend && backend->ScreenCopyPending() ? ERROR_IO_PENDING : ERROR_ACCESS_DENIED);
      return nullptr;
    }
    auto surface = plumet::gfx::Surface::Create(image.width, image.height);
    if (!surface) return nullptr;
    for (int y = 0; y < image.height; ++y)
      std::copy_n(image.pixels.data() + static_cast<std::size_t>(y) * image.width, image.width, surface->Row(y));
    auto* dc = new plumet::framework::DeviceContext;
    dc->surface = std::move(surface);
    dc->window = kDesktopWindow;
    return plumet::framework::ToHandle(dc);
  }
  return plumet::framework::MakeWindowDc(hwnd);
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  if (!hdc) return 0;
  if (hwnd == kDesktopWindow) {
    delete plumet::framework::ToDc(hdc);
    return 1;
  }
  plumet::framework::ReleaseWindowDc(hdc);
  return 1;
}

HWND GetDesktopWindow() { return System().Backend() ? kDesktopWindow : nullptr; }

namespace {
// One user-interface thread, as the framework has.
DWORD lastError = ERROR_SUCCESS;
}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

HWND SetCapture(HWND hwnd) { return System().SetCapture(hwnd); }

BOOL ReleaseCapture() {
  System().ReleaseCapture();
  return TRUE;
}

HWND GetCapture() { return System().Capture(); }

SHORT GetKeyState(int virtualKey) { return System().KeyHeld(virtualKey) ? static_cast<SHORT>(0x8000) : 0; }

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = System().CursorPos();
  return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  if (!track || !Record(track->hwndTrack)) return FALSE;
  if (track->dwFlags & TME_LEAVE) System().TrackLeave(track->hwndTrack);
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = System().Cursor();
  System().SetCursor(cursor);
  return previous;
}

HCURSOR GetCursor() { return System().Cursor(); }

namespace plumet::framework {

backend::CursorId CursorObject::Realize(backend::Backend& b, std::uint64_t currentSession) {
  if (id && session == currentSession) return id;
  session = currentSession;
  id = system ? b.MakeSystemCursor(systemCursor) : b.MakeCursor(image);
  return id;
}

}  // namespace plumet::framework

HCURSOR LoadCursor(HINSTANCE instance, UINT id) {
  using plumet::framework::CursorObject;
  if (!instance) {
    // System cursors are shared: one object each for the whole run.
    static CursorObject arrow{true, plumet::backend::SystemCursor::Arrow, {}, 0, 0};
    static CursorObject hand{true, plumet::backend::SystemCursor::Hand, {}, 0, 0};
    if (id == IDC_ARROW) return plumet::framework::ToHandle(&arrow);
    if (id == IDC_HAND) return plumet::framework::ToHandle(&hand);
    return nullptr;
  }
  auto image = plumet::framework::LoadResourceCursor(id);
  if (!image) return nullptr;
  auto* cursor = new CursorObject;
  cursor->image = std::move(*image);
  cursor->image.resourceId = id;
  return plumet::framework::ToHandle(cursor);
}

BOOL DestroyCursor(HCURSOR cursor) {
  plumet::framework::CursorObject* object = plumet::framework::ToCursor(cursor);
  if (!object || object->system) return FALSE;
  if (System().Cursor() == cursor) System().SetCursor(nullptr);
  if (object->id && object->session == System().Session() && System().Backend())
    System().Backend()->FreeCursor(object->id);
  delete object;
  return TRUE;
}

HICON LoadIcon(HINSTANCE, UINT id) {
  auto image = plumet::framework::LoadResourceIcon(id);
  if (!image) return nullptr;
  auto* icon = new plumet::framework::CursorObject;
  icon->image = std::move(*image);
  return plumet::framework::ToHandle(icon);
}

int GetSystemMetrics(int index) {
  plumet::backend::Backend* backend = System().Backend();
  switch (index) {
    case SM_CXSCREEN: return backend ? backend->ScreenSize().width : 0;
    case SM_CYSCREEN: return backend ? backend->ScreenSize().height : 0;
    case SM_CXICON:
    case SM_CYICON: return 32;
    default: return 0;
  }
}

UINT GetDpiForWindow(HWND) {
  plumet::backend::Backend* backend = System().Backend();
  return USER_DEFAULT_SCREEN_DPI * static_cast<UINT>(backend ? std::max(1, backend->ScaleFactor()) : 1);
}

int MessageBox(HWND owner, const char* text, const char* caption, UINT) {
  plumet::backend::Backend* backend = AfxGetBackend();
  if (!backend) return 0;
  plumet::backend::MessageRequest request;
  request.owner = AfxNativeWindow(owner);
  request.caption = caption != nullptr ? caption : "Error";
  request.text = text != nullptr ? text : "";
  backend->ShowMessage(request);
  return IDOK;
}

UINT GetDoubleClickTime() { return static_cast<UINT>(plumet::framework::kDoubleClickTime); }

void AfxSetBackend(plumet::backend::Backend* backend) { System().SetBackend(backend); }
plumet::backend::Backend* AfxGetBackend() { return System().Backend(); }
HWND AfxWindowFromNative(plumet::backend::WindowId native) { return System().FromNative(native); }

plumet::backend::WindowId AfxNativeWindow(HWND hwnd) {
  WindowRecord* record = Record(hwnd);
  return record ? record->native : 0;
}

int AfxGetDialogTemplateId(HWND hwnd) {
  WindowRecord* record = Record(hwnd);
  return record ? static_cast<int>(record->templateId) : 0;
}
