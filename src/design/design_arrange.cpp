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

std::vector<ArrangeStep> PlanArrange(const std::vector<ArrangeBox>& boxes, DesignArrange arrange)
{
    const size_t n = boxes.size();
    std::vector<ArrangeStep> steps(n);
    const bool distribute = arrange == DesignArrange::DistributeHorizontally || arrange == DesignArrange::DistributeVertically;
    if (n < (distribute ? 3u : 2u))
        return {};
    ArrangeBox group = boxes.front();
    for (const ArrangeBox& b : boxes)
        group = {std::min(group.left, b.left), std::max(group.right, b.right), std::min(group.lower, b.lower),
                 std::max(group.upper, b.upper)};

    if (distribute) {
        // Equal gaps between neighbours, the outermost two staying where they are.
        const bool across = arrange == DesignArrange::DistributeHorizontally;
        std::vector<size_t> order(n);
        for (size_t i = 0; i < n; ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return across ? boxes[a].left < boxes[b].left : boxes[a].upper > boxes[b].upper;
        });
        int64_t total = 0;
        for (const ArrangeBox& b : boxes)
            total += across ? b.right - b.left : b.upper - b.lower;
        const ArrangeBox& first = boxes[order.front()];
        const ArrangeBox& last = boxes[order.back()];
        const int64_t span = across ? int64_t(last.right) - first.left : int64_t(first.upper) - last.lower;
        const int64_t gaps = span - total;
        int64_t at = across ? first.left : first.upper;
        for (size_t k = 0; k < n; ++k) {
            const ArrangeBox& b = boxes[order[k]];
            // The remainder of the division goes to the first gaps, one unit each.
            const int64_t gap = gaps / int64_t(n - 1) + (int64_t(k) < gaps % int64_t(n - 1) ? 1 : 0);
            if (across) {
                steps[order[k]].dx = int(at - b.left);
                at += (b.right - b.left) + gap;
            } else {
                steps[order[k]].dy = int(at - b.upper);
                at -= (b.upper - b.lower) + gap;
            }
        }
        return steps;
    }

    const int centreX = Midpoint(group.left, group.right);
    const int centreY = Midpoint(group.lower, group.upper);
    const ArrangeBox& key = boxes.front();
    for (size_t i = 0; i < n; ++i) {
        const ArrangeBox& b = boxes[i];
        ArrangeStep& step = steps[i];
        switch (arrange) {
        case DesignArrange::AlignLeft: step.dx = group.left - b.left; break;
        case DesignArrange::AlignRight: step.dx = group.right - b.right; break;
        case DesignArrange::AlignTop: step.dy = group.upper - b.upper; break;
        case DesignArrange::AlignBottom: step.dy = group.lower - b.lower; break;
        case DesignArrange::AlignCentresHorizontally: step.dx = centreX - Midpoint(b.left, b.right); break;
        case DesignArrange::AlignCentresVertically: step.dy = centreY - Midpoint(b.lower, b.upper); break;
        case DesignArrange::SameWidth:
            if (i > 0)
                step.width = key.right - key.left;
            break;
        case DesignArrange::SameHeight:
            if (i > 0)
                step.height = key.upper - key.lower;
            break;
        default: break;
        }
    }
    return steps;
}

bool DesignDocument::Arrange(DesignArrange arrange)
{
    std::vector<ArrangeBox> boxes;
    for (const CControles* e : m_selected) {
        const Box b = BoxOf(*e);
        boxes.push_back({b.left, b.right, b.lower, b.upper});
    }
    const std::vector<ArrangeStep> steps = PlanArrange(boxes, arrange);
    bool changed = false;
    for (size_t i = 0; i < steps.size(); ++i) {
        CControles& e = *m_selected[i];
        if (steps[i].dx || steps[i].dy)
            changed |= MoveHeld(e, steps[i].dx, steps[i].dy);
        if (steps[i].width)
            changed |= SizeTo(e, true, *steps[i].width);
        if (steps[i].height)
            changed |= SizeTo(e, false, *steps[i].height);
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
