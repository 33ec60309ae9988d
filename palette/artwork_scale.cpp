#include "palette/artwork_scale.h"

#include <algorithm>

#include "resources/resource_ids.h"

int ArtworkScale(HWND hwnd) {
  const int factor = static_cast<int>(::GetDpiForWindow(hwnd) / USER_DEFAULT_SCREEN_DPI);
  return std::clamp(factor, 1, kLargestArtworkScale);
}
