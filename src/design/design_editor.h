#pragma once
// The design view's mouse editing as named states: what a press, a move and a release
// do to the document, and what the view must show afterwards. Free of widgets; the view
// turns Qt's events into page points and carries out the outcome.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/geometry.h"
#include "design/design_geometry.h"

class DesignDocument;
class CControles;
class CFmtGrid;

// Pointer shapes, by the numbers of the program's cursor resources.
enum class DesignCursor {
    Insert = 132,          // insertion tool
    Select = 133,          // selection tool over nothing special
    SizeHorizontal = 135,  // left or right edge handle, column separator
    SizeVertical = 139,    // bottom or top edge handle, row separator
    ColumnHeader = 140,    // over a table element's column title band
    RowHeader = 141,       // over a table element's row header strip
};

enum class DesignTool { Select = 0, Insert = 1 };

// Codes of the reports to the rulers.
namespace RulerCode {
inline constexpr int kScrollX = 1;
inline constexpr int kScrollY = 2;
inline constexpr int kPointerX = 3;
inline constexpr int kPointerY = 4;
}  // namespace RulerCode

struct RulerReport {
    int code = 0;
    int value = 0;
    friend bool operator==(const RulerReport&, const RulerReport&) = default;
};

// What the view does after an event.
struct EditorOutcome {
    bool repaint = false;
    bool refreshPanel = false;
    bool changed = false;  // a gesture that changed the format has ended
    std::optional<DesignCursor> cursor;
    std::vector<RulerReport> reports;
    std::optional<std::string> positionText;
    // The rectangle being dragged out (a rubber band, a new element's size), page units;
    // `bandEnds` when it is to disappear.
    std::optional<Rect> band;
    bool bandEnds = false;
};

// --- Where the pointer rests with the button up (selection tool) --------------------

struct HoverNothing {};
struct HoverHandle {
    int handle = 0;  // Handle: 1 left, 2 right, 3 bottom, 4 top
};
struct HoverSeparator {
    int column = -1;  // the column whose right border is under the pointer, or -1
    int row = -1;     // the row whose lower border is under the pointer, or -1
};
struct HoverHeader {};
using Hover = std::variant<HoverNothing, HoverHandle, HoverSeparator, HoverHeader>;

// --- The gesture in progress (button down) -------------------------------------------

struct Idle {};
// Dragging the selected element (or, after a press on empty paper, nothing).
struct Dragging {
    Point last;
};
struct Resizing {
    int handle = 0;
    Point last;
};
// Dragging a table element's column or row border.
struct DraggingSeparator {
    int column = -1;
    int row = -1;
    Point last;
};
// The insertion tool's button is down: a click places the element where the button
// comes up, a drag gives it the dragged rectangle.
struct Inserting {
    Point start;  // snapped
};
// Dragging out a rectangle on empty paper: what it encloses is selected on release.
struct RubberBand {
    Point start;
    bool add = false;  // Shift was held: the enclosed elements join the selection
};
using Gesture = std::variant<Idle, Dragging, Resizing, DraggingSeparator, Inserting, RubberBand>;

// The least drag (page units, along either axis) that gives a new element its size; a
// shorter one is a click.
inline constexpr int kInsertDragUnits = 20;

// Hooks through which a gesture's change reaches undo: `before` runs once, just before
// the first step that may change the format; `nothingChanged` runs at the release when
// that step changed nothing after all (a refused resize), so the record is dropped.
struct ChangeHooks {
    std::function<void()> before;
    std::function<void()> nothingChanged;
};

class CDesignEditor {
public:
    CDesignEditor(DesignDocument& document, ChangeHooks hooks);

    // `shift`: Shift+click adds the element under the pointer to the selection or takes
    // it out; on empty paper the rubber band adds to the selection.
    EditorOutcome Press(Point page, bool shift = false);
    EditorOutcome Move(Point page);
    EditorOutcome Release(Point page);
    // The button came up outside the page view: an insertion is dropped, any other
    // gesture ends where it got to.
    EditorOutcome ReleaseOutside();

    int SnapStep() const { return m_snap; }
    void SetSnapStep(int step) { m_snap = step; }
    // The snapping commands: choosing the step in force turns snapping off, choosing the
    // other one switches to it.
    void ToggleSnap(int step) { m_snap = (m_snap == step) ? kSnapStepOff : step; }

    DesignTool Tool() const { return m_tool; }
    int InsertKind() const { return m_insertKind; }
    void ChooseSelectTool();
    void ChooseInsertTool(int kind);
    DesignCursor ToolCursor() const;

    const Gesture& State() const { return m_gesture; }
    const Hover& HoverState() const { return m_hover; }
    int HeaderColumn() const { return m_headerColumn; }
    int HeaderRow() const { return m_headerRow; }
    // The selection was replaced from outside (a file read, an undo, a delete): the
    // gesture in progress, whatever the pointer rested on and the header last clicked
    // belong to the old one.
    void ForgetHover();

private:
    EditorOutcome Hovering(Point page);
    EditorOutcome DragStep(Point page);
    void HeaderClick(CFmtGrid& grid, Point page);
    void RecordOnce();
    EditorOutcome PressSelecting(Point page, bool shift);
    // The selected elements' bytes, to tell at the release whether a gesture changed them.
    std::vector<uint8_t> SelectionBytes() const;

    DesignDocument& m_document;
    ChangeHooks m_hooks;
    Gesture m_gesture = Idle{};
    Hover m_hover = HoverNothing{};
    int m_snap = kSnapStepMm;
    DesignTool m_tool = DesignTool::Select;
    int m_insertKind = 0;
    int m_headerColumn = -1;
    int m_headerRow = -1;
    bool m_recorded = false;
    std::vector<uint8_t> m_bytesBefore;
};
