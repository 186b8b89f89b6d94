#include "model/fmt_grid.h"

#include "base/session_temp_folder.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/grid_capture.h"
#include "model/kind_drawing.h"
#include "tables/tabla.h"

namespace {

// The smallest stored column: four integers and two empty strings.
constexpr size_t kMinColumnBytes = 4 * 4 + 2;
constexpr int kMinCellSize = 40;          // a column or row may not be dragged to 4 mm or less
constexpr int kSeparatorHalf = 10;        // half the width of a border's hit area
constexpr int kRowHeaderStrip = 20;       // the row-header band left of the rectangle
constexpr int kCellInset = 2;
constexpr int kPrintCellPadding = 5;      // the printed text's distance from the column borders
constexpr ColorRef kSelectedCellGrey = Rgb(164, 164, 164);
constexpr ColorRef kWhite = Rgb(255, 255, 255);

// The screen picture of the table window, in pixels.
constexpr int kScreenCell = 20;           // header height, row height, row-number width
constexpr int kScreenPlaceOffset = 20;    // room for the row numbers and the header
constexpr ColorRef kButtonFace = Rgb(240, 240, 240);
constexpr ColorRef kButtonHighlight = Rgb(255, 255, 255);
constexpr ColorRef kButtonShadow = Rgb(160, 160, 160);
constexpr ColorRef kWindowBackground = Rgb(255, 255, 255);
constexpr ColorRef kGridLine = Rgb(192, 192, 192);

// The design view names this many cells at most ("C-1,F-1" ...).
constexpr int64_t kMaxNamedCells = 5000;

// A computed column or row edge as the design view draws it: held within the drawing
// bounds like the element's rectangle, then moved by the margin.
int DesignX(int32_t x)
{
    return std::clamp(x, -kDrawLimit, kDrawLimit) + kDesignMarginX;
}

int DesignY(int32_t y)
{
    return std::clamp(y, -kDrawLimit, kDrawLimit) + kDesignMarginY;
}

// a + b and a - b for two 32-bit values, held at the ends of the 32-bit range. A table's
// edges are computed for every column and row each time it is laid out: one overflow test
// each, and only a result that overflows (toward the side b takes it) needs holding.
int32_t AddHeld(int32_t a, int32_t b)
{
    int32_t sum;
    if (__builtin_add_overflow(a, b, &sum))
        return b < 0 ? INT32_MIN : INT32_MAX;
    return sum;
}

int32_t SubtractHeld(int32_t a, int32_t b)
{
    int32_t difference;
    if (__builtin_sub_overflow(a, b, &difference))
        return b > 0 ? INT32_MIN : INT32_MAX;
    return difference;
}

// Hands a rounding remainder out one unit at a time, starting at the rotating index.
template <class Item, class Member>
void HandOutRemainder(std::vector<Item>& items, Member member, int remainder, int32_t& next)
{
    if (items.empty())
        return;
    remainder %= int(items.size());
    for (int i = 0; i < remainder; ++i) {
        if (next < 0 || next >= int(items.size()))
            next = 0;
        // A width or height read from a file may already be the largest there is: it stays.
        items[size_t(next)].*member = AddHeld(items[size_t(next)].*member, 1);
        if (++next >= int(items.size()))
            next = 0;
    }
}

// A raised 3-D cell: face, highlight on the top and left, shadow on the bottom and right.
void DrawRaisedCell(Dc& dc, const Rect& rc)
{
    dc.FillRect(rc, kButtonFace);
    PenScope pen(dc, 1, kButtonHighlight);
    dc.MoveTo(rc.left, rc.bottom - 1);
    dc.LineTo(rc.left, rc.top);
    dc.LineTo(rc.right - 1, rc.top);
    dc.SelectPen(1, kButtonShadow);
    dc.MoveTo(rc.right - 1, rc.top);
    dc.LineTo(rc.right - 1, rc.bottom - 1);
    dc.LineTo(rc.left, rc.bottom - 1);
}

}  // namespace

CFmtGrid::CFmtGrid() : CControles(kKindGrid, 0, 0, 0, 0) {}

