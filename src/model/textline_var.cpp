#include "model/textline_var.h"

#include <cstdlib>

#include "model/kind_drawing.h"

std::unique_ptr<CTextlineVar> CTextlineVar::CreateAt(int x, int y)
{
    auto element = std::make_unique<CTextlineVar>();
    const int h = element->m_logFont.height;
    element->m_text = "Linea de texto";
    element->m_rcPage = {x, y + h + 5, x + 400, y};
    element->UpdateHandles();
    return element;
}

void CTextlineVar::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
    // The height always follows the font; only the width can be dragged.
    m_rcPage.top = AddSaturated(m_rcPage.bottom, int64_t(m_logFont.height) + 5);
    UpdateHandles();
}

void CTextlineVar::DrawValue(Dc& dc, const Rect& rc, const std::string& text) const
{
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(m_align | TextAlign::kBottom);
    dc.TextOutClipped(AlignedTextX(rc, m_align), rc.MinY(), rc, text);
}

void CTextlineVar::DrawDesign(Dc& dc)
{
    PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Line);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    OutlineInDesign(*this, dc, rc);
    DrawValue(dc, rc, m_text);
}

void CTextlineVar::DrawScreen(Dc& dc, bool showOrder)
{
    DrawControlOnScreen(*this, dc, showOrder, false);
}

void CTextlineVar::Print(Dc& dc)
{
    if (!m_pControl)
        return;
    DrawValue(dc, DrawableRect(m_rcPage).Normalized(), m_pControl->Text());
}

int CTextlineVar::CreateEntryControl(Dc&, EntryFactory& factory, int controlId, const LogFont& font)
{
    return CreateTextControl(factory, TextEntryKind::CalcLine, controlId, font);
}
