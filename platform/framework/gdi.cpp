#include "platform/framework/gdi.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/framework/gdi_objects.h"
#include "platform/graphics/gdiplus.h"
#include "platform/graphics/text.h"

namespace plumet::framework {

DeviceContext::~DeviceContext() { ForgetDcStandIn(ToHandle(this)); }

void DeviceContext::Touch(const gfx::IntRect& rect) { touched = touched.Union(rect); }

namespace {

Gdiplus::DrawTarget DrawTargetOf(HDC hdc) {
  DeviceContext* dc = ToDc(hdc);
  if (!dc || !dc->surface) return {};
  return {dc->surface.get(), dc->originX, dc->originY, dc->clip};
}

BitmapObject* StockBitmap() {
  static BitmapObject* stock = [] {
    auto* b = new BitmapObject(gfx::Surface::Create(1, 1));
    b->stock = true;
    return b;
  }();
  return stock;
}

// The part of a destination rectangle that a DC may draw on, in surface pixels.
gfx::IntRect DrawableRect(const DeviceContext& dc, int x, int y, int width, int height) {
  gfx::IntRect r{x + dc.originX, y + dc.originY, x + dc.originX + width, y + dc.originY + height};
  r = r.Intersect(dc.surface->Bounds());
  if (!dc.clip.Empty()) r = r.Intersect(dc.clip);
  return r;
}

int RegionComplexity(const RegionObject& region) {
  if (region.rects.empty()) return NULLREGION;
  return region.rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace
}  // namespace plumet::framework

using namespace plumet::framework;
using plumet::gfx::IntRect;
using plumet::gfx::Surface;

// The graphics layer knows surfaces, not handles: a DC is resolved to the
// surface behind it here.
Gdiplus::Graphics::Graphics(HDC hdc) : Graphics(DrawTargetOf(hdc)) {}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new DeviceContext;
  dc->selected = StockBitmap();
  dc->surface = dc->selected->surface;
  return ToHandle(dc);
}

BOOL DeleteDC(HDC hdc) {
  if (!hdc) return FALSE;
  delete ToDc(hdc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DeviceContext* dc = ToDc(hdc);
  GdiObject* o = ToObject(object);
  if (!dc || !o) return nullptr;
  switch (o->kind) {
    case GdiObject::Kind::Bitmap: {
      if (!dc->selected) return nullptr;  // window DCs keep the window's picture
      GdiObject* old = dc->selected;
      dc->selected = static_cast<BitmapObject*>(o);
      dc->surface = dc->selected->surface;
      return old;
    }
    case GdiObject::Kind::Font: {
      GdiObject* old = dc->font;
      dc->font = static_cast<FontObject*>(o);
      return old;
    }
    case GdiObject::Kind::Region:
      return nullptr;
  }
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = ToObject(object);
  if (!o) return FALSE;
  if (o->kind == GdiObject::Kind::Bitmap && static_cast<BitmapObject*>(o)->stock) return FALSE;
  delete o;
  return TRUE;
}

int GetObject(HGDIOBJ object, int size, void* out) {
  GdiObject* o = ToObject(object);
  if (!o || o->kind != GdiObject::Kind::Bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) return 0;
  const auto& surface = static_cast<BitmapObject*>(o)->surface;
  BITMAP bm;
  bm.bmWidth = surface ? surface->Width() : 0;
  bm.bmHeight = surface ? surface->Height() : 0;
  bm.bmWidthBytes = surface ? surface->Stride() : 0;
  bm.bmBits = surface ? surface->Row(0) : nullptr;
  std::memcpy(out, &bm, sizeof bm);
  return static_cast<int>(sizeof bm);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  auto surface = Surface::Create(width, height);
  if (!surface) return nullptr;
  // A device bitmap has no transparency of its own: it starts opaque black.
  surface->Fill(surface->Bounds(), 0xFF000000u);
  return ToHandle(new BitmapObject(std::move(surface)));
}

// The framework's sections keep their rows top-down whatever the sign of the
// height: bits points at the top row.
HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, HANDLE, DWORD) {
  if (bits) *bits = nullptr;
  if (!info || info->bmiHeader.biBitCount != 32 || info->bmiHeader.biCompression != BI_RGB) return nullptr;
  const LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  auto surface = Surface::Create(info->bmiHeader.biWidth, height);
  if (!surface) return nullptr;
  if (bits) *bits = surface->Row(0);
  return ToHandle(new BitmapObject(std::move(surface)));
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD) {
  DeviceContext* d = ToDc(dest);
  DeviceContext* s = ToDc(source);
  if (!d || !s || !d->surface || !s->surface) return FALSE;
  const IntRect target = DrawableRect(*d, x, y, width, height);
  if (target.Empty()) return TRUE;
  // Source offset follows the part of the destination that was clipped away.
  const int sx = srcX + s->originX + (target.left - (x + d->originX));
  const int sy = srcY + s->originY + (target.top - (y + d->originY));
  d->surface->CopyFrom(*s->surface, sx, sy, target);
  d->Touch(target);
  return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD) {
  DeviceContext* d = ToDc(dest);
  DeviceContext* s = ToDc(source);
  if (!d || !s || !d->surface || !s->surface || width <= 0 || height <= 0) return FALSE;
  const IntRect full{x + d->originX, y + d->originY, x + d->originX + width, y + d->originY + height};
  const IntRect src{srcX + s->originX, srcY + s->originY, srcX + s->originX + srcWidth, srcY + s->originY + srcHeight};
  d->surface->StretchFrom(*s->surface, src, full);
  d->Touch(DrawableRect(*d, x, y, width, height));
  return TRUE;
}

DWORD GetPixelArgb(HDC hdc, int x, int y) {
  DeviceContext* dc = ToDc(hdc);
  if (!dc || !dc->surface) return 0;
  const int px = x + dc->originX;
  const int py = y + dc->originY;
  if (px < 0 || py < 0 || px >= dc->surface->Width() || py >= dc->surface->Height()) return 0;
  return plumet::gfx::Unpremultiply(dc->surface->Pixel(px, py));
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = ToDc(hdc);
  if (!dc) return 0;
  return std::exchange(dc->bkMode, mode);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = ToDc(hdc);
  if (!dc) return 0;
  return std::exchange(dc->textColor, color);
}

int DrawText(HDC hdc, const char* text, int length, RECT* rect, UINT) {
  DeviceContext* dc = ToDc(hdc);
  if (!dc || !dc->surface || !text || !rect) return 0;
  const std::string s = length < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(length));
  if (s.empty()) return 0;
  const IntRect box = dc->OnSurface(*rect);
  plumet::gfx::DrawCentredText(*dc->surface, s, dc->clip.Empty() ? box : box.Intersect(dc->clip),
                               ArgbFromColorRef(0xFF, dc->textColor));
  dc->Touch(box);
  return 1;
}