CFmtGrid::~CFmtGrid() = default;

std::string CFmtGrid::DefaultColumnTitle(int number)
{
    return "Columna " + std::to_string(number);
}

std::unique_ptr<CFmtGrid> CFmtGrid::CreateAt(int x, int y)
{
    auto grid = std::make_unique<CFmtGrid>();
    grid->m_text = kDefaultText;
    const int h = grid->m_logFont.height + 5;
    for (int c = 0; c < kDefaultColumns; ++c) {
        GridColumn column;
        column.title = DefaultColumnTitle(c + 1);
        column.width = kDefaultColumnWidth;
        grid->m_columns.push_back(column);
    }
    grid->m_rows.assign(kDefaultRows, GridRow{h, 0, {}});
    grid->m_rcPage = {x, y, x + kDefaultColumnWidth * kDefaultColumns, y - h * kDefaultRows};
    grid->UpdateHandles();
    return grid;
}

// --- Stored record -------------------------------------------------------------------

void CFmtGrid::ReadTail(ArchiveReader& ar)
{
    constexpr int32_t kFirstRoom = 256;
    // The lists grow as they are read, room made for a few hundred at first: a count is
    // only held within what the bytes could hold, and a damaged table, refused a few
    // items in, would have taken room for six times the file's size.
    const int32_t columns = ar.ReadCount(kMinColumnBytes);
    m_columns.clear();
    m_columns.reserve(size_t(std::min(columns, kFirstRoom)));
    // Each column is read in its place in the list (a failed read drops the whole element).
    for (int32_t i = 0; i < columns; ++i) {
        GridColumn& c = m_columns.emplace_back();
        c.align = ar.ReadInt32();
        c.title = ar.ReadString();
        c.width = ar.ReadInt32();
        c.screenWidth = ar.ReadInt32();
        c.type = ar.ReadInt32();
        c.formula = ar.ReadString();
    }
    const int32_t rows = ar.ReadCount(4);
    m_rows.clear();
    m_rows.reserve(size_t(std::min(rows, kFirstRoom)));
    for (int32_t i = 0; i < rows; ++i)
        m_rows.push_back(GridRow{ar.ReadInt32(), 0, {}});
    m_selColumn = -1;
    m_selRow = -1;
}

void CFmtGrid::WriteTail(ArchiveWriter& ar) const
{
    ar.WriteInt32(int32_t(m_columns.size()));
    for (const GridColumn& c : m_columns) {
        ar.WriteInt32(c.align);
        ar.WriteString(c.title);
        ar.WriteInt32(c.width);
        ar.WriteInt32(c.screenWidth);
        ar.WriteInt32(c.type);
        ar.WriteString(c.formula);
    }
    ar.WriteInt32(int32_t(m_rows.size()));
    for (const GridRow& r : m_rows)
        ar.WriteInt32(r.height);
}

// --- Layout and sizing ---------------------------------------------------------------

void CFmtGrid::LayoutCells()
{
    // Stored widths and heights are not trusted: the running edges saturate at the ends
    // of the coordinate range instead of wrapping around.
    int32_t x = m_rcPage.left;
    for (GridColumn& c : m_columns) {
        c.x = x;
        const int32_t border = AddHeld(x, c.width);
        c.rcSeparator = {AddHeld(border, -kSeparatorHalf), m_rcPage.top, AddHeld(border, kSeparatorHalf), m_rcPage.bottom};
        x = border;
    }
    int32_t y = m_rcPage.top;
    for (GridRow& r : m_rows) {
        r.y = y;
        const int32_t border = SubtractHeld(y, r.height);
        r.rcSeparator = {m_rcPage.left, AddHeld(border, kSeparatorHalf), m_rcPage.right, AddHeld(border, -kSeparatorHalf)};
        y = border;
    }
}

void CFmtGrid::UpdateHandles()
{
    if (!m_layoutMode)
        LayoutCells();
    ComputeHandles(HandleSet::All);
}

int CFmtGrid::SumOfWidths() const
{
    // Widths read from a file may be anything: the sum is taken in 64 bits and held at
    // the ends of the 32-bit range.
    int64_t sum = 0;
    for (const GridColumn& c : m_columns)
        sum += c.width;
    return Saturate32(sum);
}

