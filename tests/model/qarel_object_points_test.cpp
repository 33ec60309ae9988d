// Point storage of a stroke: the inline buffer, growth in fixed steps, the
// rules for the button-up point, and a growth that fails.
#include <gtest/gtest.h>

#include <cstdlib>

#include "block_size.h"
#include "model/qarel_object.h"

namespace {

// Point i of a test stroke: distinct in x and y so that a shifted or lost point shows.
int X(int i) { return i; }
int Y(int i) { return 3 * i + 7; }

void AddMoves(CQarelObject& stroke, int count) {
  for (int i = stroke.m_nCount; i < count; ++i) ASSERT_TRUE(stroke.AddPoint(X(i), Y(i), false)) << "point " << i;
}

void ExpectPointsIntact(const CQarelObject& stroke, int count) {
  ASSERT_EQ(stroke.m_nCount, count);
  const Gdiplus::PointF* points = stroke.Points();
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(points[i].X, static_cast<float>(X(i))) << "point " << i;
    ASSERT_EQ(points[i].Y, static_cast<float>(Y(i))) << "point " << i;
  }
}

// Counts growths and can refuse them; restores the real allocator afterwards.
class AllocatorTest : public ::testing::Test {
 protected:
  static inline int allocations = 0;
  static inline bool refuse = false;
  static void* Allocate(std::size_t count, std::size_t size) {
    if (refuse) return nullptr;
    ++allocations;
    return std::calloc(count, size);
  }
  void SetUp() override {
    saved_ = CQarelObject::s_pfnAllocPoints;
    allocations = 0;
    refuse = false;
    CQarelObject::s_pfnAllocPoints = &Allocate;
  }
  void TearDown() override { CQarelObject::s_pfnAllocPoints = saved_; }

 private:
  CQarelObject::PointAllocator saved_ = nullptr;
};

struct StorageCase {
  int points;
  int capacity;
  bool grown;
  int growths;
};

class PointStorage : public AllocatorTest, public ::testing::WithParamInterface<StorageCase> {};

TEST_P(PointStorage, KeepsEveryPointInOrderWithFixedGrowth) {
  const StorageCase c = GetParam();
  CQarelObject stroke;
  AddMoves(stroke, c.points);
  ExpectPointsIntact(stroke, c.points);
  EXPECT_EQ(stroke.m_nCapacity, c.capacity);
  EXPECT_EQ(stroke.m_pPoints != nullptr, c.grown);
  EXPECT_EQ(allocations, c.growths);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, PointStorage,
                         ::testing::Values(StorageCase{4094, 4095, false, 0}, StorageCase{4095, 4095, false, 0},
                                           StorageCase{4096, 8191, true, 1}, StorageCase{8191, 8191, true, 1},
                                           StorageCase{8192, 12287, true, 2}),
                         [](const auto& name) { return std::to_string(name.param.points); });

TEST(ClickWithoutMovement, GivesTheDiagonalNeighbourAsSecondPoint) {
  CQarelObject stroke;
  ASSERT_TRUE(stroke.AddPoint(40, 50, false));
  EXPECT_TRUE(stroke.AddPoint(40, 50, true));
  ASSERT_EQ(stroke.m_nCount, 2);
  EXPECT_EQ(stroke.Points()[0].X, 40.0f);
  EXPECT_EQ(stroke.Points()[0].Y, 50.0f);
  EXPECT_EQ(stroke.Points()[1].X, 41.0f);
  EXPECT_EQ(stroke.Points()[1].Y, 51.0f);
}

TEST(ClickWithoutMovement, SecondPointComesFromTheButtonUpPosition) {
  CQarelObject stroke;
  stroke.AddPoint(40, 50, false);
  EXPECT_TRUE(stroke.AddPoint(90, 10, true));
  ASSERT_EQ(stroke.m_nCount, 2);
  EXPECT_EQ(stroke.Points()[1].X, 91.0f);
  EXPECT_EQ(stroke.Points()[1].Y, 11.0f);
}

