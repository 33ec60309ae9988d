// Surfaces with known pixels for the encoder tests.
#pragma once

#include <cstdint>
#include <memory>
#include <random>

#include "platform/graphics/surface.h"

namespace export_test {

// Every pixel the given premultiplied value.
inline std::shared_ptr<plumet::gfx::Surface> FilledSurface(int width, int height, std::uint32_t premultiplied) {
  auto surface = plumet::gfx::Surface::Create(width, height);
  surface->Fill(surface->Bounds(), premultiplied);
  return surface;
}

// Opaque random colours: a picture no compression can shrink much.
inline std::shared_ptr<plumet::gfx::Surface> NoiseSurface(int width, int height, unsigned seed) {
  auto surface = plumet::gfx::Surface::Create(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) surface->Row(y)[x] = 0xFF000000u | (random() & 0xFFFFFFu);
  }
  return surface;
}

}  // namespace export_test
