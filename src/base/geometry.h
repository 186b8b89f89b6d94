#pragma once
// Integer points and rectangles, used both for page rectangles (0.1 mm, y upward, so a
// page rectangle's top is numerically greater than its bottom) and for screen rectangles
// (pixels, y downward).
#include <cstdint>

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

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    // Left <= right and top <= bottom numerically (for a page rectangle this swaps its
    // top and bottom).
    Rect Normalized() const;
    Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Grows by dx on the left and right and by dy on the top and bottom, numerically:
    // top -= dy, bottom += dy.
    Rect Inflated(int32_t dx, int32_t dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    // Inside when left <= x < right and top <= y < bottom, numerically (as stored).
    bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
    // The smallest rectangle holding both; an operand with no area as stored
    // (right <= left or bottom <= top) does not contribute.
    Rect United(const Rect& other) const;
    // The numerically lower edge: min(top, bottom). On the page that is the lower edge.
    int32_t MinY() const { return top < bottom ? top : bottom; }
    int32_t MaxY() const { return top < bottom ? bottom : top; }
};
