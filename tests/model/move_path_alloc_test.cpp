// The pointer-move path while drawing allocates nothing once a stroke has
// started: every malloc family call of the process is counted (operator new
// ends in malloc too), cairo's and the C++ library's included.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>

#include "board_surface.h"
#include "model/qarel_page.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {
std::atomic<long> allocations{0};
void Count() { allocations.fetch_add(1, std::memory_order_relaxed); }
}  // namespace

extern "C" {
void* malloc(std::size_t size) noexcept {
  Count();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
  Count();
  return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
  Count();
  return __libc_realloc(block, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
  Count();
  return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
  Count();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
  Count();
  *out = __libc_memalign(alignment, size);
  return *out ? 0 : ENOMEM;
}
}

namespace {

class IdleBoard : public CQarelBoard {
 public:
  void PresentBoard(const RECT*) override { ++presents; }
  void PanView(int, int, int, int) override {}
  int GetEraserAlpha() override { return 1; }
  int presents = 0;
};

// Moves of about 6 pixels around a circle, as a drag delivers them.
POINT Around(int i) {
  return {960 + static_cast<int>(400 * std::cos(i * 0.015)), 540 + static_cast<int>(400 * std::sin(i * 0.015))};
}

class MovePath : public ::testing::TestWithParam<int> {};

TEST_P(MovePath, AllocatesNothingAfterTheFirstMoves) {
  BoardSurface surface(1920, 1080);
  surface.Fill(0xFFFFFFFF);
  IdleBoard board;
  CQarelPage page;
  page.m_pBoard = &board;
  page.m_nTool = GetParam();
  page.m_nWidth = 15;
  page.m_argbBackground = 0xFFFFFFFF;
  ASSERT_TRUE(page.BeginStroke(Around(0).x, Around(0).y));
  // Warm-up: the drawing layer's per-thread scratch grows to a segment's size.
  for (int i = 1; i <= 20; ++i) page.ContinueStroke(Around(i).x, Around(i).y, surface.Dc());

  const long before = allocations.load();
  for (int i = 21; i < 4000; ++i) page.ContinueStroke(Around(i).x, Around(i).y, surface.Dc());
  const long during = allocations.load() - before;

  EXPECT_EQ(during, 0);
  EXPECT_EQ(board.presents, 3999);  // the moves did draw
  EXPECT_EQ(page.m_pCurrent->m_nCount, 4000);
  page.EndStroke(Around(3999).x, Around(3999).y, surface.Dc());
}

INSTANTIATE_TEST_SUITE_P(Tools, MovePath, ::testing::Values(TOOL_PEN, TOOL_BIGERASER));

TEST(AllocationCounter, SeesAllocationsOfTheDrawingPath) {
  // The counter must see what the path would allocate: a grown point array.
  CQarelObject stroke;
  for (int i = 0; i < 4095; ++i) stroke.AddPoint(i, i, false);
  const long before = allocations.load();
  stroke.AddPoint(1, 1, false);
  EXPECT_EQ(allocations.load() - before, 1);
}

}  // namespace
