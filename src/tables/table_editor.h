#pragma once
// The editing core of the table window: the columns shown, the cell cursor, the row
// selection, the line of the new record and every rule of typing into a cell, appending
// the new record line, deleting rows and sorting. The widget only turns mouse and keys
// into these calls and paints what they give; the headless capture session and
// ordexa-cli type into cells through the same calls.
//
// Rows are 1-based: rows 1 .. RowCount() - 1 are records (positions of the active order
// while sorted), row RowCount() is the new record line. Columns are 1-based too; column 0
// is the row-header column, column n shows the field named by its descriptor.
#include "tables/kv_register.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CTabla;
class Locale;
class Prompts;

struct TablaColumn {
    static constexpr uint32_t kUpperCase = 0x40;  // typed text is turned to upper case
    static constexpr uint32_t kCurrency = 0x100;  // shown through FormatPesos, right-aligned
    static constexpr uint32_t kReadOnly = 0x200;  // typing never changes the cell

    // Text-alignment codes of the drawing surface.
    static constexpr int kAlignLeft = 0;
    static constexpr int kAlignRight = 2;
    static constexpr int kAlignCenter = 6;

    int widthPx = 60;
    int rightPx = 0;  // right edge, set while drawing
    uint32_t flags = 0;
    std::string fieldName;
    std::string title;  // header text; the field name when empty
    int align = kAlignLeft;
    int inputLimit = 0;  // 0: the edit's own limit

    const std::string& HeaderText() const { return title.empty() ? fieldName : title; }
    bool Has(uint32_t flag) const { return (flags & flag) != 0; }
};

// The keys the window gives meaning to.
enum class TablaKey { Enter, F2, F3, Escape, Left, Right, Up, Down, PageUp, PageDown, Home, End, Delete };

// What a cell shows: its text, where it sits, and whether it is a negative amount (drawn
// in red, cyan in a selected row).
struct TablaCellView {
    std::string text;
    int align = TablaColumn::kAlignLeft;
    bool negative = false;
};

class CTablaEditor {
public:
    static constexpr const char* kAskDeleteSelection = "¿Está seguro de borrar los registros seleccionados?";
    static constexpr int kRowHeaderWidthPx = 60;

    // Messages of the new record line go to the prompts; both are lent and must outlive
    // the editor.
    CTablaEditor(Prompts& prompts, const Locale& locale);
    virtual ~CTablaEditor();
    CTablaEditor(const CTablaEditor&) = delete;
    CTablaEditor& operator=(const CTablaEditor&) = delete;

    // Only an open table is attached; the table stays the caller's. The old one is
    // detached first. The new record line takes the table's layout.
    bool Attach(CTabla* table);
    // The same, and the editor closes and destroys the table when it detaches it.
    bool Adopt(std::unique_ptr<CTabla> table);
    void Detach();
    CTabla* Table() const { return m_pTable; }
    bool IsAttached() const { return m_attached; }

    // One column per table field plus the row-header column, with the defaults: width 60,
    // right-aligned for 32-bit integers and floats, left otherwise.
    void BuildColumns();
    // Drops column n from the view; its field stays in the table.
    void RemoveColumn(int n);
    void SetColumnWidth(int n, int pixels);
    void SetColumnAlign(int n, int code);
    void SetColumnFlags(int n, uint32_t flags);
    void SetColumnTitle(int n, const std::string& title);
    void SetColumnInputLimit(int n, int limit);
    int ColumnCount() const { return int(m_cols.size()); }
    const TablaColumn& Column(int n) const { return m_cols.at(size_t(n)); }
    TablaColumn& MutableColumn(int n) { return m_cols.at(size_t(n)); }
    const std::vector<TablaColumn>& Columns() const { return m_cols; }
    // The table field a column shows, -1 when there is none.
    int FieldOfColumn(int col) const;

    // Cursor to row 1, column 1, scrolled home, no selection, the row count read again,
    // the new record line cleared.
    void Reset();

    int RowCount() const { return m_rowCount; }
    bool IsNewRecordLine(int row) const { return row == m_rowCount; }
    int CurRow() const { return m_curRow; }
    int CurCol() const { return m_curCol; }
    // The cursor, clamped to columns 1 .. ColumnCount() - 1 and rows 1 .. RowCount().
    void MoveCursor(int row, int col);

    int SelFirst() const { return m_selFirst; }
    int SelLast() const { return m_selLast; }
    bool HasSelection() const { return m_selFirst > 0; }
    bool IsRowSelected(int row) const;
    // Record rows only; a range given backwards is put in order.
    void SelectRows(int first, int last);
    void ClearSelection() { m_selFirst = m_selLast = 0; }

