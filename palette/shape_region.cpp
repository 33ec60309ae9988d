// The palette's outline from its shape bitmap: every pixel that is not of
// the key colour becomes part of a 1-pixel-high run of rectangles.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "palette/toolbar_dlg.h"

namespace {

// Rectangles per region part, and how many more the buffer takes each time it is full.
constexpr std::size_t kBatchLimit = 2000;
constexpr std::size_t kBufferGrowth = 100;

// One region part in the making: a region header followed by its
// rectangles, laid out as ExtCreateRegion reads them.
class RegionBatch {
 public:
  RegionBatch() {
    Grow();
    Empty();
  }

  void Add(const RECT& rc) {
    if (count_ == capacity_) Grow();
    std::memcpy(buffer_.data() + offsetof(RGNDATA, Buffer) + count_ * sizeof(RECT), &rc, sizeof rc);
    ++count_;
    RECT& bound = header_.rcBound;
    if (rc.left < bound.left) bound.left = rc.left;
    if (rc.top < bound.top) bound.top = rc.top;
    if (rc.right > bound.right) bound.right = rc.right;
    if (rc.bottom > bound.bottom) bound.bottom = rc.bottom;
  }

  bool Full() const { return count_ >= kBatchLimit; }

  // Makes a region of what was gathered, unites it into result (the first
  // part becomes the result) and starts afresh.
  void UniteInto(HRGN& result) {
    header_.nCount = static_cast<DWORD>(count_);
    header_.nRgnSize = static_cast<DWORD>(count_ * sizeof(RECT));
    std::memcpy(buffer_.data(), &header_, sizeof header_);
    const auto size = static_cast<DWORD>(offsetof(RGNDATA, Buffer) + count_ * sizeof(RECT));
    HRGN part = ::ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(buffer_.data()));
    if (!result) {
      result = part;
    } else if (part) {
      ::CombineRgn(result, result, part, RGN_OR);
      ::DeleteObject(part);
    }
    Empty();
  }

 private:
  void Grow() {
    capacity_ += kBufferGrowth;
    buffer_.resize(offsetof(RGNDATA, Buffer) + capacity_ * sizeof(RECT));
  }

  void Empty() {
    count_ = 0;
    header_ = RGNDATAHEADER{};
    header_.iType = RDH_RECTANGLES;
    header_.rcBound = {MAXLONG, MAXLONG, 0, 0};
  }

  RGNDATAHEADER header_;
  std::vector<std::byte> buffer_;
  std::size_t count_ = 0;
  std::size_t capacity_ = 0;
};

// The see-through range of one colour component.
struct ComponentRange {
  std::uint32_t low;
  std::uint32_t high;
  bool Contains(std::uint32_t value) const { return value >= low && value <= high; }
};

// Components never pass 255, so the range needs no clamping there.
ComponentRange RangeOf(BYTE key, BYTE tolerance) { return {key, static_cast<std::uint32_t>(key) + tolerance}; }

}  // namespace

HRGN CToolbarDlg::BuildShapeRegion(HBITMAP hBitmap, COLORREF crKey, COLORREF crTolerance) {
  if (!hBitmap) return nullptr;
  HDC hdcCopy = ::CreateCompatibleDC(nullptr);
  if (!hdcCopy) return nullptr;
  BITMAP bm;
  ::GetObject(hBitmap, sizeof bm, &bm);

  // Read through a 32-bit copy, whatever the bitmap's own format. Top-down,
  // so that row 0 is the image's top row on every platform.
  BITMAPINFO info;
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP hDib = ::CreateDIBSection(hdcCopy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!hDib) {
    ::DeleteDC(hdcCopy);
    return nullptr;
  }
  HGDIOBJ oldCopyBitmap = ::SelectObject(hdcCopy, hDib);
  HDC hdcSource = ::CreateCompatibleDC(hdcCopy);
  if (!hdcSource) {
    ::SelectObject(hdcCopy, oldCopyBitmap);
    ::DeleteObject(hDib);
    ::DeleteDC(hdcCopy);
    return nullptr;
  }
  HGDIOBJ oldSourceBitmap = ::SelectObject(hdcSource, hBitmap);
  ::BitBlt(hdcCopy, 0, 0, bm.bmWidth, bm.bmHeight, hdcSource, 0, 0, SRCCOPY);

  BITMAP dib;
  ::GetObject(hDib, sizeof dib, &dib);
  const std::size_t stride = (static_cast<std::size_t>(dib.bmWidthBytes) + 3) & ~std::size_t{3};
  const ComponentRange red = RangeOf(GetRValue(crKey), GetRValue(crTolerance));
  const ComponentRange green = RangeOf(GetGValue(crKey), GetGValue(crTolerance));
  const ComponentRange blue = RangeOf(GetBValue(crKey), GetBValue(crTolerance));
  const auto seeThrough = [&](std::uint32_t argb) {
    return red.Contains((argb >> 16) & 0xFF) && green.Contains((argb >> 8) & 0xFF) && blue.Contains(argb & 0xFF);
  };

  HRGN result = nullptr;
  RegionBatch batch;
  const auto* rows = static_cast<const std::byte*>(bits);
  for (LONG y = 0; y < bm.bmHeight; ++y) {
    const std::byte* row = rows + static_cast<std::size_t>(y) * stride;
    LONG x = 0;
    while (x < bm.bmWidth) {
      const LONG x0 = x;
      for (; x < bm.bmWidth; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, row + static_cast<std::size_t>(x) * sizeof pixel, sizeof pixel);
        if (seeThrough(pixel)) break;
      }
      if (x > x0) {
        batch.Add({x0, y, x, y + 1});
        if (batch.Full()) batch.UniteInto(result);
      }
      ++x;  // past the see-through pixel that ended the run
    }
  }
  batch.UniteInto(result);

  ::SelectObject(hdcSource, oldSourceBitmap);
  ::DeleteDC(hdcSource);
  ::SelectObject(hdcCopy, oldCopyBitmap);
  ::DeleteObject(hDib);
  ::DeleteDC(hdcCopy);
  return result;
}
