#pragma once
// The screen layout designer's mouse editing as named states: selecting, moving and
// resizing the capture screen's controls in 4-pixel steps, and the capture-order mode in
// which clicks number the controls. Free of widgets: the view turns Qt's events into
// form points (pixels, y downward) and carries out the outcome.
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "base/geometry.h"
#include "design/design_document.h"
#include "model/format_file.h"

// Pointer shapes, by the numbers of the program's cursor resources.
enum class LayoutCursor {
    Arrow = 133,           // nothing special under the pointer
    SizeHorizontal = 135,  // left or right handle of the selected control
    SizeVertical = 139,    // bottom or top handle
};

// The gesture in progress (button down).
struct LayoutIdle {};
struct LayoutMoving {
    Point last;  // last snapped pointer position
};
struct LayoutResizing {
    int handle = 0;  // 1 left, 2 right, 3 bottom, 4 top
    Point last;
};
// A rubber band drawn from empty form: on release it selects every control it encloses,
// added to the selection with Shift.
struct LayoutBand {
    Point start;
    Point last;
    bool add = false;
};
using LayoutGesture = std::variant<LayoutIdle, LayoutMoving, LayoutResizing, LayoutBand>;

// What the view does after an event.
struct LayoutOutcome {
    bool repaint = false;
    // The format changed: `before` holds it as it was (a snapshot for undo).
    std::optional<std::vector<uint8_t>> before;
    std::optional<LayoutCursor> cursor;
    bool orderModeLeft = false;
    // The rubber band to show (form pixels, any orientation), or `bandEnds` when it goes.
    std::optional<Rect> band;
    bool bandEnds = false;
};

class ScreenLayoutEditor {
public:
    // The format is lent by the view, which owns it.
    explicit ScreenLayoutEditor(Format& format);

    // The format was read or replaced (undo): the resizable controls keep their handles
    // on their screen rectangle, nothing is selected, no gesture runs.
    void FormatReplaced();

    // Pointer positions move in fixed 4-pixel steps, truncated toward zero.
    static int Snap(int v) { return 4 * (v / 4); }
    static Point Snap(Point p) { return {Snap(p.x), Snap(p.y)}; }

    // The control the clerk may move: a variable element or a label; constants have no
    // place on the capture screen.
    static bool IsArrangeable(const CControles& element) { return !element.m_constant; }
    // Whether the control offers resize handles here (the check mark and the label do not).
    static bool HasHandles(const CControles& element);

    // `shift`: Shift+click adds the control to the selection or takes it out. A press on
    // empty form starts a rubber band (which adds to the selection with Shift).
    LayoutOutcome Press(Point p, bool shift = false);
    LayoutOutcome Move(Point p);
    LayoutOutcome Release();
    // Esc: a rubber band still being drawn goes without selecting anything.
    LayoutOutcome CancelBand();

    // The selected control while exactly one is; Selected() holds them all, in the order
    // they were selected.
    CControles* Selection() const { return m_selection; }
    const std::vector<CControles*>& Selected() const { return m_selected; }
    void SelectAll();
    // Tab and Shift+Tab: the next (previous) control in capture order.
    void SelectNextInOrder(bool backwards);
    // The arrow keys' step in pixels, the drag's snapping step.
    static constexpr int kKeyStep = 4;
    // Moves the selected controls together, the group held at the form's top and left
    // edges. The snapshot before, or nothing when nothing moved.
    std::optional<std::vector<uint8_t>> MoveSelection(int dx, int dy);
    // Aligns, distributes or sizes the selected controls against each other.
    std::optional<std::vector<uint8_t>> Arrange(DesignArrange arrange);
    bool OrderMode() const { return m_orderMode; }
    int HoverHandle() const { return m_hoverHandle; }
    const LayoutGesture& Gesture() const { return m_gesture; }

    // "&Orden de captura": toggles the mode and restarts the numbering at 1.
    void ToggleOrderMode();
    // "Título &Arriba" (0) / "Título a un &lado" (1) for the selected control; the
    // snapshot before the change, or nothing when nothing is selected or nothing changes.
    std::optional<std::vector<uint8_t>> SetCaptionLeft(int captionLeft);

    // Clicking element `clicked` in order mode: every element whose order b satisfies
    // next <= b < clicked's order (compared as unsigned numbers, so negative orders count
    // as very large, and an element without order as larger still) moves one place back,
    // the clicked one takes `next`. A control clicked again in the same round (its order
    // is below `next`) becomes the last one numbered instead. Returns the next number to
    // hand out.
    static int Renumber(ElementList& elements, CControles& clicked, int next);

private:
    // Clears the selection, then finds the front-most arrangeable element under `p`.
    CControles* HitTestScreen(Point p);
    CControles* ArrangeableAt(Point p) const;
    // Marks the selected controls; the single selection follows.
    void MirrorSelection();

    Format& m_format;
    CControles* m_selection = nullptr;
    std::vector<CControles*> m_selected;
    LayoutGesture m_gesture = LayoutIdle{};
    int m_hoverHandle = 0;
    bool m_orderMode = false;
    int m_nextOrder = 1;
    // The format as it was when the gesture began, and whether it has moved since.
    std::vector<uint8_t> m_before;
    bool m_gestureChanged = false;
};
