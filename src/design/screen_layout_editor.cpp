#include "design/screen_layout_editor.h"

#include <algorithm>

#include "model/format_history.h"
#include "model/kind_drawing.h"

ScreenLayoutEditor::ScreenLayoutEditor(Format& format) : m_format(format)
{
    FormatReplaced();
}

bool ScreenLayoutEditor::HasHandles(const CControles& element)
{
    return HasScreenHandles(element.m_kind);
}

void ScreenLayoutEditor::FormatReplaced()
{
    for (auto& element : m_format.elements) {
        element->m_selected = 0;
        if (HasHandles(*element)) {
            element->m_layoutMode = 1;
            element->UpdateHandles();
        }
    }
    m_selection = nullptr;
    m_selected.clear();
    m_gesture = LayoutIdle{};
    m_hoverHandle = 0;
    m_before.clear();
    m_gestureChanged = false;
}

int ScreenLayoutEditor::Renumber(ElementList& elements, CControles& clicked, int next)
{
    const uint64_t low = uint32_t(next);
    // An element without an order yet (0) counts as behind every numbered one.
    const uint64_t high = clicked.m_order == 0 ? uint64_t(1) << 32 : uint32_t(clicked.m_order);
    if (high < low) {
        // Clicked again in this round (a double-click, or a change of mind): it moves to
        // the end of the controls numbered so far, which close the gap it leaves, so no
        // two controls ever share a number.
        for (auto& element : elements) {
            const uint32_t order = uint32_t(element->m_order);
            if (high < order && order < low)
                element->m_order = int32_t(order - 1);
        }
        clicked.m_order = next - 1;
        return next;
    }
    for (auto& element : elements) {
        const uint32_t order = uint32_t(element->m_order);
        if (element.get() != &clicked && order != 0 && low <= order && order < high)
            element->m_order = int32_t(order + 1);
    }
    clicked.m_order = next;
    return next + 1;
}

CControles* ScreenLayoutEditor::HitTestScreen(Point p)
{
    for (auto& element : m_format.elements)
        element->m_selected = 0;
    m_selection = nullptr;
    m_selected.clear();
    for (auto& element : m_format.elements)
        if (IsArrangeable(*element) && element->HitTest(p.x, p.y, true))
            return element.get();
    return nullptr;
}

CControles* ScreenLayoutEditor::ArrangeableAt(Point p) const
{
    for (const auto& element : m_format.elements)
        if (IsArrangeable(*element) && element->HitTest(p.x, p.y, true))
            return element.get();
    return nullptr;
}

void ScreenLayoutEditor::MirrorSelection()
{
    for (auto& element : m_format.elements)
        element->m_selected = 0;
    for (CControles* element : m_selected)
        element->m_selected = 1;
    m_selection = m_selected.size() == 1 ? m_selected.front() : nullptr;
    m_hoverHandle = 0;
}

LayoutOutcome ScreenLayoutEditor::Press(Point p, bool shift)
{
    LayoutOutcome outcome;
    outcome.repaint = true;
    const Point snapped = Snap(p);
    m_gestureChanged = false;
    if (m_hoverHandle != 0 && m_selection && !shift) {
        m_before = FormatHistory::Snapshot(m_format);
        m_gesture = LayoutResizing{m_hoverHandle, snapped};
        return outcome;
    }
    if (!m_orderMode && (shift || m_selected.size() > 1)) {
        CControles* hit = ArrangeableAt(p);
        const bool selected = hit && std::find(m_selected.begin(), m_selected.end(), hit) != m_selected.end();
        if (shift && hit) {
            if (selected)
                m_selected.erase(std::find(m_selected.begin(), m_selected.end(), hit));
            else
                m_selected.push_back(hit);
            MirrorSelection();
        }
        if (hit && (shift || selected)) {
            // A press on one of several selected controls drags them all.
            m_before = FormatHistory::Snapshot(m_format);
            m_gesture = selected && shift ? LayoutGesture(LayoutIdle{}) : LayoutGesture(LayoutMoving{snapped});
            return outcome;
        }
    }
    if (!m_orderMode && shift) {
        // Shift on empty form: a band that adds to what is selected.
        m_gesture = LayoutBand{p, p, true};
        return outcome;
    }
    CControles* hit = HitTestScreen(p);
    if (!hit) {
        if (m_orderMode) {
            m_orderMode = false;
            outcome.orderModeLeft = true;
        } else {
            m_gesture = LayoutBand{p, p, false};
        }
        return outcome;
    }
    if (m_orderMode) {
        // A click that changes no number (the control already has the next one, or was
        // the last one numbered) leaves nothing to undo.
        std::vector<uint8_t> before = FormatHistory::Snapshot(m_format);
        m_nextOrder = Renumber(m_format.elements, *hit, m_nextOrder);
        if (FormatHistory::Snapshot(m_format) != before)
            outcome.before = std::move(before);
        return outcome;
    }
    hit->m_selected = 1;
    m_selection = hit;
    m_selected = {hit};
    m_before = FormatHistory::Snapshot(m_format);
    m_gesture = LayoutMoving{snapped};
    return outcome;
}