int CFmtGrid::SumOfHeights() const
{
    int64_t sum = 0;
    for (const GridRow& r : m_rows)
        sum += r.height;
    return Saturate32(sum);
}

void CFmtGrid::ScaleColumns(int oldWidth, int newWidth)
{
    if (oldWidth == 0 || m_columns.empty())
        return;
    for (GridColumn& c : m_columns)
        c.width = int32_t(int64_t(c.width) * newWidth / oldWidth);
    const int64_t remainder = (int64_t(newWidth) - SumOfWidths()) % int64_t(m_columns.size());
    HandOutRemainder(m_columns, &GridColumn::width, int(remainder), m_nextColumnFix);
}

void CFmtGrid::ScaleRows(int oldHeight, int newHeight)
{
    if (oldHeight == 0 || m_rows.empty())
        return;
    for (GridRow& r : m_rows)
        r.height = int32_t(int64_t(r.height) * newHeight / oldHeight);
    const int64_t remainder = std::llabs(int64_t(newHeight) - SumOfHeights()) % int64_t(m_rows.size());
    HandOutRemainder(m_rows, &GridRow::height, int(remainder), m_nextRowFix);
}

void CFmtGrid::ResizeByHandle(int handle, int dx, int dy)
{
    // Sizes are measured in 64 bits and moved edges saturate, whatever the stored
    // coordinates.
    const int64_t oldWidth = int64_t(m_rcPage.right) - m_rcPage.left;
    const int64_t oldHeight = std::llabs(int64_t(m_rcPage.top) - m_rcPage.bottom);
    Rect rc = m_rcPage;
    switch (handle) {
    case kHandleLeft: rc.left = AddSaturated(rc.left, dx); break;
    case kHandleRight: rc.right = AddSaturated(rc.right, dx); break;
    case kHandleBottom: rc.bottom = AddSaturated(rc.bottom, dy); break;
    case kHandleTop: rc.top = AddSaturated(rc.top, dy); break;
    default: break;
    }
    const int64_t newWidth = int64_t(rc.right) - rc.left;
    const int64_t newHeight = std::llabs(int64_t(rc.top) - rc.bottom);
    // The element may not be narrower than 4 mm per column nor lower than 4 mm per row.
    if ((handle == kHandleLeft || handle == kHandleRight) && newWidth > int64_t(kMinCellSize) * ColumnCount()) {
        m_rcPage = rc;
        if (newWidth != oldWidth)
            ScaleColumns(Saturate32(oldWidth), Saturate32(newWidth));
    } else if ((handle == kHandleBottom || handle == kHandleTop) && newHeight > int64_t(kMinCellSize) * RowCount()) {
        m_rcPage = rc;
        if (newHeight != oldHeight)
            ScaleRows(Saturate32(oldHeight), Saturate32(newHeight));
    }
    UpdateHandles();
}

void CFmtGrid::ChangeColumnWidth(int column, int delta)
{
    if (column < 0 || column >= ColumnCount())
        return;
    GridColumn& c = m_columns[size_t(column)];
    if (int64_t(c.width) + delta > kMinCellSize) {
        c.width = AddSaturated(c.width, delta);
        m_rcPage.right = AddSaturated(m_rcPage.right, delta);
    }
    UpdateHandles();
}

void CFmtGrid::ChangeRowHeight(int row, int delta)
{
    if (row < 0 || row >= RowCount())
        return;
    GridRow& r = m_rows[size_t(row)];
    // Page y runs upward: dragging the border down (delta < 0) makes the row higher.
    if (int64_t(r.height) - delta > kMinCellSize) {
        r.height = AddSaturated(r.height, -int64_t(delta));
        m_rcPage.bottom = AddSaturated(m_rcPage.bottom, delta);
    }
    UpdateHandles();
}

