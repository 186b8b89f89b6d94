// The table element's geometry: creation, stored record, resizing, column and row counts,
// hit tests and cells.
#include <gtest/gtest.h>

#include "model/element_factory.h"
#include "model/fmt_grid.h"

namespace {

std::vector<int32_t> Widths(const CFmtGrid& g)
{
    std::vector<int32_t> w;
    for (const GridColumn& c : g.m_columns)
        w.push_back(c.width);
    return w;
}

std::vector<int32_t> Heights(const CFmtGrid& g)
{
    std::vector<int32_t> h;
    for (const GridRow& r : g.m_rows)
        h.push_back(r.height);
    return h;
}

std::unique_ptr<CFmtGrid> NewGrid()
{
    auto element = CreateElementAt(kKindGrid, 100, -200);
    auto* grid = dynamic_cast<CFmtGrid*>(element.get());
    EXPECT_NE(grid, nullptr);
    element.release();
    return std::unique_ptr<CFmtGrid>(grid);
}

}  // namespace

TEST(GridLayout, ANewGridIsFourColumnsOf40mmBySixRows)
{
    auto g = NewGrid();
    EXPECT_EQ(g->m_text, "Tabla");
    EXPECT_EQ(g->m_rcPage, (Rect{100, -200, 1700, -200 - 45 * 6}));
    EXPECT_EQ(Widths(*g), (std::vector<int32_t>{400, 400, 400, 400}));
    EXPECT_EQ(Heights(*g), (std::vector<int32_t>(6, 45)));
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g->m_columns[size_t(c)].title, "Columna " + std::to_string(c + 1));
        EXPECT_EQ(g->m_columns[size_t(c)].x, 100 + 400 * c);
    }
    EXPECT_EQ(g->m_rows[2].y, -200 - 90);
    EXPECT_EQ(g->m_captionLeft, 0) << "caption above";
    EXPECT_EQ(g->m_selColumn, -1);
    EXPECT_EQ(g->m_selRow, -1);
    // Separator of column 1 (right border at 500) and of row 1 (lower border at -245).
    EXPECT_EQ(g->m_columns[0].rcSeparator, (Rect{490, -200, 510, -470}));
    EXPECT_EQ(g->m_rows[0].rcSeparator, (Rect{100, -235, 1700, -255}));
}

