// Moving, sizing and arranging the selected elements of the design document: the keys,
// the alignment and distribution commands and the measures typed into the panel. Every
// one of them keeps the elements on the page and at their kinds' minimum sizes.
#include <algorithm>
#include <cstdlib>

#include "design/design_document.h"
#include "model/fmt_grid.h"

namespace {

// Page rectangles normalised: `top` is the numerically smaller y, the page's lower edge.
struct Box {
    int left, right, lower, upper;
};

Box BoxOf(const CControles& e)
{
    const Rect rc = e.m_rcPage.Normalized();
    return {rc.left, rc.right, rc.top, rc.bottom};
}

// The shift along one axis that keeps [lo, hi] inside [min, max], never pushing a span
// that already lies outside further out.
int HeldShift(int d, int lo, int hi, int min, int max)
{
    const int64_t least = std::min<int64_t>(0, int64_t(min) - lo);
    const int64_t most = std::max<int64_t>(0, int64_t(max) - hi);
    return int(std::clamp<int64_t>(d, least, most));
}

// Moves one element by (dx, dy), held on the page.
bool MoveHeld(CControles& e, int dx, int dy)
{
    const Box b = BoxOf(e);
    dx = HeldShift(dx, b.left, b.right, 0, kPageExtentUnits);
    dy = HeldShift(dy, b.lower, b.upper, -kPageExtentUnits, 0);
    if (dx == 0 && dy == 0)
        return false;
    e.Offset(dx, dy, false);
    return true;
}

// Moves an edge by `d` in steps: a step the kind refuses (it would go below its minimum
// size) is halved and tried again, so the edge stops at the minimum instead of short of it.
bool ResizeHeld(CControles& e, int handle, int d)
{
    bool changed = false;
    int64_t remaining = d;
    int64_t step = d;
    while (step != 0 && remaining != 0) {
        if (std::llabs(step) > std::llabs(remaining))
            step = remaining;
        const Rect before = e.m_rcPage;
        if (handle == kHandleRight)
            e.ResizeByHandle(handle, int(step), 0);
        else
            e.ResizeByHandle(handle, 0, int(step));
        if (e.m_rcPage == before) {
            step /= 2;
        } else {
            remaining -= step;
            changed = true;
        }
    }
    return changed;
}

CFmtGrid* GridWithColumn(CControles& e)
{
    if (e.m_kind != kKindGrid)
        return nullptr;
    auto* grid = static_cast<CFmtGrid*>(&e);
    return grid->m_selColumn >= 0 && grid->m_selColumn < grid->ColumnCount() ? grid : nullptr;
}

CFmtGrid* GridWithRow(CControles& e)
{
    if (e.m_kind != kKindGrid)
        return nullptr;
    auto* grid = static_cast<CFmtGrid*>(&e);
    return grid->m_selRow >= 0 && grid->m_selRow < grid->RowCount() ? grid : nullptr;
}

// Sets the width (right edge) or height (lower edge) of one element, held at the page's
// edge and at the kind's minimum.
bool SizeTo(CControles& e, bool width, int target)
{
    const Box b = BoxOf(e);
    if (width) {
        if (!CanSetWidth(e))
            return false;
        const int64_t right = std::min<int64_t>(int64_t(b.left) + target, std::max(kPageExtentUnits, b.right));
        return ResizeHeld(e, kHandleRight, int(right - b.right));
    }
    if (!CanSetHeight(e))
        return false;
    const int64_t lower = std::max<int64_t>(int64_t(b.upper) - target, std::min(-kPageExtentUnits, b.lower));
    // A page rectangle keeps its lower edge in `bottom`; the bottom handle moves it.
    return ResizeHeld(e, kHandleBottom, int(lower - b.lower));
}

}  // namespace

bool CanSetWidth(CControles& element)
{
    element.UpdateHandles();
    return !element.m_rcHandle[1].IsEmpty();
}

bool CanSetHeight(CControles& element)
{
    element.UpdateHandles();
    return !element.m_rcHandle[2].IsEmpty();
}

bool DesignDocument::MoveSelection(int dx, int dy)
{
    if (m_selected.empty())
        return false;
    Box group = BoxOf(*m_selected.front());
    for (const CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        group = {std::min(group.left, b.left), std::max(group.right, b.right), std::min(group.lower, b.lower),
                 std::max(group.upper, b.upper)};
    }
    dx = HeldShift(dx, group.left, group.right, 0, kPageExtentUnits);
    dy = HeldShift(dy, group.lower, group.upper, -kPageExtentUnits, 0);
    if (dx == 0 && dy == 0)
        return false;
    for (CControles* e : m_selected)
        e->Offset(dx, dy, false);
    return true;
}

bool DesignDocument::ResizeSelection(int dWidth, int dHeight)
{
    bool changed = false;
    for (CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        if (dWidth != 0)
            changed |= SizeTo(*e, true, b.right - b.left + dWidth);
        if (dHeight != 0)
            changed |= SizeTo(*e, false, b.upper - b.lower + dHeight);
    }
    return changed;
}