LayoutOutcome ScreenLayoutEditor::Move(Point p)
{
    LayoutOutcome outcome;
    if (auto* moving = std::get_if<LayoutMoving>(&m_gesture)) {
        const Point q = Snap(p);
        const int dx = q.x - moving->last.x;
        const int dy = q.y - moving->last.y;
        moving->last = q;
        if (!m_selected.empty() && (dx || dy)) {
            for (CControles* element : m_selected)
                element->Offset(dx, dy, true);
            m_gestureChanged = true;
            outcome.repaint = true;
        }
        return outcome;
    }
    if (auto* band = std::get_if<LayoutBand>(&m_gesture)) {
        band->last = p;
        outcome.band = Rect{band->start.x, band->start.y, p.x, p.y};
        return outcome;
    }
    if (auto* resizing = std::get_if<LayoutResizing>(&m_gesture)) {
        const Point q = Snap(p);
        const int dx = q.x - resizing->last.x;
        const int dy = q.y - resizing->last.y;
        resizing->last = q;
        if (m_selection && (dx || dy)) {
            const Rect was = m_selection->m_rcScreen;
            // The element refuses an edge closer than 41 pixels to the opposite one.
            m_selection->ResizeScreen(resizing->handle, dx, dy);
            m_gestureChanged = m_gestureChanged || m_selection->m_rcScreen != was;
            outcome.repaint = true;
        }
        return outcome;
    }
    // Button up: follow the handles of the selected control.
    if (!m_selection || !HasHandles(*m_selection))
        return outcome;
    const int h = m_selection->HitHandle(p.x, p.y);
    if (m_hoverHandle == 0 && h != 0) {
        m_hoverHandle = h;
        outcome.cursor = (h == kHandleLeft || h == kHandleRight) ? LayoutCursor::SizeHorizontal : LayoutCursor::SizeVertical;
    } else if (m_hoverHandle != 0 && h == 0) {
        m_hoverHandle = 0;
        outcome.cursor = LayoutCursor::Arrow;
    }
    return outcome;
}

LayoutOutcome ScreenLayoutEditor::Release()
{
    LayoutOutcome outcome;
    if (std::holds_alternative<LayoutIdle>(m_gesture))
        return outcome;
    if (const auto* band = std::get_if<LayoutBand>(&m_gesture)) {
        // A press that does not move only clears the selection (without Shift).
        if (band->start.x != band->last.x || band->start.y != band->last.y) {
            SelectEnclosed(m_selected, m_format.elements, Rect{band->start.x, band->start.y, band->last.x, band->last.y},
                           band->add, true, IsArrangeable);
            MirrorSelection();
        }
        m_gesture = LayoutIdle{};
        outcome.bandEnds = true;
        outcome.repaint = true;
        return outcome;
    }
    m_gesture = LayoutIdle{};
    outcome.repaint = true;
    if (m_gestureChanged)
        outcome.before = std::move(m_before);
    m_before.clear();
    m_gestureChanged = false;
    return outcome;
}

void ScreenLayoutEditor::ToggleOrderMode()
{
    m_orderMode = !m_orderMode;
    m_nextOrder = 1;
}

