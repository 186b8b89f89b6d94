#include "kind_drawing.h"

void PlaceOnScreenFromPage(CControles& element, Dc& dc, ScreenPlacement how)
{
    if (element.m_screenPlaced)
        return;
    const Rect& page = element.m_rcPage;
    const Point topLeft = dc.LogicalToDevice({page.left, page.top});
    const Point bottomRight = dc.LogicalToDevice({page.right, page.bottom});
    Rect rc{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    switch (how) {
    case ScreenPlacement::Line: rc.bottom = rc.top + 20; break;
    case ScreenPlacement::Square:
        rc.right = rc.left + 15;
        rc.bottom = rc.top + 15;
        break;
    case ScreenPlacement::Corners: break;
    }
    element.m_rcScreen = rc;
}

void RefitToText(CControles& element, Dc& dc)
{
    dc.SelectFont(element.m_logFont);
    Rect measured{element.m_rcPage.left, element.m_rcPage.top, element.m_rcPage.left, element.m_rcPage.top};
    const int height = dc.DrawText(element.m_text, measured, DrawTextFlag::kCalcRect);
    element.m_rcPage.right = measured.right;
    // Page y runs upward: the text hangs below the top edge.
    element.m_rcPage.bottom = element.m_rcPage.top - height;
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
    const Rect rc = rcScreen.Normalized();
    const int midX = rc.left + (rc.right - rc.left) / 2;
    const int midY = rc.top + (rc.bottom - rc.top) / 2;
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
    case TextAlign::kRight: return rc.right - 2;
    case TextAlign::kCenter: return rc.left + (rc.right - rc.left) / 2;
    default: return rc.left + 2;
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
        dc.Outline(element.m_rcScreen);
        if (element.m_selected)
            OutlineHandles(dc, ScreenHandleSquares(element.m_rcScreen, allFourHandles));
    }
    element.CControles::DrawScreen(dc, showOrder);
}
