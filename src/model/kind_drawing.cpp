#include "model/kind_drawing.h"

void PlaceOnScreenFromPage(CControles& element, Dc& dc, ScreenPlacement how)
{
    if (element.m_screenPlaced)
        return;
    const Rect page = DrawableRect(element.m_rcPage);
    const Point topLeft = dc.LogicalToDevice({page.left, page.top});
    const Point bottomRight = dc.LogicalToDevice({page.right, page.bottom});
    Rect rc{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    switch (how) {
    case ScreenPlacement::Line: rc.bottom = AddSaturated(rc.top, 20); break;
    case ScreenPlacement::Square:
        rc.right = AddSaturated(rc.left, 15);
        rc.bottom = AddSaturated(rc.top, 15);
        break;
    case ScreenPlacement::Corners: break;
    }
    element.m_rcScreen = rc;
}

void RefitToText(CControles& element, Dc& dc)
{
    dc.SelectFont(element.m_logFont);
    // Measured at the origin, so that the size does not depend on where the text lies.
    Rect measured{0, 0, 0, 0};
    const int height = dc.DrawText(element.m_text, measured, DrawTextFlag::kCalcRect);
    element.m_rcPage.right = AddSaturated(element.m_rcPage.left, measured.right);
    // Page y runs upward: the text hangs below the top edge.
    element.m_rcPage.bottom = AddSaturated(element.m_rcPage.top, -int64_t(height));
}

void OutlineHandles(Dc& dc, const std::array<Rect, 4>& handles)
{
    for (const Rect& handle : handles)
        if (!handle.IsEmpty())
            dc.Outline(handle);
}

void OutlineInDesign(const CControles& element, Dc& dc, const Rect& rc)
{
    PenScope pen(dc);
    if (element.m_selected)
        dc.SelectPen(1, kSelectionRed);
    dc.Outline(rc);
    if (element.m_selected)
        OutlineHandles(dc, element.m_rcHandle);
}

std::array<Rect, 4> ScreenHandleSquares(const Rect& rcScreen, bool allFour)
{
    const Rect rc = DrawableRect(rcScreen).Normalized();
    const int midX = Midpoint(rc.left, rc.right);
    const int midY = Midpoint(rc.top, rc.bottom);
    const auto square = [](int x, int y) { return Rect{x - 4, y - 4, x + 4, y + 4}; };
    std::array<Rect, 4> handles{};
    handles[0] = square(rc.left, midY);
    handles[1] = square(rc.right, midY);
    if (allFour) {
        handles[2] = square(midX, rc.bottom);
        handles[3] = square(midX, rc.top);
    }
    return handles;
}

int AlignedTextX(const Rect& rc, int align)
{
    switch (align & 6) {
    case TextAlign::kRight: return AddSaturated(rc.right, -2);
    case TextAlign::kCenter: return Midpoint(rc.left, rc.right);
    default: return AddSaturated(rc.left, 2);
    }
}

void DrawControlOnScreen(CControles& element, Dc& dc, bool showOrder, bool allFourHandles)
{
    if (element.m_screenFont)
        dc.SelectFont(*element.m_screenFont);
    {
        PenScope pen(dc);
        if (element.m_selected)
            dc.SelectPen(1, kSelectionRed);
        dc.Outline(DrawableRect(element.m_rcScreen));
        if (element.m_selected)
            OutlineHandles(dc, ScreenHandleSquares(element.m_rcScreen, allFourHandles));
    }
    element.CControles::DrawScreen(dc, showOrder);
}

ScreenDrawingLoan::ScreenDrawingLoan(CControles& element, const LogFont* screenFont, bool layoutMode)
    : m_element(element),
      m_layoutMode(element.m_layoutMode),
      m_screenFont(element.m_screenFont),
      m_handles(element.m_rcHandle)
{
    element.m_screenFont = screenFont;
    const int32_t mode = layoutMode ? 1 : 0;
    if (element.m_layoutMode != mode) {
        element.m_layoutMode = mode;
        element.UpdateHandles();
    }
}

ScreenDrawingLoan::~ScreenDrawingLoan()
{
    m_element.m_layoutMode = m_layoutMode;
    m_element.m_screenFont = m_screenFont;
    m_element.m_rcHandle = m_handles;
}

bool HasScreenHandles(int32_t kind)
{
    return kind == kKindTextlineVar || kind == kKindParrafoVar || kind == kKindCuadrosVar || kind == kKindGrid ||
           kind == kKindCodigoBarras;
}
