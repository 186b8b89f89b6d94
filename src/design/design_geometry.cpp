#include "design/design_geometry.h"

#include <cmath>
#include <cstdio>

#include "model/linea.h"

int PixelsToUnits(int pixels, double dpi)
{
    return int(std::lround(pixels * 254.0 / dpi));
}

int UnitsToPixels(int units, double dpi)
{
    return int(std::lround(units * dpi / 254.0));
}

Point ClientToPage(int px, int py, int scrollPxX, int scrollPxY, double dpi)
{
    const int lx = PixelsToUnits(px, dpi);
    const int ly = -PixelsToUnits(py, dpi);
    const int sx = PixelsToUnits(scrollPxX, dpi);
    const int sy = -PixelsToUnits(scrollPxY, dpi);
    return {lx + sx - kPageMarginUnits, ly + sy + kPageMarginUnits};
}

Point Snap(Point p, int step)
{
    if (step == 0)
        return p;
    // C++ integer division truncates toward zero, as the snapping grid does.
    return {step * (p.x / step), step * (p.y / step)};
}

ReferenceEdges EdgesOf(const CControles& element)
{
    const Rect& rc = element.m_rcPage;
    ReferenceEdges e{rc.left, rc.right, rc.top, rc.bottom};
    if (element.m_kind == kKindLinea) {
        if (static_cast<const CLinea&>(element).m_horizontal)
            e.top = e.bottom = Midpoint(rc.top, rc.bottom);
        else
            e.left = e.right = Midpoint(rc.left, rc.right);
    }
    return e;
}

namespace {

std::string Format2(const char* format, int a, int b)
{
    char text[96];
    std::snprintf(text, sizeof text, format, a * 0.01, b * 0.01);
    return text;
}

}  // namespace

std::string PositionXY(int x, int y)
{
    return Format2("X=%.2f, Y=%.2f", x, y);
}

std::string PositionXWidth(int x, int width)
{
    return Format2("X=%.2f, Ancho=%.2f", x, width);
}

std::string PositionYHeight(int y, int height)
{
    return Format2("Y=%.2f, Alto=%.2f", y, height);
}