void CFmtGrid::SetColumnCount(int n)
{
    if (n < 1 || n == ColumnCount())
        return;
    const int old = ColumnCount();
    m_columns.resize(size_t(n));
    for (int c = old; c < n; ++c) {
        GridColumn& column = m_columns[size_t(c)];
        column = GridColumn{};
        column.title = DefaultColumnTitle(c + 1);
        column.width = kDefaultColumnWidth;
    }
    if (m_selColumn >= n)
        m_selColumn = -1;
    if (m_nextColumnFix >= n)
        m_nextColumnFix = 0;
    m_rcPage.right = AddSaturated(m_rcPage.left, SumOfWidths());
    UpdateHandles();
}

void CFmtGrid::SetRowCount(int n)
{
    if (n < 1 || n == RowCount())
        return;
    const int32_t height = m_rows.empty() ? m_logFont.height + 5 : m_rows.back().height;
    m_rows.resize(size_t(n), GridRow{height, 0, {}});
    if (m_selRow >= n)
        m_selRow = -1;
    if (m_nextRowFix >= n)
        m_nextRowFix = 0;
    m_rcPage.bottom = AddSaturated(m_rcPage.top, -int64_t(SumOfHeights()));
    UpdateHandles();
}

void CFmtGrid::FixFontHeight()
{
    m_logFont.height = std::abs(m_logFont.height);
}

// --- Hit tests and cells -------------------------------------------------------------

std::pair<int, int> CFmtGrid::HitSeparator(int x, int y) const
{
    std::pair<int, int> hit{-1, -1};
    for (int c = 0; c < ColumnCount(); ++c)
        if (m_columns[size_t(c)].rcSeparator.Normalized().Contains({x, y})) {
            hit.first = c;
            break;
        }
    for (int r = 0; r < RowCount(); ++r)
        if (m_rows[size_t(r)].rcSeparator.Normalized().Contains({x, y})) {
            hit.second = r;
            break;
        }
    return hit;
}

std::pair<int, int> CFmtGrid::HitHeader(int x, int y) const
{
    std::pair<int, int> hit{-1, -1};
    const int fontHeight = std::abs(m_logFont.height);
    for (int c = 0; c < ColumnCount(); ++c) {
        const GridColumn& column = m_columns[size_t(c)];
        const Rect band{column.x, m_rcPage.top, column.x + column.width, m_rcPage.top + fontHeight};
        if (band.Normalized().Contains({x, y})) {
            hit.first = c;
            break;
        }
    }
    for (int r = 0; r < RowCount(); ++r) {
        const GridRow& row = m_rows[size_t(r)];
        const Rect strip{m_rcPage.left - kRowHeaderStrip, row.y, m_rcPage.left, row.y - row.height};
        if (strip.Normalized().Contains({x, y})) {
            hit.second = r;
            break;
        }
    }
    return hit;
}

Rect CFmtGrid::CellRect(int column, int row) const
{
    if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount())
        return {};
    const GridColumn& c = m_columns[size_t(column)];
    const GridRow& r = m_rows[size_t(row)];
    // Page y runs upward: the top is the greater y, so insetting lowers the top.
    return {AddSaturated(c.x, kCellInset), AddSaturated(r.y, -kCellInset),
            AddSaturated(c.x, int64_t(c.width) - kCellInset), AddSaturated(r.y, kCellInset - int64_t(r.height))};
}

// --- Drawing -------------------------------------------------------------------------

