// A 32-bit premultiplied ARGB picture in native byte order: the one pixel
// format of every surface, window picture and export bitmap.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/graphics/int_rect.h"

namespace plumet::gfx {

class Surface {
 public:
  // Every pixel starts fully transparent; nullptr when the memory cannot be had.
  static std::shared_ptr<Surface> Create(int width, int height);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }  // bytes per row
  IntRect Bounds() const { return {0, 0, width_, height_}; }
  std::uint32_t* Row(int y);
  const std::uint32_t* Row(int y) const;
  std::uint32_t Pixel(int x, int y) const { return Row(y)[x]; }

  // Replaces the pixels of a rectangle with one premultiplied colour.
  void Fill(const IntRect& rect, std::uint32_t premultiplied);
  // Copies a rectangle of another surface, pixels replaced as they are.
  void CopyFrom(const Surface& source, int srcX, int srcY, const IntRect& dest);
  // Scales a rectangle of another surface onto dest, nearest neighbour.
  void StretchFrom(const Surface& source, const IntRect& src, const IntRect& dest);

  // For the drawing code of this layer only.
  struct Impl;
  Impl& Internals() { return *impl_; }

 private:
  Surface(int width, int height, std::unique_ptr<Impl> impl);
  int width_;
  int height_;
  int stride_;
  std::unique_ptr<Impl> impl_;
};

// Colour helpers between straight ARGB and the premultiplied pixel form.
std::uint32_t Premultiply(std::uint32_t straightArgb);
std::uint32_t Unpremultiply(std::uint32_t premultipliedArgb);

}  // namespace plumet::gfx
