// Where a floating window goes when the screen changes size.
#include <gtest/gtest.h>

#include "palette/screen_fit.h"

namespace {

constexpr SIZE kScreen{800, 600};

TEST(FitOnScreen, WindowAlreadyOnScreenStaysPut) {
  EXPECT_EQ(FitOnScreen({700, 100, 750, 575}, kScreen), (RECT{700, 100, 750, 575}));
  EXPECT_EQ(FitOnScreen({0, 0, 800, 600}, kScreen), (RECT{0, 0, 800, 600}));
}

TEST(FitOnScreen, MovesTheLeastDistanceOnEachAxis) {
  // Off the right edge only: x changes, y stays.
  EXPECT_EQ(FitOnScreen({1266, 100, 1316, 575}, kScreen), (RECT{750, 100, 800, 575}));
  // Off the bottom only.
  EXPECT_EQ(FitOnScreen({300, 500, 350, 975}, kScreen), (RECT{300, 125, 350, 600}));
  // Partly off the top-left corner.
  EXPECT_EQ(FitOnScreen({-20, -5, 50, 55}, kScreen), (RECT{0, 0, 70, 60}));
}

TEST(FitOnScreen, WindowLargerThanTheScreenKeepsItsTopLeftOnScreen) {
  EXPECT_EQ(FitOnScreen({100, 200, 150, 675}, {640, 400}), (RECT{100, 0, 150, 475}));
}

}  // namespace
