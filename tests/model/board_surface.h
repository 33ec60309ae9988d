// A transparent 32-bit surface behind a memory DC, as the board has, with
// helpers to fill it and read its pixels back as straight ARGB.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/dc.h"
#include "platform/framework/dib_surface.h"
#include "platform/framework/gdi.h"
#include "platform/graphics/gdiplus.h"

class BoardSurface {
 public:
  BoardSurface(int width, int height) : width_(width), height_(height) {
    dc_.CreateCompatibleDC(nullptr);
    CreateDibSurface(nullptr, &bitmap_, width, height);
    dc_.SelectObject(&bitmap_);
  }

  CDC* Dc() { return &dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t Pixel(int x, int y) const { return GetPixelArgb(dc_.GetSafeHdc(), x, y); }

  void Fill(Gdiplus::ARGB argb) {
    Gdiplus::Graphics graphics(dc_.GetSafeHdc());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    const Gdiplus::SolidBrush brush(argb);
    graphics.FillRectangle(&brush, 0, 0, width_, height_);
  }

  std::vector<std::uint32_t> Snapshot() const {
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels.push_back(Pixel(x, y));
    return pixels;
  }

 private:
  int width_;
  int height_;
  // Declared before the DC so that the DC goes first.
  CBitmap bitmap_;
  CDC dc_;
};

inline int Red(std::uint32_t argb) { return static_cast<int>((argb >> 16) & 0xFF); }
inline int Green(std::uint32_t argb) { return static_cast<int>((argb >> 8) & 0xFF); }
inline int Blue(std::uint32_t argb) { return static_cast<int>(argb & 0xFF); }
inline int Alpha(std::uint32_t argb) { return static_cast<int>(argb >> 24); }
