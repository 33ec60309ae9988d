// Reads PNG files with libpng, independently of the desktop's own writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plumet::test {

struct PngPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // straight 0xAARRGGBB, rows top-down; empty when unreadable
  std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y * width + x)]; }
};

PngPixels ReadPng(const std::string& path);
bool WritePng(const std::string& path, const PngPixels& picture);

}  // namespace plumet::test
