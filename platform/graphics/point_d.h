// A point in surface pixels, integers at pixel centres.
#pragma once

namespace plumet::gfx {

struct PointD {
  double x = 0;
  double y = 0;
};

}  // namespace plumet::gfx
