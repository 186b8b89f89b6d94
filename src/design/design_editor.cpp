#include "design/design_editor.h"

#include <cstdlib>

#include "base/archive.h"
#include "design/design_document.h"
#include "model/fmt_grid.h"

namespace {

CFmtGrid* AsGrid(CControles* element)
{
    return element && element->m_kind == kKindGrid ? static_cast<CFmtGrid*>(element) : nullptr;
}

DesignCursor HandleCursor(int handle)
{
    return handle == kHandleLeft || handle == kHandleRight ? DesignCursor::SizeHorizontal : DesignCursor::SizeVertical;
}

void ReportXY(EditorOutcome& out, int x, int y)
{
    out.reports.push_back({RulerCode::kPointerX, x});
    out.reports.push_back({RulerCode::kPointerY, y});
    out.positionText = PositionXY(x, y);
}

}  // namespace

CDesignEditor::CDesignEditor(DesignDocument& document, ChangeHooks hooks) : m_document(document), m_hooks(std::move(hooks)) {}

void CDesignEditor::ChooseSelectTool()
{
    m_tool = DesignTool::Select;
}

void CDesignEditor::ChooseInsertTool(int kind)
{
    m_tool = DesignTool::Insert;
    m_insertKind = kind;
}

DesignCursor CDesignEditor::ToolCursor() const
{
    return m_tool == DesignTool::Insert ? DesignCursor::Insert : DesignCursor::Select;
}

void CDesignEditor::ForgetHover()
{
    // A shortcut can undo while the button is still down: the gesture ends here, its
    // record already taken back by the undo.
    m_gesture = Idle{};
    m_recorded = false;
    m_bytesBefore.clear();
    m_hover = HoverNothing{};
    // A table element read back by an undo has no column or row selected; a remembered
    // header would make the next click on it deselect instead of select.
    m_headerColumn = -1;
    m_headerRow = -1;
}

std::vector<uint8_t> CDesignEditor::SelectionBytes() const
{
    ArchiveWriter ar;
    for (const CControles* selection : m_document.Selected()) {
        ar.WriteInt32(selection->m_kind);
        selection->Write(ar);
    }
    return ar.Take();
}

void CDesignEditor::RecordOnce()
{
    if (m_recorded)
        return;
    m_recorded = true;
    if (m_hooks.before)
        m_hooks.before();
}

// --- Press ------------------------------------------------------------------------------

EditorOutcome CDesignEditor::Press(Point page, bool shift)
{
    m_recorded = false;
    if (m_tool == DesignTool::Insert) {
        m_gesture = Inserting{Snap(page, m_snap)};
        return {};
    }
    EditorOutcome out = PressSelecting(page, shift);
    m_bytesBefore = SelectionBytes();
    out.refreshPanel = true;
    return out;
}

EditorOutcome CDesignEditor::PressSelecting(Point page, bool shift)
{
    EditorOutcome out;
    const Point snapped = Snap(page, m_snap);
    CControles* under = m_document.ElementAt(page.x, page.y);
    out.repaint = true;
    if (shift) {
        // Shift+click adds or takes out one element; it leaves the pointer's hover state
        // to the next move.
        m_hover = HoverNothing{};
        out.cursor = DesignCursor::Select;
        if (under) {
            m_document.ToggleSelected(under);
            m_gesture = m_document.IsSelected(under) ? Gesture(Dragging{snapped}) : Gesture(Idle{});
        } else {
            m_gesture = RubberBand{page, true};
        }
        return out;
    }
    if (m_document.SelectedCount() > 1 && under && m_document.IsSelected(under)) {
        // A press on one of several selected elements drags them all.
        m_gesture = Dragging{snapped};
        return out;
    }
    CControles* before = m_document.Selection();
    if (const auto* handle = std::get_if<HoverHandle>(&m_hover); handle && before) {
        // On a handle the selection stays: the drag resizes it.
        m_gesture = Resizing{handle->handle, snapped};
    } else {
        CFmtGrid* grid = AsGrid(before);
        if (std::holds_alternative<HoverHeader>(m_hover) && grid)
            HeaderClick(*grid, page);
        else
            m_document.SelectAt(page.x, page.y);
        out.repaint = true;
        CControles* now = m_document.Selection();
        const auto* separator = std::get_if<HoverSeparator>(&m_hover);
        if (separator && AsGrid(now) && now == before) {
            m_gesture = DraggingSeparator{separator->column, separator->row, snapped};
        } else {
            if (separator || now != before) {
                m_hover = HoverNothing{};
                out.cursor = DesignCursor::Select;
            }
            // On empty paper the drag draws a rubber band (a press that does not move
            // only clears the selection, as it always has).
            if (!now && !(std::holds_alternative<HoverHeader>(m_hover) && grid))
                m_gesture = RubberBand{page, false};
            else
                m_gesture = Dragging{snapped};
        }
    }
    return out;
}

