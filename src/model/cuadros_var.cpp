#include "model/cuadros_var.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "model/kind_drawing.h"
#include "base/text_layout.h"

namespace {

// The design view shows a sample character in every box so that the designer sees the
// pitch; the samples run through wide and narrow letters and digits.
constexpr const char* kSamples[] = {"A", "I", "W", "O", "0", "1", "2", "3"};

// A stored box count comes from a file and is not trusted: drawing stops after this many
// boxes (a row of one-millimetre boxes a metre long).
constexpr int kMaxDrawnBoxes = 1000;

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The first of the indices 0 .. count - 1 for which `pred` is false, or count; `pred` is
// true for a run of indices from 0 and false for all after it.
template <class Pred>
int PartitionPoint(int count, Pred pred)
{
    int low = 0;
    int high = count;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (pred(mid))
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

}  // namespace

std::unique_ptr<CCuadrosVar> CCuadrosVar::CreateAt(int x, int y)
{
    auto element = std::make_unique<CCuadrosVar>();
    element->m_text = "Texto en cuadros";
    element->m_rcPage.left = x;
    element->m_rcPage.bottom = y;
    element->RefitBoxes();
    return element;
}

int CCuadrosVar::BoxLeft(int left, int i) const
{
    return Clamp32(int64_t(left) + int64_t(i) * (int64_t(m_boxWidth) + m_boxGap));
}

void CCuadrosVar::SetBoxCount(int count)
{
    m_boxCount = count;
    RefitBoxes();
}

void CCuadrosVar::RefitBoxes()
{
    // The building rule every stored format carries: count x (width + gap - 1), which is
    // gap - count units off the boxes' own span.
    m_rcPage.top = Clamp32(int64_t(m_rcPage.bottom) + m_boxWidth);
    m_rcPage.right =
        Clamp32(int64_t(m_rcPage.left) + int64_t(m_boxCount) * (int64_t(m_boxWidth) + m_boxGap - 1));
    UpdateHandles();
}

void CCuadrosVar::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
}

void CCuadrosVar::ResizeByHandle(int handle, int dx, int dy)
{
    m_rcPage = ResizedEdge(m_rcPage, handle, dx, dy);
    // The gap follows the new width so that the boxes fill it exactly. A single box has
    // no gap to spread: it keeps the one it has.
    if (m_boxCount > 1)
        m_boxGap = Clamp32((int64_t(m_rcPage.right) - m_rcPage.left - int64_t(m_boxCount) * m_boxWidth) /
                           (m_boxCount - 1));
    UpdateHandles();
}

void CCuadrosVar::DrawDesign(Dc& dc)
{
    PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Line);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    const int boxes = std::clamp(m_boxCount, 0, kMaxDrawnBoxes);
    // Boxes the surface does not show are not drawn (edges included: a box without width
    // still shows as a line). They are found from the boxes' left edges, which run one way
    // along the row (BoxLeft steps by the pitch and holds at the ends of the range): the
    // boxes whose left edge lets them reach into the surface are one run of them, found by
    // halving instead of by testing every box.
    const Rect shown = dc.ClipBox().Normalized();
    std::vector<int> shownBoxes;
    if (rc.top <= shown.bottom && shown.top <= rc.bottom) {
        // A box spans [left + min(width, 0), left + max(width, 0)]: it reaches into the
        // surface when its left edge lies in [lowest, highest].
        const int64_t lowest = int64_t(shown.left) - std::max(m_boxWidth, 0);
        const int64_t highest = int64_t(shown.right) - std::min(m_boxWidth, 0);
        const bool rising = int64_t(m_boxWidth) + m_boxGap >= 0;
        // Boxes before the run lie on the side of the surface the row starts from.
        const auto beforeRun = [&](int i) {
            const int64_t left = BoxLeft(rc.left, i);
            return rising ? left < lowest : left > highest;
        };
        const auto inRunOrBefore = [&](int i) {
            const int64_t left = BoxLeft(rc.left, i);
            return rising ? left <= highest : left >= lowest;
        };
        const int end = PartitionPoint(boxes, inRunOrBefore);
        for (int i = PartitionPoint(boxes, beforeRun); i < end; ++i)
            shownBoxes.push_back(i);
    }
    {
        PenScope pen(dc);
        if (m_selected)
            dc.SelectPen(1, kSelectionRed);
        for (const int i : shownBoxes) {
            const int left = BoxLeft(rc.left, i);
            dc.Outline({left, rc.top, Clamp32(int64_t(left) + m_boxWidth), rc.bottom});
        }
        if (m_selected)
            OutlineHandles(dc, m_rcHandle);
    }
    dc.SetTextColor(m_textColor);
    dc.SelectFont(m_logFont);
    dc.SetTextAlign(TextAlign::kCenter | TextAlign::kBottom);
    for (const int i : shownBoxes)
        dc.TextOutClipped(AddSaturated(BoxLeft(rc.left, i), m_boxWidth / 2), rc.MinY(), rc, kSamples[i % 8]);
}

void CCuadrosVar::DrawScreen(Dc& dc, bool showOrder)
{
    DrawControlOnScreen(*this, dc, showOrder, false);
}

void CCuadrosVar::Print(Dc& dc)
{
    if (!m_pControl)
        return;
    const Rect rc = DrawableRect(m_rcPage).Normalized();
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kCenter | TextAlign::kBottom);
    // One character per box, centred on it; a space takes its box like any character. A
    // value longer than the boxes (possible from a captured-data file) runs on past the
    // last box and is clipped at the element's edge.
    const auto chars = SplitCharacters(m_pControl->Text());
    for (size_t k = 0; k < chars.size(); ++k) {
        const int left = BoxLeft(rc.left, static_cast<int>(std::min<size_t>(k, INT32_MAX)));
        dc.TextOutClipped(AddSaturated(left, m_boxWidth / 2), rc.MinY(), rc, chars[k]);
    }
}

int CCuadrosVar::CreateEntryControl(Dc&, EntryFactory& factory, int controlId, const LogFont& font)
{
    return CreateTextControl(factory, TextEntryKind::Boxes, controlId, font, std::max(m_boxCount, 1));
}
