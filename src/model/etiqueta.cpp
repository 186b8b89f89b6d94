#include "model/etiqueta.h"

#include <cstdlib>

#include "model/kind_drawing.h"

namespace {

LogFont DefaultScreenFont()
{
    LogFont font;
    font.height = 14;
    return font;
}

}  // namespace

std::unique_ptr<CEtiqueta> CEtiqueta::CreateAt(int x, int y)
{
    auto element = std::make_unique<CEtiqueta>();
    const int h = element->m_logFont.height;
    element->m_text = "Etiqueta";
    element->m_rcPage = {x, y + h + 5, x + 400, y};
    return element;
}

void CEtiqueta::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
}

void CEtiqueta::DrawDesign(Dc& dc)
{
    PenScope pen(dc);
    if (m_selected)
        dc.SelectPen(1, kSelectionRed);
    dc.SetTextColor(m_textColor);
    RefitToText(*this, dc);
    PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Line);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    if (m_selected)
        dc.Outline(rc);
    dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
    dc.TextOutClipped(rc.left, rc.MinY(), rc, m_text);
}

void CEtiqueta::DrawScreen(Dc& dc, bool /*showOrder*/)
{
    const Rect rc = DrawableRect(m_rcScreen);
    if (m_selected) {
        PenScope pen(dc, 1, kSelectionRed);
        dc.Outline(rc);
    }
    LogFont font = m_screenFont ? *m_screenFont : DefaultScreenFont();
    font.weight = m_logFont.weight;
    dc.SelectFont(font);
    dc.SetTextAlign(TextAlign::kLeft);
    dc.TextOut(rc.left, rc.top + 2, m_text + ":");
}
