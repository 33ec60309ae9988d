// PNG files for the desktop picture and for screen shots.
#pragma once

#include <optional>
#include <string>

#include "platform/backend/headless/image.h"

namespace plumet::backend::headless {

// The picture as premultiplied ARGB32, or nothing when it cannot be read.
std::optional<Image> LoadPng(const std::string& path);

bool WritePng(const std::string& path, const Image& image);

}  // namespace plumet::backend::headless