void CFmtGrid::DrawDesign(Dc& dc)
{
    if (!m_screenPlaced) {
        PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Corners);
        m_rcScreen.left -= kScreenPlaceOffset;
        m_rcScreen.top -= kScreenPlaceOffset;
    }
    const Rect rc = DesignRect(m_rcPage);
    const Rect shown = dc.ClipBox().Normalized();
    {
        PenScope pen(dc);
        if (m_selected)
            dc.SelectPen(1, kSelectionRed);
        dc.Outline(rc.Normalized());
        // The capture screen's column widths follow the page widths at the design view's
        // scale (a difference of two points, so that scrolling does not change it).
        const int originX = dc.LogicalToDevice({0, 0}).x;
        for (GridColumn& c : m_columns)
            c.screenWidth = dc.LogicalToDevice({c.width, 0}).x - originX;
        // Only the lines the surface shows are drawn: a stored table may have any number.
        for (size_t c = 1; c < m_columns.size(); ++c) {
            const int x = DesignX(m_columns[c].x);
            if (x < shown.left || x > shown.right)
                continue;
            dc.MoveTo(x, rc.top);
            dc.LineTo(x, rc.bottom);
        }
        for (size_t r = 1; r < m_rows.size(); ++r) {
            const int y = DesignY(m_rows[r].y);
            if (y < shown.top || y > shown.bottom)
                continue;
            dc.MoveTo(rc.left, y);
            dc.LineTo(rc.right, y);
        }
        if (m_selected)
            OutlineHandles(dc, m_rcHandle);
    }
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
    const int fontHeight = std::min(PositiveHeight(m_logFont.height), kMaxDrawnFontUnits);
    // The titles' band is as high for every column: a surface that does not show that
    // height shows no title, and one that does shows the titles of the columns it spans.
    if (rc.top < shown.bottom && shown.top < rc.top + fontHeight) {
        for (const GridColumn& c : m_columns) {
            const int x = DesignX(c.x);
            const int right = DesignX(AddSaturated(c.x, c.width));
            if (std::min(x, right) < shown.right && shown.left < std::max(x, right))
                dc.TextOutClipped(x, rc.top, {x, rc.top + fontHeight, right, rc.top}, c.title);
        }
    }
    DrawDesignCells(dc, rc);
}

void CFmtGrid::DrawDesignCells(Dc& dc, const Rect&)
{
    // A stored table may have any number of columns and rows: only the cells the surface
    // shows are drawn, and of those the names of the first ones only (row by row), so
    // that drawing a table takes bounded time. Highlighted cells are still filled; the
    // lines show every cell.
    if (RowCount() == 0 || ColumnCount() == 0)
        return;
    const Rect shown = dc.ClipBox().Normalized();
    // A surface that shows no area shows no cell.
    if (shown.left >= shown.right || shown.top >= shown.bottom)
        return;
    // A cell's left and right edges depend on its column only, its top and bottom on its
    // row only: the cells shown are where the columns shown cross the rows shown, found
    // in time proportional to the columns plus the rows, not to their product. The edges
    // are those of CellRect as the design view draws them (held within the drawing
    // bounds, moved by the margin), computed in 64 bits where nothing can overflow.
    struct Span {
        int index;
        int from, to;    // the column's left and right, or the row's top and bottom
        unsigned flags;  // the column's text flags (rows: unused)
    };
    const auto designX = [](int64_t x) { return int(std::clamp<int64_t>(x, -kDrawLimit, kDrawLimit)) + kDesignMarginX; };
    const auto designY = [](int64_t y) { return int(std::clamp<int64_t>(y, -kDrawLimit, kDrawLimit)) + kDesignMarginY; };
    // A span is shown when its two edges, held and moved, lie around some of the surface's
    // open interval (low, high). Holding keeps the order of values, so the test is made on
    // the edges as computed, against the surface's edges taken back through the holding
    // and the margin; only the spans shown are then held and moved.
    struct ShownRange {
        int64_t below;  // an edge e held and moved lies below `high` exactly when e < below
        int64_t above;  // ... and above `low` exactly when e > above
        bool Overlaps(int64_t a, int64_t b) const { return std::min(a, b) < below && above < std::max(a, b); }
    };
    const auto shownRange = [](int64_t low, int64_t high, int margin) {
        constexpr int64_t kNever = INT64_MAX;
        constexpr int64_t kAlways = INT64_MIN;
        const int64_t highBack = high - margin;
        const int64_t lowBack = low - margin;
        return ShownRange{highBack > kDrawLimit ? kNever : highBack <= -kDrawLimit ? kAlways : highBack,
                          lowBack >= kDrawLimit ? kNever : lowBack < -kDrawLimit ? kAlways : lowBack};
    };
    const ShownRange shownX = shownRange(shown.left, shown.right, kDesignMarginX);
    const ShownRange shownY = shownRange(shown.top, shown.bottom, kDesignMarginY);
    std::vector<Span> columns, rows;
    for (int c = 0; c < ColumnCount(); ++c) {
        const GridColumn& column = m_columns[size_t(c)];
        const int64_t left = int64_t(column.x) + kCellInset;
        const int64_t right = int64_t(column.x) + column.width - kCellInset;
        if (shownX.Overlaps(left, right))
            columns.push_back({c, designX(left), designX(right), ParagraphAlign(column.align) | DrawTextFlag::kSingleLine});
    }
    for (int r = 0; r < RowCount(); ++r) {
        const GridRow& row = m_rows[size_t(r)];
        const int64_t top = int64_t(row.y) - kCellInset;
        const int64_t bottom = int64_t(row.y) - row.height + kCellInset;
        if (shownY.Overlaps(top, bottom))
            rows.push_back({r, designY(top), designY(bottom), 0});
    }
    const auto selectedColumn = std::find_if(columns.begin(), columns.end(),
                                             [this](const Span& c) { return c.index == m_selColumn; });
    const ColorRef textColor = dc.GetTextColor();
    int64_t named = 0;
    for (const Span& row : rows) {
        if (named >= kMaxNamedCells && row.index != m_selRow) {
            // No name is left to draw: of this row only the selected column's cell is filled.
            if (selectedColumn != columns.end())
                dc.FillRect({selectedColumn->from, row.from, selectedColumn->to, row.to}, kSelectedCellGrey);
            continue;
        }
        // "F-<row>" is the same for the whole row: only the column's part is written per cell.
        char name[32] = "C-";
        char rowPart[16] = ",F-";
        char* const rowEnd = std::to_chars(rowPart + 3, std::end(rowPart), row.index + 1).ptr;
        for (const Span& column : columns) {
            Rect cell{column.from, row.from, column.to, row.to};
            const bool highlighted = column.index == m_selColumn || row.index == m_selRow;
            if (highlighted)
                dc.FillRect(cell, kSelectedCellGrey);
            if (named >= kMaxNamedCells)
                continue;
            ++named;
            char* end = std::to_chars(name + 2, std::end(name), column.index + 1).ptr;
            end = std::copy(rowPart, rowEnd, end);
            dc.SetTextColor(highlighted ? kWhite : textColor);
            dc.DrawText(std::string(name, end), cell, column.flags);
        }
    }
    dc.SetTextColor(textColor);
}

