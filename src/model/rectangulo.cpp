#include "model/rectangulo.h"

#include "model/kind_drawing.h"

namespace {

constexpr int kOutlinePenWidth = 2;  // 0.2 mm

// Four connected segments around the rectangle; the inside is never filled.
void DrawFrame(Dc& dc, const Rect& rc)
{
    dc.MoveTo(rc.left, rc.top);
    dc.LineTo(rc.right, rc.top);
    dc.LineTo(rc.right, rc.bottom);
    dc.LineTo(rc.left, rc.bottom);
    dc.LineTo(rc.left, rc.top);
}

}  // namespace

std::unique_ptr<CRectangulo> CRectangulo::CreateAt(int x, int y)
{
    auto element = std::make_unique<CRectangulo>();
    element->m_text = "Rectangulo";
    element->m_rcPage = {x, y, x + 600, y - 600};
    element->UpdateHandles();
    return element;
}

void CRectangulo::DrawDesign(Dc& dc)
{
    PenScope pen(dc);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    if (m_selected) {
        dc.SelectPen(1, kSelectionRed);
        OutlineHandles(dc, m_rcHandle);
    } else {
        dc.SelectPen(kOutlinePenWidth, m_textColor);
    }
    DrawFrame(dc, rc);
}

void CRectangulo::Print(Dc& dc)
{
    PenScope pen(dc, kOutlinePenWidth, m_textColor);
    DrawFrame(dc, DrawableRect(m_rcPage).Normalized());
}
