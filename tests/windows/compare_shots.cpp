// compare_shots LINUX_DIR WINDOWS_DIR: the shots before.png and after.png of
// tests/windows/ink.replay, made by each system's plumet-replay, agree
// where ink certainly is and where it certainly is not. Ink is where the
// Linux shots before and after differ; its edge (up to kEdge pixels from
// it, and ink pixels whose colour is blended) is not compared, as the
// Linux tests leave anti-aliased edges alone. Exit 0 when they agree.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "tests/platform/png_reader.h"

namespace {

using plumet::test::PngPixels;
using plumet::test::ReadPng;

constexpr int kEdge = 2;

bool SameSize(const PngPixels& a, const PngPixels& b) {
  return !a.argb.empty() && a.width == b.width && a.height == b.height;
}

bool NearInk(const PngPixels& before, const PngPixels& after, int x, int y) {
  for (int dy = -kEdge; dy <= kEdge; ++dy) {
    for (int dx = -kEdge; dx <= kEdge; ++dx) {
      const int nx = x + dx;
      const int ny = y + dy;
      if (nx >= 0 && ny >= 0 && nx < after.width && ny < after.height && before.At(nx, ny) != after.At(nx, ny))
        return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: compare_shots LINUX_DIR WINDOWS_DIR\n");
    return 2;
  }
  const std::string linuxDir = argv[1];
  const std::string windowsDir = argv[2];
  const PngPixels before = ReadPng(linuxDir + "/before.png");
  const PngPixels after = ReadPng(linuxDir + "/after.png");
  const PngPixels windowsBefore = ReadPng(windowsDir + "/before.png");
  const PngPixels windowsAfter = ReadPng(windowsDir + "/after.png");
  if (!SameSize(before, after) || !SameSize(after, windowsBefore) || !SameSize(after, windowsAfter)) {
    std::fprintf(stderr, "compare_shots: the four shots must be readable and of one size\n");
    return 2;
  }
  // The pen's colour: the most common colour among the pixels the strokes changed.
  std::map<std::uint32_t, long> inkColours;
  for (std::size_t i = 0; i < after.argb.size(); ++i) {
    if (after.argb[i] != before.argb[i]) ++inkColours[after.argb[i]];
  }
  long ink = 0;
  std::uint32_t pen = 0;
  long penPixels = 0;
  for (const auto& [colour, count] : inkColours) {
    ink += count;
    if (count > penPixels) {
      pen = colour;
      penPixels = count;
    }
  }
  long inkCompared = 0;
  long clearCompared = 0;
  long differing = 0;
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      const bool changed = before.At(x, y) != after.At(x, y);
      const bool certainInk = changed && after.At(x, y) == pen;
      const bool certainClear = !NearInk(before, after, x, y);
      if (certainInk) ++inkCompared;
      if (certainClear) ++clearCompared;
      if (certainClear && windowsBefore.At(x, y) != before.At(x, y)) ++differing;
      if ((certainInk || certainClear) && windowsAfter.At(x, y) != after.At(x, y)) {
        if (differing < 10)
          std::fprintf(stderr, "(%d, %d): Linux %08X, Windows %08X\n", x, y, after.At(x, y), windowsAfter.At(x, y));
        ++differing;
      }
    }
  }
  std::printf("ink pixels %ld, compared as ink %ld, compared as clear %ld, differing %ld\n", ink, inkCompared,
              clearCompared, differing);
  // A script that left no ink, or ink of no single colour, proves nothing.
  if (ink == 0 || inkCompared * 2 < ink) {
    std::fprintf(stderr, "compare_shots: the Linux shots show no solid ink\n");
    return 1;
  }
  return differing == 0 ? 0 : 1;
}