void CDesignEditor::HeaderClick(CFmtGrid& grid, Point page)
{
    const int oldColumn = m_headerColumn;
    const int oldRow = m_headerRow;
    const auto [column, row] = grid.HitHeader(page.x, page.y);
    m_headerColumn = column;
    m_headerRow = row;
    if (column < 0 && row < 0)
        return;
    if (column >= 0 && column != oldColumn) {
        grid.m_selColumn = column;
        grid.m_selRow = -1;
    }
    if (row >= 0 && row != oldRow) {
        grid.m_selRow = row;
        grid.m_selColumn = -1;
    }
    // A second click on the same header takes its selection away again.
    if (column == oldColumn) {
        grid.m_selColumn = -1;
        m_headerColumn = -1;
    }
    if (row == oldRow) {
        grid.m_selRow = -1;
        m_headerRow = -1;
    }
}

// --- Move -------------------------------------------------------------------------------

EditorOutcome CDesignEditor::Move(Point page)
{
    if (m_tool == DesignTool::Insert) {
        EditorOutcome out;
        ReportXY(out, page.x, page.y);
        if (const auto* insert = std::get_if<Inserting>(&m_gesture)) {
            const Point p = Snap(page, m_snap);
            out.band = Rect{insert->start.x, insert->start.y, p.x, p.y};
        }
        return out;
    }
    if (!std::holds_alternative<Idle>(m_gesture))
        return DragStep(page);
    return Hovering(page);
}

EditorOutcome CDesignEditor::Hovering(Point page)
{
    EditorOutcome out;
    CControles* selection = m_document.Selection();
    if (!selection) {
        if (!std::holds_alternative<HoverNothing>(m_hover)) {
            m_hover = HoverNothing{};
            out.cursor = DesignCursor::Select;
        }
        ReportXY(out, page.x, page.y);
        return out;
    }
    const int h = selection->HitHandle(page.x, page.y);
    const auto* handle = std::get_if<HoverHandle>(&m_hover);
    if (!handle && h != kNoHandle) {
        m_hover = HoverHandle{h};
        out.cursor = HandleCursor(h);
    } else if (handle && h == kNoHandle) {
        m_hover = HoverNothing{};
        out.cursor = DesignCursor::Select;
    }
    // Moving from one handle straight onto another keeps the first.
    if (CFmtGrid* grid = AsGrid(selection); grid && !std::holds_alternative<HoverHandle>(m_hover)) {
        const auto [column, row] = grid->HitSeparator(page.x, page.y);
        if (column >= 0 || row >= 0) {
            m_hover = HoverSeparator{column, row};
            out.cursor = column >= 0 ? DesignCursor::SizeHorizontal : DesignCursor::SizeVertical;
        } else if (const auto [hc, hr] = grid->HitHeader(page.x, page.y); hc >= 0 || hr >= 0) {
            m_hover = HoverHeader{};
            out.cursor = hc >= 0 ? DesignCursor::ColumnHeader : DesignCursor::RowHeader;
        } else {
            m_hover = HoverNothing{};
            out.cursor = DesignCursor::Select;
        }
    }
    ReportXY(out, page.x, page.y);
    return out;
}