std::optional<std::vector<uint8_t>> ScreenLayoutEditor::SetCaptionLeft(int captionLeft)
{
    std::vector<uint8_t> before = FormatHistory::Snapshot(m_format);
    bool changed = false;
    for (CControles* element : m_selected) {
        changed |= element->m_captionLeft != captionLeft;
        element->m_captionLeft = captionLeft;
    }
    if (!changed)
        return std::nullopt;
    return before;
}

void ScreenLayoutEditor::SelectAll()
{
    m_selected.clear();
    for (auto it = m_format.elements.rbegin(); it != m_format.elements.rend(); ++it)
        if (IsArrangeable(**it))
            m_selected.push_back(it->get());
    MirrorSelection();
}

void ScreenLayoutEditor::SelectNextInOrder(bool backwards)
{
    // Capture order, then file order among equal numbers.
    std::vector<CControles*> order;
    for (auto it = m_format.elements.rbegin(); it != m_format.elements.rend(); ++it)
        if (IsArrangeable(**it))
            order.push_back(it->get());
    if (order.empty())
        return;
    std::stable_sort(order.begin(), order.end(),
                     [](const CControles* a, const CControles* b) { return uint32_t(a->m_order) < uint32_t(b->m_order); });
    const int n = int(order.size());
    const auto at = m_selected.empty() ? order.end() : std::find(order.begin(), order.end(), m_selected.back());
    int next;
    if (at == order.end())
        next = backwards ? n - 1 : 0;
    else
        next = (int(at - order.begin()) + (backwards ? n - 1 : 1)) % n;
    m_selected = {order[size_t(next)]};
    MirrorSelection();
}

std::optional<std::vector<uint8_t>> ScreenLayoutEditor::MoveSelection(int dx, int dy)
{
    if (m_selected.empty())
        return std::nullopt;
    int left = m_selected.front()->m_rcScreen.Normalized().left;
    int top = m_selected.front()->m_rcScreen.Normalized().top;
    for (const CControles* element : m_selected) {
        left = std::min(left, element->m_rcScreen.Normalized().left);
        top = std::min(top, element->m_rcScreen.Normalized().top);
    }
    // Held at the form's corner; a group already beyond it is not pushed further.
    dx = std::max(dx, std::min(0, -left));
    dy = std::max(dy, std::min(0, -top));
    if (dx == 0 && dy == 0)
        return std::nullopt;
    std::vector<uint8_t> before = FormatHistory::Snapshot(m_format);
    for (CControles* element : m_selected)
        element->Offset(dx, dy, true);
    return before;
}

std::optional<std::vector<uint8_t>> ScreenLayoutEditor::Arrange(DesignArrange arrange)
{
    // Screen y runs downward: the boxes are turned upside down for the plan.
    std::vector<ArrangeBox> boxes;
    for (const CControles* element : m_selected) {
        const Rect rc = element->m_rcScreen.Normalized();
        boxes.push_back({rc.left, rc.right, -rc.bottom, -rc.top});
    }
    const std::vector<ArrangeStep> steps = PlanArrange(boxes, arrange);
    std::vector<uint8_t> before = FormatHistory::Snapshot(m_format);
    for (size_t i = 0; i < steps.size(); ++i) {
        CControles& element = *m_selected[i];
        const Rect rc = element.m_rcScreen.Normalized();
        const int dx = std::max(steps[i].dx, -rc.left);
        const int dy = std::max(-steps[i].dy, -rc.top);
        if (dx || dy)
            element.Offset(dx, dy, true);
        if (steps[i].width && HasHandles(element))
            element.ResizeScreen(kHandleRight, *steps[i].width - rc.Width(), 0);
        if (steps[i].height && HasHandles(element))
            element.ResizeScreen(kHandleBottom, 0, *steps[i].height - rc.Height());
    }
    if (FormatHistory::Snapshot(m_format) == before)
        return std::nullopt;
    return before;
}

LayoutOutcome ScreenLayoutEditor::CancelBand()
{
    LayoutOutcome outcome;
    if (std::holds_alternative<LayoutBand>(m_gesture)) {
        m_gesture = LayoutIdle{};
        outcome.bandEnds = true;
        outcome.repaint = true;
    }
    return outcome;
}
