#pragma once
// The table element's window on the capture screen: the table window over the element's
// own editing core, which keeps the grid's rules (no appending, unfilled cells shown
// empty, an edit always kept, calculated columns recomputed, the cursor moving right
// after each edit). The window tells the capture screen when calculated columns changed.
// A text the grid cannot keep (letters in an amount) keeps the cell edit open with the
// reason, and a calculated column is not typed into: nothing the clerk types is dropped
// without a word.
#include "base/entry_control.h"
#include "tables/ui/tabla_wnd.h"

class CGridCapture;

class CGridTablaWnd : public CTablaWnd {
    Q_OBJECT
public:
    // The element places its window this far inside its screen rectangle on every side.
    static constexpr int kElementInsetPx = 2;

    // `capture` is the element's; it outlives the window. Its prompts take the window's
    // messages too.
    CGridTablaWnd(QWidget* parent, int controlId, CGridCapture& capture);

    // Places the window at `placed` (the element's screen rectangle less the inset), wide
    // enough to show whole every column that the screen layout's rectangle holds, and
    // widened by the vertical scroll bar when the rows do not fit, so that the bar never
    // covers a column.
    void Place(const QRect& placed);

    // Emits gridChanged with the window's control id.
    void PostGridChanged();

signals:
    // A line for the capture screen's status bar (moving down past the last row).
    void statusMessage(const QString& text);

protected:
    // Down or Page Down on the last row beeps and says the table holds no more rows: the
    // cursor stays, and what is typed next goes into that row.
    void keyPressEvent(QKeyEvent* event) override;
    void StartEdit(const QString* typed) override;
    void EndCellEdit(TablaKey key) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows why the edit text cannot be kept and leaves the edit open on it.
    void KeepEditOpen(const std::string& refusal);

    CGridCapture& m_capture;
    bool m_refusing = false;  // a refusal's message is up; the edit's focus-out is ours
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