HRGN ExtCreateRegion(const void*, DWORD size, const RGNDATA* data) {
  if (!data || size < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES) return nullptr;
  if (size < sizeof(RGNDATAHEADER) + static_cast<std::size_t>(data->rdh.nCount) * sizeof(RECT)) return nullptr;
  auto* region = new RegionObject;
  const RECT* rects = data->Buffer;
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    if (rects[i].right > rects[i].left && rects[i].bottom > rects[i].top) region->rects.push_back(rects[i]);
  return ToHandle(region);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto* region = new RegionObject;
  if (right > left && bottom > top) region->rects.push_back({left, top, right, bottom});
  return ToHandle(region);
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
  RegionObject* d = ToRegion(dest);
  RegionObject* a = ToRegion(source1);
  RegionObject* b = ToRegion(source2);
  if (!d || !a || !b || mode != RGN_OR) return ERROR_REGION;
  std::vector<RECT> merged = a->rects;
  merged.insert(merged.end(), b->rects.begin(), b->rects.end());
  d->rects = std::move(merged);
  return RegionComplexity(*d);
}

BOOL PtInRegion(HRGN region, int x, int y) {
  RegionObject* r = ToRegion(region);
  if (!r) return FALSE;
  return std::any_of(r->rects.begin(), r->rects.end(), [&](const RECT& rc) {
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
  });
}

std::vector<RECT> GetRegionRects(HRGN region) {
  RegionObject* r = ToRegion(region);
  return r ? r->rects : std::vector<RECT>{};
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}
