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
using LayoutGesture = std::variant<LayoutIdle, LayoutMoving, LayoutResizing>;

// What the view does after an event.
struct LayoutOutcome {
    bool repaint = false;
    // The format changed: `before` holds it as it was (a snapshot for undo).
    std::optional<std::vector<uint8_t>> before;
    std::optional<LayoutCursor> cursor;
    bool orderModeLeft = false;
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

    LayoutOutcome Press(Point p);
    LayoutOutcome Move(Point p);
    LayoutOutcome Release();

    CControles* Selection() const { return m_selection; }
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
    // as very large) moves one place back, the clicked one takes `next`. Returns the next
    // number to hand out.
    static int Renumber(ElementList& elements, CControles& clicked, int next);

private:
    // Clears the selection, then finds the front-most arrangeable element under `p`.
    CControles* HitTestScreen(Point p);

    Format& m_format;
    CControles* m_selection = nullptr;
    LayoutGesture m_gesture = LayoutIdle{};
    int m_hoverHandle = 0;
    bool m_orderMode = false;
    int m_nextOrder = 1;
    // The format as it was when the gesture began, and whether it has moved since.
    std::vector<uint8_t> m_before;
    bool m_gestureChanged = false;
};
