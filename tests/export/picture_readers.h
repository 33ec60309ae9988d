// Reading written pictures back with the reference libraries, apart from the
// encoders under test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace export_test {

// Straight (not premultiplied) 0xAARRGGBB pixels, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // Pixels that are not exactly this colour.
  int CountOther(std::uint32_t argb) const {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [argb](std::uint32_t p) { return p != argb; }));
  }
};

struct PngFile {
  Picture picture;
  bool hasAlpha = false;
};
std::optional<PngFile> ReadPng(const std::string& path);

struct TiffFrame {
  Picture picture;
  int samplesPerPixel = 0;
  int bitsPerSample = 0;
  int photometric = 0;
  std::vector<int> extraSamples;
};
// Every directory in file order; nothing when the file cannot be read whole.
std::optional<std::vector<TiffFrame>> ReadTiff(const std::string& path);

}  // namespace export_test
