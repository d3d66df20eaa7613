#pragma once

#include <cstdint>
#include <optional>

namespace corvid {

constexpr int Min(int a, int b) {
    return a < b ? a : b;
}
constexpr int Max(int a, int b) {
    return a > b ? a : b;
}
// `low` wins when the bounds are crossed.
constexpr int Clamp(int value, int low, int high) {
    return Max(low, Min(value, high));
}

// Nearest integer with halves to even (2.5 gives 2, 3.5 gives 4), clamped to the 32-bit range;
// NaN gives 0.
int RoundToInt(double value);
// The multiple of `multiple` nearest to `value`, halves to the even quotient, clamped to the
// 32-bit range; a `multiple` below 1 leaves the value as it is.
int RoundToMultiple(int value, int multiple);

// base^exponent, wrapping at 64 bits.
std::int64_t IntPower(std::int64_t base, unsigned exponent);

// Corners may come in either order; both edges belong to the rectangle.
struct TRectangle {
    int Left;
    int Top;
    int Right;
    int Bottom;
};

// The same rectangle with Left <= Right and Top <= Bottom.
TRectangle NormalizedRect(const TRectangle& rect);
// Grows by dx on the left and right and by dy on the top and bottom (shrinks when negative).
TRectangle InflateRect(const TRectangle& rect, int dx, int dy);
// The common part, normalized; none when the rectangles do not overlap.
std::optional<TRectangle> IntersectRect(const TRectangle& a, const TRectangle& b);
bool PointInRect(const TRectangle& rect, int x, int y);

struct TPointF {
    double X;
    double Y;
};

// Rotates `point` about `centre` by `radians`, counter-clockwise in a y-up frame.
TPointF RotatePoint(TPointF point, TPointF centre, double radians);

} // namespace corvid