TEST(GridLayout, TheStoredRecordReadsBackAndWritesTheSameBytes)
{
    auto g = NewGrid();
    g->m_columns[1].type = kGridCurrencyCalc;
    g->m_columns[1].formula = "C1*0.16";
    g->m_columns[2].align = 2;
    g->m_columns[3].title = "Descripción";
    g->m_columns[0].screenWidth = 151;
    g->m_rows[5].height = 70;
    g->UpdateHandles();
    ArchiveWriter out;
    g->Write(out);
    const std::vector<uint8_t> bytes = out.Bytes();

    CFmtGrid read;
    ArchiveReader in(bytes);
    read.Read(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(read.m_columns, g->m_columns) << "layout is recomputed on reading";
    EXPECT_EQ(read.m_rows, g->m_rows);
    ArchiveWriter again;
    read.Write(again);
    EXPECT_EQ(again.Bytes(), bytes);
}

// The bytes of the column and row layout as the format file holds them after the common
// part, laid out by hand: little-endian integers, strings led by their length.
struct TailBytes {
    std::vector<uint8_t> bytes;
    TailBytes& Int(int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    TailBytes& Str(const std::string& cp1252)
    {
        bytes.push_back(uint8_t(cp1252.size()));
        bytes.insert(bytes.end(), cp1252.begin(), cp1252.end());
        return *this;
    }
};

TEST(GridLayout, TheStoredColumnLayoutHasItsFixedBytes)
{
    // Per column: alignment, title, width, screen width, type, formula; then the rows.
    const std::vector<uint8_t> tail = TailBytes()
                                          .Int(2)
                                          .Int(0).Str("Cant").Int(200).Int(76).Int(1).Str("")
                                          .Int(2).Str("A\xF1o").Int(300).Int(113).Int(4).Str("C1*0.16")
                                          .Int(2)
                                          .Int(45).Int(60)
                                          .bytes;
    auto g = NewGrid();
    g->SetColumnCount(2);
    g->SetRowCount(2);
    g->m_columns[0] = GridColumn{0, "Cant", 200, 76, kGridNumber, "", 0, {}};
    g->m_columns[1] = GridColumn{2, "Año", 300, 113, kGridCurrencyCalc, "C1*0.16", 0, {}};
    g->m_rows[0].height = 45;
    g->m_rows[1].height = 60;
    ArchiveWriter out;
    g->Write(out);
    const std::vector<uint8_t> written = out.Bytes();
    ASSERT_GE(written.size(), tail.size());
    EXPECT_EQ(std::vector<uint8_t>(written.end() - std::ptrdiff_t(tail.size()), written.end()), tail);

    // Read back from other hand-laid bytes behind the same common part: every value lands
    // in its own member.
    const std::vector<uint8_t> other = TailBytes()
                                           .Int(1)
                                           .Int(1).Str("Suma").Int(410).Int(155).Int(2).Str("C2+C3")
                                           .Int(1)
                                           .Int(70)
                                           .bytes;
    std::vector<uint8_t> file(written.begin(), written.end() - std::ptrdiff_t(tail.size()));
    file.insert(file.end(), other.begin(), other.end());
    CFmtGrid read;
    ArchiveReader in(file);
    read.Read(in);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(read.ColumnCount(), 1);
    const GridColumn& c = read.m_columns[0];
    EXPECT_EQ(c.align, 1);
    EXPECT_EQ(c.title, "Suma");
    EXPECT_EQ(c.width, 410);
    EXPECT_EQ(c.screenWidth, 155);
    EXPECT_EQ(c.type, kGridNumberCalc);
    EXPECT_EQ(c.formula, "C2+C3");
    EXPECT_EQ(Heights(read), (std::vector<int32_t>{70}));
}

TEST(GridLayout, WideningHandsTheRemainderOutFromTheRotatingColumn)
{
    auto g = NewGrid();
    g->ResizeByHandle(kHandleRight, 2, 0);  // 1600 -> 1602
    EXPECT_EQ(Widths(*g), (std::vector<int32_t>{401, 401, 400, 400}));
    EXPECT_EQ(g->m_nextColumnFix, 2);
    // The next remainder starts where the last one stopped: 1602 -> 1605 keeps every
    // width, and the 3 units go to columns 3, 4 and 1.
    g->ResizeByHandle(kHandleLeft, -3, 0);
    EXPECT_EQ(g->m_rcPage.left, 97);
    int sum = 0;
    for (int32_t w : Widths(*g))
        sum += w;
    EXPECT_EQ(sum, 1605);
    EXPECT_EQ(Widths(*g), (std::vector<int32_t>{402, 401, 401, 401}));
    EXPECT_EQ(g->m_nextColumnFix, 1);
    EXPECT_EQ(g->m_columns[0].x, 97);
    EXPECT_EQ(g->m_columns[3].x, 97 + 402 + 401 + 401);
}

TEST(GridLayout, HeightScalesRowsAndRefusesLessThan4mmPerRow)
{
    auto g = NewGrid();  // 6 rows of 45: 270 high
    g->ResizeByHandle(kHandleBottom, 0, -30);  // 300 high
    EXPECT_EQ(Heights(*g), (std::vector<int32_t>(6, 50)));
    EXPECT_EQ(g->m_rcPage.bottom, -500);
    g->ResizeByHandle(kHandleBottom, 0, 60);  // would be 240 = 40 x 6: refused
    EXPECT_EQ(g->m_rcPage.bottom, -500);
    g->ResizeByHandle(kHandleTop, 0, -59);  // 241 high: taken
    EXPECT_EQ(g->m_rcPage.top, -259);
    int sum = 0;
    for (int32_t h : Heights(*g))
        sum += h;
    EXPECT_EQ(sum, 241);
    g->ResizeByHandle(kHandleRight, -1440, 0);  // 160 = 40 x 4: refused
    EXPECT_EQ(g->m_rcPage.right, 1700);
}

TEST(GridLayout, ColumnAndRowCountsKeepTheFirstAndAddDefaults)
{
    auto g = NewGrid();
    g->m_columns[1].width = 300;
    g->m_columns[1].title = "Importe";
    g->SetColumnCount(2);
    EXPECT_EQ(g->ColumnCount(), 2);
    EXPECT_EQ(g->m_rcPage.right, 100 + 700);
    g->SetColumnCount(5);
    EXPECT_EQ(g->m_columns[1].title, "Importe");
    for (int c = 2; c < 5; ++c) {
        EXPECT_EQ(g->m_columns[size_t(c)].title, "Columna " + std::to_string(c + 1));
        EXPECT_EQ(g->m_columns[size_t(c)].width, 400);
    }
    EXPECT_EQ(g->m_rcPage.right, 100 + 700 + 1200);

    g->m_rows[5].height = 60;
    g->SetRowCount(8);
    EXPECT_EQ(Heights(*g), (std::vector<int32_t>{45, 45, 45, 45, 45, 60, 60, 60}));
    EXPECT_EQ(g->m_rcPage.bottom, -200 - 45 * 5 - 180);
    g->SetRowCount(0);
    EXPECT_EQ(g->RowCount(), 8) << "a grid keeps at least one row";
}

TEST(GridLayout, DraggingABorderChangesOneColumnOrRow)
{
    auto g = NewGrid();
    g->ChangeColumnWidth(1, -359);  // 41: taken
    EXPECT_EQ(g->m_columns[1].width, 41);
    EXPECT_EQ(g->m_rcPage.right, 1700 - 359);
    g->ChangeColumnWidth(1, -1);  // 40: refused
    EXPECT_EQ(g->m_columns[1].width, 41);
    EXPECT_EQ(g->m_columns[2].x, 100 + 400 + 41);

    g->ChangeRowHeight(0, -15);  // border dragged 1.5 mm down: 60 high
    EXPECT_EQ(g->m_rows[0].height, 60);
    EXPECT_EQ(g->m_rcPage.bottom, -470 - 15);
    g->ChangeRowHeight(0, 20);  // 40: refused
    EXPECT_EQ(g->m_rows[0].height, 60);
}

TEST(GridLayout, HitTestsFindBordersTitlesAndRowHeaders)
{
    auto g = NewGrid();
    struct Case {
        int x, y;
        std::pair<int, int> separator, header;
    };
    const Case cases[] = {
        {500, -310, {0, -1}, {-1, -1}},    // on column 1's right border
        {300, -245, {-1, 0}, {-1, -1}},    // on row 1's lower border
        {509, -250, {0, 0}, {-1, -1}},     // both borders at once
        {300, -180, {-1, -1}, {0, -1}},    // in the title band above column 1
        {1695, -161, {-1, -1}, {3, -1}},   // title band of column 4, above its border's handle
        {90, -300, {-1, -1}, {-1, 2}},     // row-header strip of row 3
        {300, -150, {-1, -1}, {-1, -1}},   // above the title band
        {75, -300, {-1, -1}, {-1, -1}},    // left of the row-header strip
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g->HitSeparator(c.x, c.y), c.separator) << c.x << "," << c.y;
        EXPECT_EQ(g->HitHeader(c.x, c.y), c.header) << c.x << "," << c.y;
    }
}

TEST(GridLayout, CellsAreInsetTwoUnits)
{
    auto g = NewGrid();
    EXPECT_EQ(g->CellRect(0, 0), (Rect{102, -202, 498, -243}));
    EXPECT_EQ(g->CellRect(3, 5), (Rect{1302, -427, 1698, -468}));
    EXPECT_EQ(g->CellRect(4, 0), Rect{});
}