bool DesignDocument::Arrange(DesignArrange arrange)
{
    const size_t n = m_selected.size();
    const bool distribute = arrange == DesignArrange::DistributeHorizontally || arrange == DesignArrange::DistributeVertically;
    if (n < (distribute ? 3u : 2u))
        return false;
    Box group = BoxOf(*m_selected.front());
    for (const CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        group = {std::min(group.left, b.left), std::max(group.right, b.right), std::min(group.lower, b.lower),
                 std::max(group.upper, b.upper)};
    }
    const int centreX = Midpoint(group.left, group.right);
    const int centreY = Midpoint(group.lower, group.upper);
    bool changed = false;

    if (distribute) {
        // Equal gaps between neighbours, the outermost two staying where they are.
        const bool across = arrange == DesignArrange::DistributeHorizontally;
        std::vector<CControles*> order = m_selected;
        std::stable_sort(order.begin(), order.end(), [across](const CControles* a, const CControles* b) {
            return across ? BoxOf(*a).left < BoxOf(*b).left : BoxOf(*a).upper > BoxOf(*b).upper;
        });
        int64_t total = 0;
        for (const CControles* e : order) {
            const Box b = BoxOf(*e);
            total += across ? b.right - b.left : b.upper - b.lower;
        }
        const Box first = BoxOf(*order.front());
        const Box last = BoxOf(*order.back());
        const int64_t span = across ? int64_t(last.right) - first.left : int64_t(first.upper) - last.lower;
        const int64_t gaps = span - total;
        int64_t at = across ? first.left : first.upper;
        for (size_t i = 0; i < order.size(); ++i) {
            const Box b = BoxOf(*order[i]);
            // The remainder of the division goes to the first gaps, one unit each.
            const int64_t gap = gaps / int64_t(n - 1) + (int64_t(i) < gaps % int64_t(n - 1) ? 1 : 0);
            if (across) {
                changed |= MoveHeld(*order[i], int(at - b.left), 0);
                at += (b.right - b.left) + gap;
            } else {
                changed |= MoveHeld(*order[i], 0, int(at - b.upper));
                at -= (b.upper - b.lower) + gap;
            }
        }
        return changed;
    }

    const Box key = BoxOf(*m_selected.front());
    for (CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        switch (arrange) {
        case DesignArrange::AlignLeft: changed |= MoveHeld(*e, group.left - b.left, 0); break;
        case DesignArrange::AlignRight: changed |= MoveHeld(*e, group.right - b.right, 0); break;
        case DesignArrange::AlignTop: changed |= MoveHeld(*e, 0, group.upper - b.upper); break;
        case DesignArrange::AlignBottom: changed |= MoveHeld(*e, 0, group.lower - b.lower); break;
        case DesignArrange::AlignCentresHorizontally:
            changed |= MoveHeld(*e, centreX - Midpoint(b.left, b.right), 0);
            break;
        case DesignArrange::AlignCentresVertically:
            changed |= MoveHeld(*e, 0, centreY - Midpoint(b.lower, b.upper));
            break;
        case DesignArrange::SameWidth:
            if (e != m_selected.front())
                changed |= SizeTo(*e, true, key.right - key.left);
            break;
        case DesignArrange::SameHeight:
            if (e != m_selected.front())
                changed |= SizeTo(*e, false, key.upper - key.lower);
            break;
        default: break;
        }
    }
    return changed;
}

bool DesignDocument::SetMeasure(DesignMeasure measure, int value)
{
    bool changed = false;
    for (CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        switch (measure) {
        case DesignMeasure::X: changed |= MoveHeld(*e, value - b.left, 0); break;
        case DesignMeasure::Y: changed |= MoveHeld(*e, 0, -value - b.upper); break;
        case DesignMeasure::Width:
            if (CFmtGrid* grid = GridWithColumn(*e)) {
                const GridColumn& column = grid->m_columns[size_t(grid->m_selColumn)];
                const int before = column.width;
                grid->ChangeColumnWidth(grid->m_selColumn, value - column.width);
                changed |= column.width != before;
            } else {
                changed |= SizeTo(*e, true, value);
            }
            break;
        case DesignMeasure::Height:
            if (CFmtGrid* grid = GridWithRow(*e)) {
                const GridRow& row = grid->m_rows[size_t(grid->m_selRow)];
                const int before = row.height;
                // A positive delta raises the row's lower border: the row gets lower.
                grid->ChangeRowHeight(grid->m_selRow, row.height - value);
                changed |= row.height != before;
            } else {
                changed |= SizeTo(*e, false, value);
            }
            break;
        }
    }
    return changed;
}

std::optional<int> DesignDocument::CommonMeasure(DesignMeasure measure) const
{
    std::optional<int> common;
    for (CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        int v = 0;
        switch (measure) {
        case DesignMeasure::X: v = b.left; break;
        case DesignMeasure::Y: v = -b.upper; break;
        case DesignMeasure::Width:
            if (CFmtGrid* grid = GridWithColumn(*e))
                v = grid->m_columns[size_t(grid->m_selColumn)].width;
            else
                v = b.right - b.left;
            break;
        case DesignMeasure::Height:
            if (CFmtGrid* grid = GridWithRow(*e))
                v = grid->m_rows[size_t(grid->m_selRow)].height;
            else
                v = b.upper - b.lower;
            break;
        }
        if (common && *common != v)
            return std::nullopt;
        common = v;
    }
    return common;
}

bool DesignDocument::MeasureSettable(DesignMeasure measure) const
{
    if (m_selected.empty())
        return false;
    for (CControles* e : m_selected) {
        if (measure == DesignMeasure::Width && !GridWithColumn(*e) && !CanSetWidth(*e))
            return false;
        if (measure == DesignMeasure::Height && !GridWithRow(*e) && !CanSetHeight(*e))
            return false;
    }
    return true;
}
