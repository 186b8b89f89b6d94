#include "model/cons_parrafo.h"

#include <cstdlib>

#include "model/kind_drawing.h"

std::unique_ptr<CConsParrafo> CConsParrafo::CreateAt(int x, int y)
{
    auto element = std::make_unique<CConsParrafo>();
    const int h = element->m_logFont.height;
    element->m_text = "Parrafo de texto\r\nParrafo de texto";
    element->m_rcPage = {x, y, x + 600, y - 3 * h - 5};
    return element;
}

void CConsParrafo::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
}

void CConsParrafo::DrawDesign(Dc& dc)
{
    RefitToText(*this, dc);
    // Two units wider on each side; on a page rectangle (top above bottom) the same
    // inflation moves the upper and lower edges two units inward. The rectangle is the
    // text's own measured extent, so clipping to it would only cut the descenders of the
    // last line (the inflation takes 0.4 mm off its cell); the text is drawn unclipped.
    Rect rc = DesignRect(m_rcPage).Inflated(2, 2);
    if (m_selected) {
        PenScope pen(dc, 1, kSelectionRed);
        dc.Outline(rc);
    }
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft);
    dc.DrawText(m_text, rc, ParagraphAlign(m_align) | DrawTextFlag::kWordBreak | DrawTextFlag::kNoClip);
}

void CConsParrafo::Print(Dc& dc)
{
    Rect rc = DrawableRect(m_rcPage).Inflated(2, 2);
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft);
    dc.DrawText(m_text, rc, ParagraphAlign(m_align) | DrawTextFlag::kWordBreak | DrawTextFlag::kNoClip);
}