TEST(ButtonUpPoint, AtTheLastPointAddsNothingWhileInline) {
  for (int count : {2, 100, 4094}) {
    CQarelObject stroke;
    AddMoves(stroke, count);
    EXPECT_FALSE(stroke.AddPoint(X(count - 1), Y(count - 1), true)) << count;
    ExpectPointsIntact(stroke, count);
  }
}

TEST(ButtonUpPoint, ElsewhereIsStored) {
  CQarelObject stroke;
  AddMoves(stroke, 3);
  EXPECT_TRUE(stroke.AddPoint(X(3), Y(3), true));
  ExpectPointsIntact(stroke, 4);
}

TEST(ButtonUpPoint, AtTheLastPointIsStoredFrom4095PointsOn) {
  for (int count : {4095, 8191}) {
    CQarelObject stroke;
    AddMoves(stroke, count);
    EXPECT_TRUE(stroke.AddPoint(X(count - 1), Y(count - 1), true)) << count;
    ASSERT_EQ(stroke.m_nCount, count + 1);
    EXPECT_EQ(stroke.Points()[count].X, static_cast<float>(X(count - 1)));
    EXPECT_EQ(stroke.Points()[count].Y, static_cast<float>(Y(count - 1)));
  }
}

// At the button-up an inline stroke gives up its 4096-point buffer for a
// block of its own points; points added after that still go inline.
TEST(ButtonUpPoint, LeavesTheStrokeOnlyTheMemoryOfItsPoints) {
  for (int count : {3, 20, 4094}) {
    CQarelObject stroke;
    AddMoves(stroke, count - 1);
    ASSERT_TRUE(stroke.AddPoint(X(count - 1), Y(count - 1), true));
    ExpectPointsIntact(stroke, count);
    const std::size_t pointBytes = static_cast<std::size_t>(count) * sizeof(Gdiplus::PointF);
    EXPECT_LE(HeapBlockSize(stroke.Points()), pointBytes + 32) << count;

    AddMoves(stroke, count + 1);
    ExpectPointsIntact(stroke, count + 1);
    EXPECT_EQ(stroke.m_nCapacity, 4095);
    EXPECT_EQ(stroke.m_pPoints, nullptr);
  }
}

TEST(MovePoint, RepeatedPositionIsStoredAgain) {
  CQarelObject stroke;
  stroke.AddPoint(5, 6, false);
  EXPECT_TRUE(stroke.AddPoint(5, 6, false));
  EXPECT_TRUE(stroke.AddPoint(5, 6, false));
  EXPECT_EQ(stroke.m_nCount, 3);
}

TEST_F(AllocatorTest, FailedFirstGrowthLosesOnlyThatPoint) {
  CQarelObject stroke;
  AddMoves(stroke, 4095);
  refuse = true;
  EXPECT_FALSE(stroke.AddPoint(1, 2, false));
  EXPECT_FALSE(stroke.AddPoint(1, 2, true));
  ExpectPointsIntact(stroke, 4095);
  EXPECT_EQ(stroke.m_pPoints, nullptr);
  EXPECT_EQ(stroke.m_nCapacity, 4095);

  refuse = false;
  AddMoves(stroke, 4097);
  ExpectPointsIntact(stroke, 4097);
}

TEST_F(AllocatorTest, FailedLaterGrowthKeepsTheGrownArray) {
  CQarelObject stroke;
  AddMoves(stroke, 8191);
  const Gdiplus::PointF* grown = stroke.m_pPoints;
  refuse = true;
  EXPECT_FALSE(stroke.AddPoint(1, 2, false));
  EXPECT_EQ(stroke.m_pPoints, grown);
  EXPECT_EQ(stroke.m_nCapacity, 8191);
  ExpectPointsIntact(stroke, 8191);

  refuse = false;
  AddMoves(stroke, 8192);
  ExpectPointsIntact(stroke, 8192);
  EXPECT_EQ(stroke.m_nCapacity, 12287);
}

}  // namespace