EditorOutcome CDesignEditor::DragStep(Point page)
{
    EditorOutcome out;
    if (const auto* band = std::get_if<RubberBand>(&m_gesture)) {
        // The rulers and the position text stay as they were: nothing is being placed.
        out.band = Rect{band->start.x, band->start.y, page.x, page.y};
        return out;
    }
    const Point p = Snap(page, m_snap);
    CControles* selection = m_document.Selection();
    auto step = [&](Point& last) {
        const Point d{p.x - last.x, p.y - last.y};
        last = p;
        return d;
    };

    if (auto* resize = std::get_if<Resizing>(&m_gesture)) {
        const Point d = step(resize->last);
        if (!selection)
            return out;
        if (d.x != 0 || d.y != 0) {
            RecordOnce();
            selection->ResizeByHandle(resize->handle, d.x, d.y);
            out.repaint = true;
        }
        // Refused sizes still report the edges as they stand.
        const ReferenceEdges e = EdgesOf(*selection);
        const int x = resize->handle == kHandleLeft || resize->handle == kHandleTop ? e.left : e.right;
        const int y = resize->handle == kHandleTop ? e.top : e.bottom;
        ReportXY(out, x, y);
    } else if (auto* separator = std::get_if<DraggingSeparator>(&m_gesture)) {
        const Point d = step(separator->last);
        CFmtGrid* grid = AsGrid(selection);
        if (!grid) {
            m_hover = HoverNothing{};
            out.cursor = DesignCursor::Select;
            return out;
        }
        if (separator->column >= 0 && separator->column < grid->ColumnCount()) {
            const int c = separator->column;
            if (d.x != 0) {
                RecordOnce();
                grid->ChangeColumnWidth(c, d.x);
                out.repaint = true;
            }
            const int border = c + 1 < grid->ColumnCount() ? grid->m_columns[size_t(c + 1)].x : grid->m_rcPage.right;
            out.reports.push_back({RulerCode::kPointerX, border});
            out.positionText = PositionXWidth(border, grid->m_columns[size_t(c)].width);
        } else if (separator->row >= 0 && separator->row < grid->RowCount()) {
            const int r = separator->row;
            if (d.y != 0) {
                RecordOnce();
                grid->ChangeRowHeight(r, d.y);
                out.repaint = true;
            }
            const int border = r + 1 < grid->RowCount() ? grid->m_rows[size_t(r + 1)].y : grid->m_rcPage.bottom;
            out.reports.push_back({RulerCode::kPointerY, border});
            out.positionText = PositionYHeight(border, grid->m_rows[size_t(r)].height);
        }
    } else if (auto* drag = std::get_if<Dragging>(&m_gesture); drag && m_document.SelectedCount() > 1) {
        // Several selected move together, held on the page as a group.
        const Point d = step(drag->last);
        if (d.x != 0 || d.y != 0) {
            RecordOnce();
            out.repaint = m_document.MoveSelection(d.x, d.y);
        }
        const ReferenceEdges e = EdgesOf(*m_document.Selected().back());
        ReportXY(out, e.left, e.bottom);
    } else if (auto* drag = std::get_if<Dragging>(&m_gesture)) {
        const Point d = step(drag->last);
        if (!selection)
            return out;
        // The element moves by differences of snapped points, so one lying off the grid
        // keeps its offset from it.
        if (d.x != 0 || d.y != 0) {
            RecordOnce();
            selection->Offset(d.x, d.y, false);
            out.repaint = true;
        }
        const ReferenceEdges e = EdgesOf(*selection);
        ReportXY(out, e.left, e.bottom);
    } else {
        return out;
    }
    out.refreshPanel = out.repaint;
    return out;
}

// --- Release ----------------------------------------------------------------------------

EditorOutcome CDesignEditor::Release(Point page)
{
    EditorOutcome out;
    const Gesture ended = m_gesture;
    m_gesture = Idle{};
    if (std::holds_alternative<Idle>(ended))
        return out;
    if (const auto* band = std::get_if<RubberBand>(&ended)) {
        if (band->start.x != page.x || band->start.y != page.y)
            m_document.SelectWithin(Rect{band->start.x, band->start.y, page.x, page.y}, band->add);
        out.bandEnds = true;
        out.repaint = true;
        out.refreshPanel = true;
        m_recorded = false;
        m_bytesBefore.clear();
        return out;
    }
    if (const auto* insert = std::get_if<Inserting>(&ended)) {
        // A click places the element where the button comes up, on the snapping grid; a
        // drag gives it the dragged rectangle.
        const Point p = Snap(page, m_snap);
        const bool dragged = std::abs(p.x - insert->start.x) >= kInsertDragUnits ||
                             std::abs(p.y - insert->start.y) >= kInsertDragUnits;
        RecordOnce();
        out.bandEnds = true;
        CControles* added = dragged ? m_document.InsertIn(m_insertKind, Rect{insert->start.x, insert->start.y, p.x, p.y})
                                    : m_document.InsertAt(m_insertKind, p.x, p.y);
        if (added) {
            out.changed = true;
        } else if (m_hooks.nothingChanged) {
            m_hooks.nothingChanged();
        }
        m_hover = HoverNothing{};
        m_recorded = false;
        out.repaint = true;
        out.refreshPanel = true;
        return out;
    }
    out.repaint = true;
    if (m_recorded) {
        if (SelectionBytes() == m_bytesBefore) {
            if (m_hooks.nothingChanged)
                m_hooks.nothingChanged();
        } else {
            out.changed = true;
        }
    }
    m_recorded = false;
    m_bytesBefore.clear();
    return out;
}

EditorOutcome CDesignEditor::ReleaseOutside()
{
    if (std::holds_alternative<Inserting>(m_gesture)) {
        m_gesture = Idle{};
        m_recorded = false;
        EditorOutcome out;
        out.bandEnds = true;
        return out;
    }
    if (std::holds_alternative<RubberBand>(m_gesture)) {
        m_gesture = Idle{};
        EditorOutcome out;
        out.bandEnds = true;
        out.repaint = true;
        return out;
    }
    // Page points are not needed to end the other gestures.
    return Release({});
}
