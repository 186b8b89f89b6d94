#include "base/dc.h"

#include <cmath>

void Dc::FillRectsF(std::span<const RectF> rects, ColorRef color)
{
    const auto whole = [](double v) {
        return int32_t(std::clamp(std::lround(v), long(-kDrawLimit), long(kDrawLimit)));
    };
    for (const RectF& r : rects)
        FillRect({whole(r.left), whole(r.top), whole(r.right), whole(r.bottom)}, color);
}