    // The visible part, kept here so that keys scroll the same way with or without a
    // window: the first row and column shown, how many rows fit, and the width in pixels
    // the cell columns have (0 when nothing limits it).
    int FirstRow() const { return m_firstRow; }
    int FirstCol() const { return m_firstCol; }
    int VisibleRows() const { return m_visibleRows; }
    void SetViewSize(int cellWidthPx, int visibleRows);
    void ScrollTo(int firstRow, int firstCol);
    // Scrolls by whole rows or columns until the cursor is in view.
    void EnsureCursorVisible();
    // The last column wholly in view from FirstCol() (at least FirstCol()).
    int LastVisibleCol() const;

    // The record a row shows, moving the table there; 0 for the new record line or a row
    // that has no record.
    int GoToRow(int row);
    // A cell's text form as an edit starts with it.
    std::string CellText(int row, int col);
    // A cell as the window draws it.
    TablaCellView CellDisplay(int row, int col);

    bool IsSorted() const { return m_sorted; }
    bool HideEmpty() const { return m_hideEmpty; }
    void SetHideEmpty(bool hide) { m_hideEmpty = hide; }
    bool NoAppend() const { return m_noAppend; }
    void SetNoAppend(bool noAppend) { m_noAppend = noAppend; }
    const CKVRegister& NewRow() const { return m_newRow; }

    // Cell edit. BeginEdit opens it on the cursor cell: with the typed text, or with the
    // cell's current text when `initial` is null; the text the edit starts with is given
    // back. EndsEdit says whether a key ends the open edit. EndEdit commits (Esc restores
    // the old text) and then carries out what the key does (Enter on the new record line
    // appends it, the arrows move). True when a cell changed.
    std::string BeginEdit(const std::string* initial = nullptr);
    bool IsEditing() const { return m_editing; }
    const std::string& EditStart() const { return m_editStart; }
    bool EndsEdit(TablaKey key, const std::string& editText) const;
    virtual bool EndEdit(const std::string& editText, TablaKey key);
    // Commits the edit text by the rules: upper case with the column's flag; the old text
    // back in a read-only column, in an indexed field of a record row, and on cancel; a
    // changed text is set into the cell's field (record rows write the record) and the
    // commit hook runs. True when a cell changed.
    virtual bool CommitEdit(const std::string& editText, bool cancel);
    // The edit is closed without a commit.
    void AbandonEdit() { m_editing = false; }

    // A whole typing of a cell, as a user or the headless capture does it: the cursor goes
    // there, an edit opens with the text and is ended by the key.
    bool TypeIntoCell(int row, int col, const std::string& text, TablaKey endKey = TablaKey::Enter);

    // Keys without an open edit. Tab and printable characters are the window's.
    virtual void KeyPress(TablaKey key);
    // The new record line is appended to the table; false (after the table's message) when
    // the table refuses it, or when appending is off.
    bool AppendNewRow();
    // The Delete key: nothing while sorted; deletes the selected rows after one question;
    // without a selection clears the new record line, or deletes the cursor row after the
    // table's own question.
    void DeleteKey();

    // "Ordenar por esta columna": the order of the column's field; only an indexed field
    // sorts, anything else leaves record order.
    bool SortByColumn(int col);
    void ToggleCurrency(int col);

    // The hook: a record row's cell holds its new text in the table's buffer, not yet
    // written. What else the row takes from it goes into the buffer here and is written
    // with it, in the one write of the commit.
    virtual void OnCellSet(int col);
    // The hook: a committed cell changed. The record is that of the row (0 for the new
    // record line), the column that of the window.
    virtual void OnCellCommitted(int record, int col);
    // The hook: the Delete key removed records (or tried to, after the clerk agreed).
    virtual void OnRecordsDeleted() {}

protected:
    Prompts& GetPrompts() const { return *m_prompts; }
    // Keeps the view's cursor in range after the row count changed.
    void ClampCursor();
    void SetRowCount(int rows) { m_rowCount = rows; }

private:
    void MoveByKey(TablaKey key);

    Prompts* m_prompts;
    CTabla* m_pTable = nullptr;
    std::unique_ptr<CTabla> m_owned;
    CKVRegister m_newRow;
    std::vector<TablaColumn> m_cols;
    int m_rowCount = 1;
    int m_curCol = 1;
    int m_curRow = 1;
    int m_selFirst = 0;
    int m_selLast = 0;
    int m_firstCol = 1;
    int m_firstRow = 1;
    int m_visibleRows = 1;
    int m_cellWidthPx = 0;
    std::string m_editStart;
    bool m_editing = false;
    bool m_attached = false;
    bool m_sorted = false;
    bool m_hideEmpty = false;
    bool m_noAppend = false;
};
