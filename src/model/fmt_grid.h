#pragma once
// Table element (kind 4): a rectangle of columns and rows on the page. On the capture
// screen it keeps its rows in a temporary table shown in a table window, with calculated
// columns; on paper it prints only the cell texts, into the cells of the printed form.
#include <memory>
#include <utility>
#include <vector>

#include "model/controles.h"

class CGridCapture;

// Data types of a column.
enum GridColumnType : int32_t {
    kGridText = 0,            // "Texto"
    kGridNumber = 1,          // "Número"
    kGridNumberCalc = 2,      // "Número calculado"
    kGridCurrency = 3,        // "Moneda"
    kGridCurrencyCalc = 4,    // "Moneda calculada"
};

inline bool IsCalculatedType(int32_t type) { return type == kGridNumberCalc || type == kGridCurrencyCalc; }
inline bool IsCurrencyType(int32_t type) { return type == kGridCurrency || type == kGridCurrencyCalc; }

// One column: what the format stores, then the layout computed from it.
struct GridColumn {
    int32_t align = 0;        // draw-text code of the cell texts: 0 left, 1 centre, 2 right
    std::string title;
    int32_t width = 0;        // 0.1 mm on the page
    int32_t screenWidth = 0;  // pixels on the capture screen
    int32_t type = 0;         // GridColumnType
    std::string formula;      // calculation of a calculated column

    int32_t x = 0;            // left edge on the page
    Rect rcSeparator;         // hit area of the right-hand border line (page units)

    friend bool operator==(const GridColumn&, const GridColumn&) = default;
};

struct GridRow {
    int32_t height = 0;       // 0.1 mm
    int32_t y = 0;            // top edge on the page
    Rect rcSeparator;         // hit area of the lower border line (page units)

    friend bool operator==(const GridRow&, const GridRow&) = default;
};

class CFmtGrid : public CControles {
public:
    static constexpr const char* kDefaultText = "Tabla";
    static constexpr int kDefaultColumns = 4;
    static constexpr int kDefaultRows = 6;
    static constexpr int kDefaultColumnWidth = 400;

    CFmtGrid();
    ~CFmtGrid() override;
    // As the designer inserts it: (x, y) is the top-left corner; 4 columns 40 mm wide and
    // 6 rows one line of the font high.
    static std::unique_ptr<CFmtGrid> CreateAt(int x, int y);
    // "Columna %d" with the 1-based column number.
    static std::string DefaultColumnTitle(int number);

    void UpdateHandles() override;
    void ResizeByHandle(int handle, int dx, int dy) override;
    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void DrawScreen(Dc& dc, bool showOrder) override;
    void Print(Dc& dc) override;
    int CreateEntryControl(Dc& dc, EntryFactory& factory, int controlId, const LogFont& font) override;
    void SaveValue(ArchiveWriter& ar) const override;
    void LoadValue(ArchiveReader& ar) override;
    void ClearValue() override;

    int ColumnCount() const { return int(m_columns.size()); }
    int RowCount() const { return int(m_rows.size()); }
    // Columns and rows here are 0-based indices; -1 means none.
    void SetColumnCount(int n);
    void SetRowCount(int n);
    void ChangeColumnWidth(int column, int delta);
    void ChangeRowHeight(int row, int delta);
    // The column whose border handle holds the point, and independently the row.
    std::pair<int, int> HitSeparator(int x, int y) const;
    // The column whose title band holds the point, and the row whose row-header strip
    // (20 units left of the rectangle) holds it.
    std::pair<int, int> HitHeader(int x, int y) const;
    // A cell on the page, 2 units inside its lines.
    Rect CellRect(int column, int row) const;
    // The sum of a column's values (1-based column number) over every captured row; 0
    // out of range or before capture.
    double ColumnTotal(int n) const;

    // The capture state: the table, its editing core and the calculated columns.
    CGridCapture* Capture() const { return m_capture.get(); }
    TableEntry* TableWindow() const { return m_tableWnd.get(); }

    int32_t m_selColumn = -1;
    int32_t m_selRow = -1;
    int32_t m_nextColumnFix = 0;
    int32_t m_nextRowFix = 0;
    std::vector<GridColumn> m_columns;
    std::vector<GridRow> m_rows;

protected:
    void ReadTail(ArchiveReader& ar) override;
    void WriteTail(ArchiveWriter& ar) const override;
    void AfterRead() override { UpdateHandles(); }

private:
    void LayoutCells();
    void ScaleColumns(int oldWidth, int newWidth);
    void ScaleRows(int oldHeight, int newHeight);
    int SumOfWidths() const;
    int SumOfHeights() const;
    void DrawDesignCells(Dc& dc, const Rect& rc);

    // The capture state is destroyed after the window that shows it.
    std::unique_ptr<CGridCapture> m_capture;
    std::unique_ptr<TableEntry> m_tableWnd;
};
