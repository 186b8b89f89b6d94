#pragma once
// Integer points and rectangles, used both for page rectangles (0.1 mm, y upward, so a
// page rectangle's top is numerically greater than its bottom) and for screen rectangles
// (pixels, y downward).
//
// Coordinates come from files and may lie anywhere in the 32-bit range. Moving, growing
// and measuring therefore saturate at the ends of the range instead of wrapping around:
// an element at the edge of the range stays at the edge, it never jumps to the far side.
#include <algorithm>
#include <cstdint>
#include <limits>

// The value, or the nearest end of the 32-bit range.
inline constexpr int32_t Saturate32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// a + b, held at the ends of the 32-bit range.
inline constexpr int32_t AddSaturated(int32_t a, int64_t b)
{
    // Any 32-bit value plus any value a 32-bit sum may need stays well inside 64 bits.
    return Saturate32(int64_t(a) + std::clamp<int64_t>(b, -(int64_t(1) << 40), int64_t(1) << 40));
}

// a + (b - a) / 2, truncated toward zero like the integer arithmetic it replaces, without
// overflow. The result always lies between a and b.
inline constexpr int32_t Midpoint(int32_t a, int32_t b)
{
    return int32_t(int64_t(a) + (int64_t(b) - int64_t(a)) / 2);
}

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const Rect&, const Rect&) = default;

    // right - left and bottom - top, saturated (a rectangle spanning more than the
    // 32-bit range measures the largest value).
    int32_t Width() const { return Saturate32(int64_t(right) - left); }
    int32_t Height() const { return Saturate32(int64_t(bottom) - top); }
    bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    // Left <= right and top <= bottom numerically (for a page rectangle this swaps its
    // top and bottom).
    Rect Normalized() const;
    // Moved by dx, dy; an edge that would leave the 32-bit range stays at its end.
    Rect Offset(int64_t dx, int64_t dy) const
    {
        return {AddSaturated(left, dx), AddSaturated(top, dy), AddSaturated(right, dx), AddSaturated(bottom, dy)};
    }
    // Grows by dx on the left and right and by dy on the top and bottom, numerically:
    // top -= dy, bottom += dy (saturated as Offset).
    Rect Inflated(int64_t dx, int64_t dy) const
    {
        return {AddSaturated(left, -dx), AddSaturated(top, -dy), AddSaturated(right, dx), AddSaturated(bottom, dy)};
    }
    // Inside when left <= x < right and top <= y < bottom, numerically (as stored).
    bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
    // The smallest rectangle holding both; an operand with no area as stored
    // (right <= left or bottom <= top) does not contribute.
    Rect United(const Rect& other) const;
    // Whether the two share any area, both taken normalised (edges touching do not count).
    bool Intersects(const Rect& other) const;
    // Each edge held inside [-limit, limit]: a rectangle reaching far outside that square
    // keeps the part that lies inside it (any orientation is kept).
    Rect ClampedTo(int32_t limit) const;
    // The numerically lower edge: min(top, bottom). On the page that is the lower edge.
    int32_t MinY() const { return top < bottom ? top : bottom; }
    int32_t MaxY() const { return top < bottom ? bottom : top; }
};
