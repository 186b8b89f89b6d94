#pragma once
// The table element's window on the capture screen: the table window over the element's
// own editing core, which keeps the grid's rules (no appending, unfilled cells shown
// empty, an edit always kept, calculated columns recomputed, the cursor moving right
// after each edit). The window tells the capture screen when calculated columns changed.
#include "entry_control.h"
#include "tabla_wnd.h"

class CGridTablaWnd : public CTablaWnd {
    Q_OBJECT
public:
    // `editor` is the element's; it outlives the window.
    CGridTablaWnd(QWidget* parent, int controlId, CTablaEditor& editor);

    // Emits gridChanged with the window's control id.
    void PostGridChanged();
};

// The entry-control face of the window, owned by the table element: destroying it
// destroys the window.
class GridTableEntry : public TableEntry {
public:
    explicit GridTableEntry(CGridTablaWnd* window);
    ~GridTableEntry() override;
    GridTableEntry(const GridTableEntry&) = delete;
    GridTableEntry& operator=(const GridTableEntry&) = delete;

    int ControlId() const override { return m_controlId; }
    void Reset() override;
    void NotifyGridChanged() override;
    CGridTablaWnd* Window() const { return m_window.data(); }

private:
    QPointer<CGridTablaWnd> m_window;
    int m_controlId;
};
