#include "design/design_geometry.h"

#include <cmath>
#include <charconv>

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

// A page quantity in centimetres with two decimals and always a decimal point: the C
// library's formatting follows the user's locale, which in some Spanish locales writes a
// comma, while every other measure on screen shows a point.
std::string Centimetres(int units)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, units * 0.01, std::chars_format::fixed, 2);
    return error == std::errc() ? std::string(text, end) : std::string("0.00");
}

std::string Pair(const char* first, int a, const char* second, int b)
{
    return std::string(first) + "=" + Centimetres(a) + ", " + second + "=" + Centimetres(b);
}

}  // namespace

std::string PositionXY(int x, int y)
{
    return Pair("X", x, "Y", y);
}

std::string PositionXWidth(int x, int width)
{
    return Pair("X", x, "Ancho", width);
}

std::string PositionYHeight(int y, int height)
{
    return Pair("Y", y, "Alto", height);
}
