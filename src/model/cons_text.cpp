#include "model/cons_text.h"

#include <cstdlib>

#include "model/kind_drawing.h"

std::unique_ptr<CConsText> CConsText::CreateAt(int x, int y)
{
    auto element = std::make_unique<CConsText>();
    const int h = element->m_logFont.height;
    element->m_text = "Linea de texto";
    element->m_rcPage = {x, y + h + 5, x + 400, y};
    return element;
}

void CConsText::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
}

void CConsText::DrawDesign(Dc& dc)
{
    // The rectangle always matches the text once drawn, so the line has no handles.
    RefitToText(*this, dc);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    if (m_selected) {
        PenScope pen(dc, 1, kSelectionRed);
        dc.Outline(rc);
    }
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
    dc.TextOutClipped(rc.left, rc.MinY(), rc, m_text);
}

void CConsText::Print(Dc& dc)
{
    // Printed where the designer shows it: left-aligned from the left edge. The stored
    // alignment code is kept but not applied: applied at the left edge of a rectangle
    // that fits the text exactly, a right or centred alignment would put the text
    // outside the box the designer drew.
    const Rect rc = DrawableRect(m_rcPage).Normalized();
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
    dc.TextOut(rc.left, rc.MinY(), m_text);
}
