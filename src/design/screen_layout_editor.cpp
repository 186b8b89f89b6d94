#include "design/screen_layout_editor.h"

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
    for (auto& element : m_format.elements)
        if (IsArrangeable(*element) && element->HitTest(p.x, p.y, true))
            return element.get();
    return nullptr;
}

LayoutOutcome ScreenLayoutEditor::Press(Point p)
{
    LayoutOutcome outcome;
    outcome.repaint = true;
    const Point snapped = Snap(p);
    m_gestureChanged = false;
    if (m_hoverHandle != 0 && m_selection) {
        m_before = FormatHistory::Snapshot(m_format);
        m_gesture = LayoutResizing{m_hoverHandle, snapped};
        return outcome;
    }
    CControles* hit = HitTestScreen(p);
    if (!hit) {
        if (m_orderMode) {
            m_orderMode = false;
            outcome.orderModeLeft = true;
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
        if (m_selection && (dx || dy)) {
            m_selection->Offset(dx, dy, true);
            m_gestureChanged = true;
            outcome.repaint = true;
        }
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
    if (!m_selection || m_selection->m_captionLeft == captionLeft)
        return std::nullopt;
    std::vector<uint8_t> before = FormatHistory::Snapshot(m_format);
    m_selection->m_captionLeft = captionLeft;
    return before;
}
