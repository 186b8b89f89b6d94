#include "platform/format_render.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "model/kind_drawing.h"
#include "platform/qt_dc.h"

namespace {

// What the elements draw beyond their rectangles, in 0.1 mm: half the 0.2 mm pen of
// lines and rectangles, and the constant paragraph's text, laid two units below the
// rectangle it fits (its drawing rectangle is inflated by two units, which on a page
// rectangle moves the upper edge down).
constexpr int kDrawnBeyondUnits = 3;

// Right and lower extent of page rectangles, in 0.1 mm from the origin (y as a positive
// distance downward).
struct PageExtent {
    int64_t right = 0;
    int64_t down = 0;
    void Add(const Rect& rc)
    {
        const Rect n = rc.Normalized();
        right = std::max<int64_t>(right, int64_t(n.right) + kDrawnBeyondUnits);
        // The numerically lower edge is the page's lower edge (y runs upward).
        down = std::max<int64_t>(down, -int64_t(n.top) + kDrawnBeyondUnits);
    }
};

// Pixels holding `units` of 0.1 mm from the corner, the last partial pixel and the pixel
// a one-pixel pen draws at the edge included.
int Pixels(int64_t units, double dpi)
{
    const double px = std::ceil(double(units) * dpi / 254.0) + 1;
    return int(std::clamp(px, 1.0, 1e9));
}

bool FitsItsText(int32_t kind)
{
    return kind == kKindConsText || kind == kKindConsParrafo || kind == kKindEtiqueta;
}

// The page rectangle a constant text or a label takes once fitted to its text: its left
// and top edges kept, its size measured in its font (as RefitToText makes it).
Rect FittedRect(const CControles& element, Dc& dc)
{
    const Rect page = DrawableRect(element.m_rcPage);
    dc.SelectFont(element.m_logFont);
    Rect measured{0, 0, 0, 0};
    const int height = dc.DrawText(element.m_text, measured, DrawTextFlag::kCalcRect);
    return {page.left, page.top, AddSaturated(page.left, measured.right), AddSaturated(page.top, -int64_t(height))};
}

}  // namespace

LogFont CaptureScreenFont()
{
    LogFont font;
    font.height = 14;
    font.weight = 400;
    font.pitchAndFamily = 0x20;  // swiss
    font.face = "Arial";
    return font;
}

QSize RenderSize(const Format& format, RenderMode mode, double dpi)
{
    if (mode == RenderMode::Screen) {
        Rect extent{0, 0, 100, 100};
        extent = extent.United(DrawableRect(format.screenExtent));
        for (const auto& element : format.elements)
            if (!element->m_constant)
                extent = extent.United(DrawableRect(element->m_rcScreen).Normalized());
        // The outline of a control is drawn on its right and lower edges' own pixels.
        return {std::max(1, extent.right + 1), std::max(1, extent.bottom + 1)};
    }
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtDc dc(painter, dpi);
    dc.SetMapMode(MapMode::LoMetric);
    PageExtent extent;
    for (const auto& element : format.elements) {
        const bool fits = FitsItsText(element->m_kind);
        if (mode == RenderMode::Design) {
            // The design view fits constant text and labels to their text; the rest is
            // drawn in its rectangle.
            const Rect page = fits ? FittedRect(*element, dc) : DrawableRect(element->m_rcPage);
            extent.Add(page.Offset(kDesignMarginX, kDesignMarginY));
            continue;
        }
        if (element->m_kind == kKindEtiqueta)
            continue;  // never printed
        extent.Add(DrawableRect(element->m_rcPage));
        // Constant text prints from its corner whatever its stored size.
        if (element->m_kind == kKindConsText || element->m_kind == kKindConsParrafo) {
            const Rect corner = DrawableRect(element->m_rcPage).Normalized();
            const Rect fitted = FittedRect(*element, dc);
            extent.Add({corner.left, corner.MaxY(), fitted.right, AddSaturated(corner.MaxY(), fitted.Height())});
        }
    }
    return {Pixels(extent.right, dpi), Pixels(extent.down, dpi)};
}

std::string RenderRefusal(QSize size)
{
    if (size.width() <= kMaxRenderSide && size.height() <= kMaxRenderSide &&
        int64_t(size.width()) * size.height() <= kMaxRenderPixels)
        return {};
    return "la imagen mediría " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
           " píxeles, más de lo que se puede dibujar (hasta " + std::to_string(kMaxRenderSide) +
           " píxeles por lado y " + std::to_string(kMaxRenderPixels / 1'000'000) +
           " millones en total); revise la posición y el tamaño de sus elementos o use menos puntos por pulgada";
}

void RenderFormat(Format& format, RenderMode mode, double dpi, QPainter& painter)
{
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QtDc dc(painter, dpi);
    dc.SetBkTransparent(true);
    switch (mode) {
    case RenderMode::Design:
        dc.SetMapMode(MapMode::LoMetric);
        for (auto& element : format.elements)
            element->DrawDesign(dc);
        break;
    case RenderMode::Print:
        dc.SetMapMode(MapMode::LoMetric);
        for (auto& element : format.elements)
            element->Print(dc);
        break;
    case RenderMode::Screen: {
        dc.SetMapMode(MapMode::Pixels);
        static const LogFont screenFont = CaptureScreenFont();
        dc.SelectFont(screenFont);
        for (auto& element : format.elements) {
            // The screen layout designer keeps the handles of the resizable controls on
            // the screen rectangle; the element gets its own mode back afterwards.
            const ScreenDrawingLoan loan(*element, &screenFont, HasScreenHandles(element->m_kind));
            element->DrawScreen(dc, false);
        }
        break;
    }
    }
}
