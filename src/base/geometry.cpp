#include "geometry.h"

#include <algorithm>

Rect Rect::Normalized() const
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

Rect Rect::United(const Rect& other) const
{
    // As the platform's union: a rectangle with no area (right <= left or bottom <= top,
    // as stored) does not contribute.
    const bool aEmpty = left >= right || top >= bottom;
    const bool bEmpty = other.left >= other.right || other.top >= other.bottom;
    if (aEmpty)
        return bEmpty ? Rect{} : other;
    if (bEmpty)
        return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}
