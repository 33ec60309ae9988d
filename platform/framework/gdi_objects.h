// What the framework's GDI handles stand for. Internal to the framework.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/framework/win_types.h"
#include "platform/graphics/surface.h"

namespace plumet::framework {

// A window rectangle as the rectangle of graphics and of the backend.
inline gfx::IntRect ToIntRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct GdiObject {
  enum class Kind { Bitmap, Region, Font };
  explicit GdiObject(Kind k) : kind(k) {}
  virtual ~GdiObject() = default;
  Kind kind;
};

struct BitmapObject : GdiObject {
  explicit BitmapObject(std::shared_ptr<gfx::Surface> s) : GdiObject(Kind::Bitmap), surface(std::move(s)) {}
  std::shared_ptr<gfx::Surface> surface;
  bool stock = false;  // the placeholder a new memory DC starts with
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(Kind::Region) {}
  std::vector<RECT> rects;
};

struct FontObject : GdiObject {
  FontObject() : GdiObject(Kind::Font) {}
};

// A device context: a surface seen through an origin and a clip.
struct DeviceContext {
  BitmapObject* selected = nullptr;        // memory DCs
  std::shared_ptr<gfx::Surface> surface;   // what drawing reaches
  HWND window = nullptr;                   // window DCs
  int originX = 0;
  int originY = 0;
  gfx::IntRect clip;                       // in surface pixels; empty: whole surface
  int bkMode = 2;
  COLORREF textColor = 0;
  FontObject* font = nullptr;
  gfx::IntRect touched;                    // what was drawn, to present on release
  DeviceContext() = default;
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;
  void Touch(const gfx::IntRect& rect);
  // A rectangle of the DC's coordinates in surface pixels.
  gfx::IntRect OnSurface(const RECT& r) const {
    return {r.left + originX, r.top + originY, r.right + originX, r.bottom + originY};
  }
};

inline GdiObject* ToObject(HGDIOBJ h) { return static_cast<GdiObject*>(h); }
inline BitmapObject* ToBitmap(HBITMAP h) { return reinterpret_cast<BitmapObject*>(h); }
inline HBITMAP ToHandle(BitmapObject* b) { return reinterpret_cast<HBITMAP>(static_cast<GdiObject*>(b)); }
inline RegionObject* ToRegion(HRGN h) { return reinterpret_cast<RegionObject*>(h); }
inline HRGN ToHandle(RegionObject* r) { return reinterpret_cast<HRGN>(static_cast<GdiObject*>(r)); }
inline DeviceContext* ToDc(HDC h) { return reinterpret_cast<DeviceContext*>(h); }
inline HDC ToHandle(DeviceContext* dc) { return reinterpret_cast<HDC>(dc); }

// Drops the CDC that CDC::FromHandle made for a DC that goes away.
void ForgetDcStandIn(HDC hdc);

// Makes a DC for a window's picture (nullptr for windows without one).
HDC MakeWindowDc(HWND window);
// Hands what a window DC drew to the screen and frees it.
void ReleaseWindowDc(HDC hdc);

}  // namespace plumet::framework
