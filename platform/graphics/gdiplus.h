// Drawing objects shaped like the GDI+ ones the system is written against:
// a graphics object over a device context or bitmap, pens, solid brushes,
// images. Integer coordinates are pixel centres.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics/surface.h"

namespace plumet::gfx {
struct PointD;
struct NativeTarget;
}

// A device context of the window framework. This layer draws on surfaces
// only: the framework defines the graphics constructor that takes one.
struct HDC__;

namespace Gdiplus {

using ARGB = std::uint32_t;
using REAL = float;
using INT = int;

enum Status {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  WrongState = 8,
  FileNotFound = 10,
  AccessDenied = 12,
  UnknownImageFormat = 13,
};

enum CompositingMode { CompositingModeSourceOver = 0, CompositingModeSourceCopy = 1 };
enum SmoothingMode { SmoothingModeDefault = 0, SmoothingModeHighSpeed = 1, SmoothingModeHighQuality = 2,
                     SmoothingModeNone = 3, SmoothingModeAntiAlias = 4 };
enum LineJoin { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2 };
enum LineCap { LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2 };
enum Unit { UnitWorld = 0, UnitPixel = 2 };
enum PixelFormat { PixelFormat32bppARGB = 0x26200A };

struct PointF {
  REAL X = 0;
  REAL Y = 0;
};

struct Rect {
  INT X = 0;
  INT Y = 0;
  INT Width = 0;
  INT Height = 0;
};

class Pen {
 public:
  explicit Pen(ARGB color, REAL width = 1.0f, Unit unit = UnitWorld);
  Status SetLineJoin(LineJoin join);
  Status SetStartCap(LineCap cap);
  Status SetEndCap(LineCap cap);
  ARGB GetColor() const { return color_; }
  REAL GetWidth() const { return width_; }
  LineJoin GetLineJoin() const { return join_; }
  LineCap GetStartCap() const { return startCap_; }
  LineCap GetEndCap() const { return endCap_; }

 private:
  ARGB color_;
  REAL width_;
  LineJoin join_ = LineJoinMiter;
  LineCap startCap_ = LineCapFlat;
  LineCap endCap_ = LineCapFlat;
};

class SolidBrush {
 public:
  explicit SolidBrush(ARGB color) : color_(color) {}
  Status SetColor(ARGB color) {
    color_ = color;
    return Ok;
  }
  ARGB GetColor() const { return color_; }

 private:
  ARGB color_;
};

// A picture in memory. Counted, so that shutting the library down with
// pictures still alive is caught.
class Image {
 public:
  // Decodes a PNG file image held in memory; an image whose status is not Ok when it fails.
  static Image* FromMemory(const void* bytes, std::size_t size);
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  unsigned int GetWidth() const;
  unsigned int GetHeight() const;
  Status GetLastStatus() const { return status_; }
  plumet::gfx::Surface* GetSurface() const { return surface_.get(); }

 protected:
  explicit Image(std::shared_ptr<plumet::gfx::Surface> surface);
  std::shared_ptr<plumet::gfx::Surface> surface_;
  Status status_ = Ok;
};

// A bitmap with its own pixels; fully transparent when created.
class Bitmap : public Image {
 public:
  Bitmap(INT width, INT height, PixelFormat format);
};

// Where a graphics object draws: a surface, seen through a device context's
// origin and clip.
struct DrawTarget {
  plumet::gfx::Surface* surface = nullptr;
  int originX = 0;
  int originY = 0;
  plumet::gfx::IntRect clip;  // in surface pixels; empty = the whole surface
};

class Graphics {
 public:
  explicit Graphics(HDC__* hdc);  // defined by the framework, over the DC's draw target
  explicit Graphics(Image* image);
  explicit Graphics(const DrawTarget& target);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  Status GetLastStatus() const { return status_; }
  Status SetCompositingMode(CompositingMode mode);
  Status SetSmoothingMode(SmoothingMode mode);
  CompositingMode GetCompositingMode() const { return compositing_; }
  SmoothingMode GetSmoothingMode() const { return smoothing_; }

  Status DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2);
  // Cardinal spline of tension 0.5 through every point; two points make a straight line.
  Status DrawCurve(const Pen* pen, const PointF* points, INT count);
  Status FillRectangle(const SolidBrush* brush, INT x, INT y, INT width, INT height);
  Status DrawImage(Image* image, const Rect& dest, INT srcX, INT srcY, INT srcWidth, INT srcHeight, Unit unit);

  // Runs draw on the two halves of the target at once, on two threads, each
  // with a graphics object clipped to its half that starts with this
  // object's modes; this object ends with the modes of the upper half's.
  // Inside, only lines and curves with round joins and caps can be drawn;
  // anything else fails with WrongState.
  void DrawInBands(const std::function<void(Graphics&)>& draw);

 private:
  Graphics(const DrawTarget& band, const Graphics& modes);
  plumet::gfx::NativeTarget Native() const;
  bool Usable(const Pen* pen);
  Status StrokeRound(const Pen& pen, const plumet::gfx::PointD* points, INT count);
  DrawTarget target_;
  bool banded_ = false;  // drawing beside another thread: pixels only, no library state
  Status status_ = Ok;
  CompositingMode compositing_ = CompositingModeSourceOver;
  SmoothingMode smoothing_ = SmoothingModeNone;  // a new object does not anti-alias
};

struct GdiplusStartupInput {
  unsigned int GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  int SuppressBackgroundThread = 0;
  int SuppressExternalCodecs = 0;
};

Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, void* output);
void GdiplusShutdown(std::uintptr_t token);

// Pictures alive now, and those that were still alive at the last shutdown.
int LiveImageCount();
int ImagesAliveAtShutdown();

}  // namespace Gdiplus
