#include "model/linea.h"

#include "model/kind_drawing.h"

namespace {

constexpr int kLinePenWidth = 2;   // 0.2 mm
constexpr int kHalfBand = 20;  // the line lies in the middle of a 4 mm band

}  // namespace

std::unique_ptr<CLinea> CLinea::CreateAt(int x, int y)
{
    auto element = std::make_unique<CLinea>();
    element->m_text = "Linea";
    element->m_rcPage = {x, y + kHalfBand, x + 400, y - kHalfBand};
    element->UpdateHandles();
    return element;
}

void CLinea::MakeHorizontal()
{
    if (m_horizontal)
        return;
    // Starts at the old line's horizontal centre, at its upper end.
    const Rect old = m_rcPage;
    const int midX = Midpoint(old.left, old.right);
    const int64_t length = int64_t(old.top) - old.bottom;
    m_rcPage = {midX, AddSaturated(old.top, kHalfBand), AddSaturated(midX, length), AddSaturated(old.top, -kHalfBand)};
    m_horizontal = 1;
    UpdateHandles();
}

void CLinea::MakeVertical()
{
    if (!m_horizontal)
        return;
    // Hangs from the old line's vertical centre, at its left end.
    const Rect old = m_rcPage;
    const int midY = Midpoint(old.top, old.bottom);
    const int64_t length = int64_t(old.right) - old.left;
    m_rcPage = {AddSaturated(old.left, -kHalfBand), midY, AddSaturated(old.left, kHalfBand), AddSaturated(midY, -length)};
    m_horizontal = 0;
    UpdateHandles();
}

void CLinea::DrawRule(Dc& dc, const Rect& rc) const
{
    if (m_horizontal) {
        const int midY = Midpoint(rc.top, rc.bottom);
        dc.MoveTo(rc.left, midY);
        dc.LineTo(rc.right, midY);
    } else {
        const int midX = Midpoint(rc.left, rc.right);
        dc.MoveTo(midX, rc.MinY());
        dc.LineTo(midX, rc.MaxY());
    }
}

void CLinea::DrawDesign(Dc& dc)
{
    PenScope pen(dc, kLinePenWidth, m_textColor);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    if (m_selected) {
        dc.SelectPen(1, kSelectionRed);
        dc.Outline(rc);
        OutlineHandles(dc, m_rcHandle);
        dc.SelectPen(kLinePenWidth, m_textColor);
    }
    DrawRule(dc, rc);
}

void CLinea::Print(Dc& dc)
{
    PenScope pen(dc, kLinePenWidth, m_textColor);
    DrawRule(dc, DrawableRect(m_rcPage).Normalized());
}
