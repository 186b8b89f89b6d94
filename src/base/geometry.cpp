#include "base/geometry.h"

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

bool Rect::Intersects(const Rect& other) const
{
    const Rect a = Normalized();
    const Rect b = other.Normalized();
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect Rect::ClampedTo(int32_t limit) const
{
    const auto clamp = [limit](int32_t v) { return std::clamp(v, -limit, limit); };
    return {clamp(left), clamp(top), clamp(right), clamp(bottom)};
}
