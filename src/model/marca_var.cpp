#include "model/marca_var.h"

#include <cstdlib>

#include "model/kind_drawing.h"

std::unique_ptr<CMarcaVar> CMarcaVar::CreateAt(int x, int y)
{
    auto element = std::make_unique<CMarcaVar>();
    const int side = element->m_logFont.height + 5;
    element->m_text = "Marca de verificación";
    element->m_rcPage = {x, y + side, x + side, y};
    return element;
}

void CMarcaVar::FixFontHeight()
{
    // The square's side follows the font: the mark has no handles.
    m_logFont.height = PositiveHeight(m_logFont.height);
    const int64_t side = int64_t(m_logFont.height) + 5;
    m_rcPage = {m_rcPage.left, AddSaturated(m_rcPage.bottom, side), AddSaturated(m_rcPage.left, side), m_rcPage.bottom};
}

void CMarcaVar::DrawMark(Dc& dc, const Rect& rc) const
{
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kCenter | TextAlign::kBottom);
    dc.TextOutClipped(Midpoint(rc.left, rc.right), rc.MinY(), rc, m_mark);
}

void CMarcaVar::DrawDesign(Dc& dc)
{
    PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Square);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    OutlineInDesign(*this, dc, rc);
    DrawMark(dc, rc);
}

void CMarcaVar::DrawScreen(Dc& dc, bool showOrder)
{
    if (m_screenFont)
        dc.SelectFont(*m_screenFont);
    {
        PenScope pen(dc);
        if (m_selected)
            dc.SelectPen(1, kSelectionRed);
        const Rect rc = DrawableRect(m_rcScreen);
        dc.Outline(rc);
        dc.MoveTo(rc.left + 2, rc.top + 2);
        dc.LineTo(rc.right - 2, rc.bottom - 2);
        dc.MoveTo(rc.left + 2, rc.bottom - 2);
        dc.LineTo(rc.right - 2, rc.top + 2);
    }
    CControles::DrawScreen(dc, showOrder);
}

void CMarcaVar::Print(Dc& dc)
{
    if (!m_pControl || !m_pControl->IsChecked())
        return;
    DrawMark(dc, DrawableRect(m_rcPage).Normalized());
}

int CMarcaVar::CreateEntryControl(Dc&, EntryFactory& factory, int controlId, const LogFont& font)
{
    if (m_pControl)
        return 0;
    CheckEntryParams params;
    params.rcScreen = m_rcScreen;
    params.controlId = controlId;
    params.font = font;
    m_pControl = factory.CreateCheckEntry(params);
    return m_pControl ? 1 : 0;
}

void CMarcaVar::SaveValue(ArchiveWriter& ar) const
{
    ar.WriteInt32(m_order);
    ar.WriteInt32(m_pControl && m_pControl->IsChecked() ? 1 : 0);
}

void CMarcaVar::LoadValue(ArchiveReader& ar)
{
    const int32_t state = ar.ReadInt32();
    if (m_pControl)
        m_pControl->SetChecked(state != 0);
}

void CMarcaVar::ClearValue()
{
    if (m_pControl)
        m_pControl->SetChecked(false);
}