void CFmtGrid::DrawScreen(Dc& dc, bool showOrder)
{
    if (m_screenFont)
        dc.SelectFont(*m_screenFont);
    const Rect rc = DrawableRect(m_rcScreen).Normalized();
    dc.FillRect(rc, kButtonFace);
    // The cells' white area under the header and right of the row numbers.
    const Rect body{std::min(rc.left + kScreenCell, rc.right), std::min(rc.top + kScreenCell, rc.bottom), rc.right,
                    rc.bottom};
    dc.FillRect(body, kWindowBackground);
    DrawRaisedCell(dc, {rc.left, rc.top, std::min(rc.left + kScreenCell, rc.right), std::min(rc.top + kScreenCell, rc.bottom)});

    const int cellHeight = m_screenFont ? std::min(PositiveHeight(m_screenFont->height), kMaxDrawnFontUnits) : 14;
    dc.SetTextColor(0);
    dc.SetTextAlign(TextAlign::kCenter);
    int x = rc.left + kScreenCell;
    for (const GridColumn& c : m_columns) {
        if (x >= rc.right)
            break;
        // A column cut by the right edge ends the header.
        const Rect cell{x, rc.top, std::min(AddSaturated(x, std::max(c.screenWidth, 0)), rc.right),
                        std::min(rc.top + kScreenCell, rc.bottom)};
        DrawRaisedCell(dc, cell);
        dc.TextOutClipped(cell.left + (cell.right - cell.left) / 2, cell.top + (kScreenCell - cellHeight) / 2, cell,
                          c.title);
        x = AddSaturated(x, std::max(c.screenWidth, 0));
    }
    {
        PenScope pen(dc, 1, kGridLine);
        int y = rc.top + kScreenCell;
        for (int r = 0; r < RowCount() && y + kScreenCell <= rc.bottom; ++r, y += kScreenCell) {
            DrawRaisedCell(dc, {rc.left, y, std::min(rc.left + kScreenCell, rc.right), y + kScreenCell});
            dc.MoveTo(rc.left + kScreenCell, y + kScreenCell - 1);
            dc.LineTo(rc.right, y + kScreenCell - 1);
        }
    }
    // The outline, the four handles when selected, the caption and the order badge, as
    // every resizable control draws them.
    DrawControlOnScreen(*this, dc, showOrder, true);
}

