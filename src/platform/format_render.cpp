#include "format_render.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "qt_dc.h"

namespace {

bool HasScreenHandles(int32_t kind)
{
    return kind == kKindTextlineVar || kind == kKindParrafoVar || kind == kKindCuadrosVar || kind == kKindGrid;
}

// Right and lower extent of page rectangles, in 0.1 mm from the origin (y as a positive
// distance downward).
struct PageExtent {
    int64_t right = 0;
    int64_t down = 0;
    void Add(const Rect& rc)
    {
        const Rect n = rc.Normalized();
        right = std::max<int64_t>(right, n.right);
        down = std::max<int64_t>(down, -int64_t(n.top));
    }
};

int Pixels(int64_t units, double dpi)
{
    const double px = std::ceil(double(units) * dpi / 254.0) + 1;
    return int(std::clamp(px, 1.0, 1e9));
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

QSize RenderSize(Format& format, RenderMode mode, double dpi)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtDc dc(painter, dpi);
    if (mode == RenderMode::Screen) {
        Rect extent{0, 0, 100, 100};
        extent = extent.United(format.screenExtent).United(ScreenExtent(format.elements));
        return {std::max(1, extent.right), std::max(1, extent.bottom)};
    }
    dc.SetMapMode(MapMode::LoMetric);
    PageExtent extent;
    for (auto& element : format.elements) {
        if (mode == RenderMode::Design) {
            // Drawing refits constant text; measure what will be drawn.
            element->DrawDesign(dc);
            extent.Add(element->m_rcPage.Offset(kDesignMarginX, kDesignMarginY).Inflated(2, 2));
            continue;
        }
        extent.Add(element->m_rcPage);
        // Constant text prints from its corner whatever its stored size.
        if (element->m_kind == kKindConsText || element->m_kind == kKindConsParrafo) {
            dc.SelectFont(element->m_logFont);
            const Rect corner = element->m_rcPage.Normalized();
            Rect measured{corner.left, corner.top, corner.left, corner.top};
            const int height = dc.DrawText(element->m_text, measured, DrawTextFlag::kCalcRect);
            extent.Add({corner.left, corner.MaxY(), measured.right + 2, corner.MaxY() - height});
        }
    }
    return {Pixels(extent.right, dpi), Pixels(extent.down, dpi)};
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
            // the screen rectangle.
            if (HasScreenHandles(element->m_kind)) {
                element->m_layoutMode = 1;
                element->UpdateHandles();
            }
            element->m_screenFont = &screenFont;
            element->DrawScreen(dc, false);
            element->m_screenFont = nullptr;
        }
        break;
    }
    }
}
