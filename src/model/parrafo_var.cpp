#include "model/parrafo_var.h"

#include <cstdlib>

#include "model/kind_drawing.h"

namespace {

Rect DefaultParagraphRect(int left, int top, int h)
{
    return {left, top, AddSaturated(left, 600), AddSaturated(top, -3 * int64_t(h) - 5)};
}

}  // namespace

std::unique_ptr<CParrafoVar> CParrafoVar::CreateAt(int x, int y)
{
    auto element = std::make_unique<CParrafoVar>();
    element->m_text = "Parrafo de texto";
    element->m_rcPage = DefaultParagraphRect(x, y, element->m_logFont.height);
    element->UpdateHandles();
    return element;
}

void CParrafoVar::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
    // A new font brings back the default size for it, whatever the user dragged.
    m_rcPage = DefaultParagraphRect(m_rcPage.left, m_rcPage.top, m_logFont.height);
    UpdateHandles();
}

void CParrafoVar::DrawDesign(Dc& dc)
{
    PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Corners);
    Rect rc = DesignRect(m_rcPage);
    OutlineInDesign(*this, dc, rc);
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft);
    dc.DrawText(m_text, rc, ParagraphAlign(m_align));
}

void CParrafoVar::DrawScreen(Dc& dc, bool showOrder)
{
    DrawControlOnScreen(*this, dc, showOrder, true);
}

void CParrafoVar::Print(Dc& dc)
{
    if (!m_pControl)
        return;
    Rect rc = DrawableRect(m_rcPage);
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft);
    // Lines break at spaces to fit the width; what does not fit is clipped at the
    // rectangle's lower edge and never runs onto other elements.
    dc.DrawText(m_pControl->Text(), rc, ParagraphAlign(m_align) | DrawTextFlag::kWordBreak);
}

int CParrafoVar::CreateEntryControl(Dc&, EntryFactory& factory, int controlId, const LogFont& font)
{
    return CreateTextControl(factory, TextEntryKind::Paragraph, controlId, font);
}