void CFmtGrid::Print(Dc& dc)
{
    CTabla* table = m_capture ? m_capture->Table() : nullptr;
    if (!table || !table->IsOpen())
        return;
    dc.SelectFont(m_logFont);
    dc.SetTextColor(m_textColor);
    const int before = table->CurrentRecord();
    const int rows = std::min(RowCount(), table->SlotCount() - 1);
    for (int r = 0; r < rows; ++r) {
        if (table->GoToRecord(r + 1) != 1)
            continue;
        for (int c = 0; c < ColumnCount() && c + 1 < table->FieldCount(); ++c) {
            if (!table->IsFilled(c + 1))
                continue;
            Rect cell = CellRect(c, r);
            // On paper the text keeps 0.5 mm from the column's borders, as the screen's cells
            // keep their padding; a column too narrow for that keeps what room it has.
            if (int64_t(cell.right) - cell.left > 2 * (kPrintCellPadding - kCellInset)) {
                cell.left += kPrintCellPadding - kCellInset;
                cell.right -= kPrintCellPadding - kCellInset;
            }
            dc.DrawText(table->GetText(c + 1), cell, ParagraphAlign(m_columns[size_t(c)].align) | DrawTextFlag::kSingleLine);
        }
    }
    if (before >= 1)
        table->GoToRecord(before);
}

// --- Capture -------------------------------------------------------------------------

int CFmtGrid::CreateEntryControl(Dc&, EntryFactory& factory, int controlId, const LogFont& font)
{
    if (m_capture)
        return 0;
    Prompts* prompts = factory.TablePrompts();
    const Locale* locale = factory.TableLocale();
    if (!prompts || !locale)
        return 0;
    auto capture = std::make_unique<CGridCapture>(*prompts, *locale);
    capture->SetTableName(m_text);
    // A table that cannot be created leaves the window with no rows (the table said why).
    // Without the program's private temporary folder no table is made at all.
    if (SessionTempFolder().empty())
        prompts->Message(SessionTempFolderProblem());
    capture->Start(m_columns, RowCount(), SessionTempFolder());

    TableEntryParams params;
    const Rect rc = m_rcScreen.Normalized();
    params.rcScreen = {rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
    params.controlId = controlId;
    params.font = font;
    params.cells = capture.get();
    std::unique_ptr<TableEntry> window = factory.CreateTableEntry(params);
    if (!window)
        return 0;
    m_capture = std::move(capture);
    m_tableWnd = std::move(window);
    m_capture->SetGridChangedListener([this] {
        if (m_tableWnd)
            m_tableWnd->NotifyGridChanged();
    });
    return 1;
}

double CFmtGrid::ColumnTotal(int n) const
{
    return m_capture ? m_capture->ColumnTotal(n) : 0.0;
}

void CFmtGrid::SaveValue(ArchiveWriter& ar) const
{
    if (!m_tableWnd || !m_capture)
        return;
    ar.WriteInt32(m_order);
    m_capture->SaveCells(ar);
}

void CFmtGrid::LoadValue(ArchiveReader& ar)
{
    if (m_capture) {
        m_capture->LoadCells(ar);
    } else {
        // Without a table the record is still read through, so the next one can be.
        CGridCapture::SkipCells(ar);
    }
    if (m_tableWnd)
        m_tableWnd->Reset();
}

void CFmtGrid::ClearValue()
{
    if (!m_tableWnd || !m_capture)
        return;
    m_capture->Clear();
    m_tableWnd->Reset();
}
