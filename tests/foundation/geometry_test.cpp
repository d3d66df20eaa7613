#include "foundation/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

namespace corvid {
namespace {

TEST(Geometry, MinMaxClamp) {
    EXPECT_EQ(Min(3, -2), -2);
    EXPECT_EQ(Max(3, -2), 3);
    EXPECT_EQ(Clamp(5, 0, 3), 3);
    EXPECT_EQ(Clamp(-5, 0, 3), 0);
    EXPECT_EQ(Clamp(2, 0, 3), 2);
    EXPECT_EQ(Clamp(2, 5, 1), 5);
}

TEST(Geometry, RoundToIntRoundsHalvesToEvenAndClamps) {
    const struct {
        double value;
        int expected;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.49, 0},
        {-0.5, 0},
        {1.5000001, 2},
        {1e20, INT_MAX},
        {-1e20, INT_MIN},
        {NAN, 0},
        {INFINITY, INT_MAX},
        {-INFINITY, INT_MIN},
        {2147483646.6, INT_MAX},
        {-2147483648.4, INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundToInt(c.value), c.expected) << c.value;
}

TEST(Geometry, RoundToMultiple) {
    const struct {
        int value;
        int multiple;
        int expected;
    } cases[] = {
        {7, 5, 5},
        {8, 5, 10},
        {5, 2, 4},
        {7, 2, 8},
        {-7, 5, -5},
        {-8, 5, -10},
        {-5, 2, -4},
        {-7, 2, -8},
        {9, 0, 9},
        {9, -4, 9},
        {INT_MAX, 1000, INT_MAX},
        {INT_MIN, 1000, INT_MIN},
        {0, 7, 0},
        {14, 7, 14},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundToMultiple(c.value, c.multiple), c.expected)
            << c.value << " to a multiple of " << c.multiple;
}

TEST(Geometry, IntPower) {
    EXPECT_EQ(IntPower(2, 10), 1024);
    EXPECT_EQ(IntPower(3, 0), 1);
    EXPECT_EQ(IntPower(0, 0), 1);
    EXPECT_EQ(IntPower(-2, 3), -8);
    EXPECT_EQ(IntPower(10, 18), 1'000'000'000'000'000'000);
    EXPECT_EQ(IntPower(2, 64), 0);
}

TEST(Geometry, RectanglesTakeCornersInEitherOrder) {
    const TRectangle reversed{10, 20, 0, 5};
    EXPECT_TRUE(PointInRect(reversed, 0, 5));
    EXPECT_TRUE(PointInRect(reversed, 10, 20));
    EXPECT_TRUE(PointInRect(reversed, 4, 12));
    EXPECT_FALSE(PointInRect(reversed, 11, 12));
    EXPECT_FALSE(PointInRect(reversed, 4, 4));

    const TRectangle grown = InflateRect(reversed, 2, -1);
    EXPECT_EQ(grown.Left, -2);
    EXPECT_EQ(grown.Top, 6);
    EXPECT_EQ(grown.Right, 12);
    EXPECT_EQ(grown.Bottom, 19);

    const auto common = IntersectRect(reversed, TRectangle{5, 0, 30, 8});
    ASSERT_TRUE(common.has_value());
    EXPECT_EQ(common->Left, 5);
    EXPECT_EQ(common->Top, 5);
    EXPECT_EQ(common->Right, 10);
    EXPECT_EQ(common->Bottom, 8);

    const auto edge = IntersectRect(TRectangle{0, 0, 4, 4}, TRectangle{4, 4, 9, 9});
    ASSERT_TRUE(edge.has_value());
    EXPECT_EQ(edge->Left, 4);
    EXPECT_EQ(edge->Bottom, 4);
    EXPECT_FALSE(IntersectRect(TRectangle{0, 0, 4, 4}, TRectangle{5, 0, 9, 4}).has_value());
}

TEST(Geometry, RotatePoint) {
    const TPointF quarter = RotatePoint({1, 0}, {0, 0}, std::numbers::pi / 2);
    EXPECT_NEAR(quarter.X, 0, 1e-12);
    EXPECT_NEAR(quarter.Y, 1, 1e-12);
    const TPointF half = RotatePoint({2, 1}, {1, 1}, std::numbers::pi);
    EXPECT_NEAR(half.X, 0, 1e-12);
    EXPECT_NEAR(half.Y, 1, 1e-12);
}

} // namespace
} // namespace corvid
