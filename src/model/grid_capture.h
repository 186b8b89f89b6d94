#pragma once
// The table element's capture state, without a window: the temporary table (one record
// per row of the grid, kept non-blank by a marker field), the editing core with the
// grid's own commit (an edit is always kept, calculated columns follow, the cursor moves
// right), the column totals and the captured-data record. The capture screen's table
// window and the headless capture session both drive it.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/archive.h"
#include "calc/calc_record.h"
#include "base/entry_control.h"
#include "tables/table_editor.h"

struct GridColumn;

class CGridCapture : public CTablaEditor, public TableEntryCells {
public:
    static constexpr const char* kMarkerField = ".";
    static constexpr int kRowHeaderWidthPx = 20;

    CGridCapture(Prompts& prompts, const Locale& locale);
    ~CGridCapture() override;

    // Creates the table in `directory` under a generated "KV" name, created exclusively
    // and deleted when the capture ends, with one marker-only record per row; lays out the
    // window's columns and reads the formulas. False (after the table's message) when the
    // table cannot be created: the window then shows no rows.
    bool Start(const std::vector<GridColumn>& columns, int rowCount, const std::string& directory);
    // Empties the table and adds the rows again, marker only.
    bool Clear();
    double ColumnTotal(int n) const;

    // The captured-data record after the capture order: row count, column count, then the
    // cells row by row.
    void SaveCells(ArchiveWriter& ar) const;
    // Reads such a record (the capture order already read) into a cleared table. Rows
    // beyond the grid's and cells beyond its columns are read and ignored.
    void LoadCells(ArchiveReader& ar);
    // Reads such a record through without keeping anything.
    static void SkipCells(ArchiveReader& ar);

    // Told after a typed cell changed calculated columns.
    void SetGridChangedListener(std::function<void()> listener) { m_onGridChanged = std::move(listener); }

    const std::vector<CCalcRecord>& CalcRecords() const { return m_calc; }
    int GridRows() const { return m_gridRows; }
    int GridColumns() const { return int(m_calc.size()) - 1; }
    // The table field's name of each column: the title, made unique where titles repeat.
    static std::vector<std::string> FieldNames(const std::vector<GridColumn>& columns);

    // --- The grid's commit ---------------------------------------------------------
    // Why a column cannot be typed into (a calculated column whose value comes from other
    // columns only: a typed value would disagree with its sources), or empty.
    std::string TypingRefusal(int col) const;
    // Why a text cannot be kept in a column (a number or an amount that does not read as
    // one, which the table would store as 0), or empty.
    std::string TextRefusal(int col, const std::string& text) const;
    // The cursor cell's refusal of an edit text: the column's, then the text's; empty when
    // the text is unchanged or can be kept.
    std::string EditRefusal(const std::string& editText) const;
    // The same for a text about to be typed into a cell (1-based row and column), for
    // callers that report it themselves.
    std::string CellRefusal(int row, int column, const std::string& utf8);
    // An edit of the grid is always kept, Esc included, once it can be kept.
    bool CommitEdit(const std::string& editText, bool cancel) override;
    // A refused text is not stored: the reason goes to the prompts and the cursor stays
    // (the window keeps its edit open instead of coming here). Esc gives the old text back
    // to a refused edit. Otherwise, whatever key ended the edit, the cursor then moves one
    // column to the right. A changed cell recalculates the columns that follow from it; an
    // unchanged one recalculates nothing, so a column computed from its own typed value
    // is never computed twice.
    bool EndEdit(const std::string& editText, TablaKey key) override;
    // Calculated columns follow a typed cell in the row's buffer, written with it.
    void OnCellSet(int col) override;
    void OnCellCommitted(int record, int col) override;
    void OnRecordsDeleted() override;
    // The element's name, for the messages that name the table.
    void SetTableName(const std::string& name) { m_tableName = name; }
    // What the clerk is told on moving down from the grid's last row: the table holds
    // its rows and no more ("La tabla «Detalle» tiene 6 renglones y no caben más.").
    std::string NoMoreRowsMessage() const;
    // The message boxes the grid's refusals go to.
    Prompts& MessagePrompts() const { return m_prompts; }

    // --- TableEntryCells -----------------------------------------------------------
    int CellRows() const override { return std::max(0, RowCount() - 1); }
    int CellColumns() const override { return std::max(0, ColumnCount() - 1); }
    std::string CellTextAt(int row, int column) override { return CellText(row, column); }
    bool TypeCell(int row, int column, const std::string& utf8) override;
    void ResetCursor() override { Reset(); }

private:
    bool AddMarkerRows();
    void ParseFormulas(const std::vector<GridColumn>& columns);
    void LayoutWindowColumns(const std::vector<GridColumn>& columns);
    // The text stored for a number column: a number the user's locale reads (grouped
    // thousands, a currency sign) in the plain form the table reads whole.
    std::string StoredText(int col, const std::string& text) const;

    std::unique_ptr<CTabla> m_table;
    std::vector<CCalcRecord> m_calc;  // index = column number; 0 belongs to no column
    std::vector<std::string> m_formulas;  // index = column number, as the format gives them
    int m_gridRows = 0;
    std::string m_tableName;
    Prompts& m_prompts;
    const Locale& m_locale;
    std::function<void()> m_onGridChanged;
};
