#include "foundation/geometry.h"

#include <climits>
#include <cmath>

namespace corvid {
namespace {

int ClampToInt(std::int64_t value) {
    return static_cast<int>(value < INT_MIN ? INT_MIN : (value > INT_MAX ? INT_MAX : value));
}

} // namespace

int RoundToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= INT_MIN)
        return INT_MIN;
    if (value >= INT_MAX)
        return INT_MAX;
    // std::nearbyint follows the default rounding mode, which rounds halves to even.
    return static_cast<int>(std::nearbyint(value));
}

int RoundToMultiple(int value, int multiple) {
    if (multiple < 1)
        return value;
    const std::int64_t m = multiple;
    const std::int64_t v = value;
    std::int64_t quotient = v / m;
    std::int64_t remainder = v % m;
    if (remainder < 0) {
        remainder += m;
        --quotient;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > m || (twice == m && quotient % 2 != 0))
        ++quotient;
    return ClampToInt(quotient * m);
}

std::int64_t IntPower(std::int64_t base, unsigned exponent) {
    std::uint64_t result = 1;
    auto factor = static_cast<std::uint64_t>(base);
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1)
            result *= factor;
        factor *= factor;
    }
    return static_cast<std::int64_t>(result);
}

TRectangle NormalizedRect(const TRectangle& rect) {
    return {Min(rect.Left, rect.Right), Min(rect.Top, rect.Bottom), Max(rect.Left, rect.Right),
            Max(rect.Top, rect.Bottom)};
}

TRectangle InflateRect(const TRectangle& rect, int dx, int dy) {
    const TRectangle r = NormalizedRect(rect);
    return {ClampToInt(std::int64_t{r.Left} - dx), ClampToInt(std::int64_t{r.Top} - dy),
            ClampToInt(std::int64_t{r.Right} + dx), ClampToInt(std::int64_t{r.Bottom} + dy)};
}

std::optional<TRectangle> IntersectRect(const TRectangle& a, const TRectangle& b) {
    const TRectangle ra = NormalizedRect(a);
    const TRectangle rb = NormalizedRect(b);
    const TRectangle common{Max(ra.Left, rb.Left), Max(ra.Top, rb.Top), Min(ra.Right, rb.Right),
                            Min(ra.Bottom, rb.Bottom)};
    if (common.Left > common.Right || common.Top > common.Bottom)
        return std::nullopt;
    return common;
}

bool PointInRect(const TRectangle& rect, int x, int y) {
    const TRectangle r = NormalizedRect(rect);
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

TPointF RotatePoint(TPointF point, TPointF centre, double radians) {
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double dx = point.X - centre.X;
    const double dy = point.Y - centre.Y;
    return {centre.X + dx * c - dy * s, centre.Y + dx * s + dy * c};
}

} // namespace corvid
