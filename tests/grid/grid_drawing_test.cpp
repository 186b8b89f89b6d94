// The table element on the recording surface: the design view, the screen layout and the
// printout.
#include <gtest/gtest.h>

#include "model/grid_capture.h"
#include "grid_test_support.h"
#include "base/recording_dc.h"

namespace {

const RecordingDc::TextCall* FindText(const RecordingDc& dc, const std::string& text)
{
    for (const auto& t : dc.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

const RecordingDc::DrawTextCall* FindDrawText(const RecordingDc& dc, const std::string& text)
{
    for (const auto& t : dc.drawTexts)
        if (t.text == text)
            return &t;
    return nullptr;
}

}  // namespace

TEST(GridDrawing, DesignCellsNameTheirColumnAndRowInTheirCell)
{
    auto g = DesignedGrid();
    g->m_columns[1].align = 2;
    RecordingDc dc;
    g->DrawDesign(dc);
    EXPECT_EQ(dc.drawTexts.size(), 24u);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 6; ++r) {
            const std::string text = "C-" + std::to_string(c + 1) + ",F-" + std::to_string(r + 1);
            const auto* call = FindDrawText(dc, text);
            ASSERT_NE(call, nullptr) << text;
            EXPECT_EQ(call->rect, g->CellRect(c, r).Offset(50, -50)) << text;
            EXPECT_EQ(call->flags & 3u, c == 1 ? DrawTextFlag::kRight : DrawTextFlag::kLeft) << text;
        }
    EXPECT_TRUE(dc.fills.empty()) << "nothing selected, nothing grey";
}

TEST(GridDrawing, DesignTitlesSitAboveTheRectangleClippedToTheirColumn)
{
    auto g = DesignedGrid();
    g->m_columns[2].title = "Importe";
    RecordingDc dc;
    g->DrawDesign(dc);
    const auto* title = FindText(dc, "Importe");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 100 + 800 + 50);
    EXPECT_EQ(title->y, -200 - 50) << "the text's lower edge on the rectangle's top";
    EXPECT_EQ(title->align, TextAlign::kLeft | TextAlign::kBottom);
    EXPECT_TRUE(title->clipped);
    EXPECT_EQ(title->clip.Normalized(), (Rect{950, -250, 1350, -210}));
    // Inner lines: three column borders and five row borders; the outline around them.
    EXPECT_EQ(dc.lines.size(), 3u + 5u);
    ASSERT_EQ(dc.outlines.size(), 1u);
    EXPECT_EQ(dc.outlines[0].rect, (Rect{150, -250, 1750, -520}).Normalized());
}

TEST(GridDrawing, TheSelectedColumnAndRowAreGreyWithWhiteText)
{
    auto g = DesignedGrid();
    g->m_selected = 1;
    g->m_selColumn = 1;
    g->m_selRow = 4;
    g->m_textColor = Rgb(0, 0, 128);
    RecordingDc dc;
    g->DrawDesign(dc);
    EXPECT_EQ(dc.fills.size(), 6u + 4u - 1u);
    for (const auto& fill : dc.fills)
        EXPECT_EQ(fill.color, Rgb(164, 164, 164));
    EXPECT_EQ(FindText(dc, "C-2,F-1")->color, Rgb(255, 255, 255));
    EXPECT_EQ(FindText(dc, "C-3,F-5")->color, Rgb(255, 255, 255));
    EXPECT_EQ(FindText(dc, "C-3,F-4")->color, Rgb(0, 0, 128));
    EXPECT_EQ(dc.outlines[0].penColor, kSelectionRed);
    EXPECT_EQ(dc.outlines.size(), 1u + 4u) << "outline and four handles";
}

TEST(GridDrawing, DesignDrawingPlacesTheScreenControlAndMeasuresColumns)
{
    auto g = DesignedGrid();
    g->m_columns[3].width = 254;
    RecordingDc dc(MapMode::LoMetric, 96);
    g->DrawDesign(dc);
    EXPECT_EQ(g->m_columns[0].screenWidth, 151);  // 40 mm at 96 dpi
    EXPECT_EQ(g->m_columns[3].screenWidth, 96);
    // The page corners in pixels, then 20 pixels more room left and above.
    EXPECT_EQ(g->m_rcScreen, (Rect{38 - 20, 76 - 20, 643, 178}));

    g->m_screenPlaced = 1;
    g->m_rcScreen = {1, 2, 3, 4};
    g->DrawDesign(dc);
    EXPECT_EQ(g->m_rcScreen, (Rect{1, 2, 3, 4})) << "a placed control stays";
}

TEST(GridDrawing, ScreenPictureHasAHeaderCellPerColumnCutAtTheRightEdge)
{
    auto g = DesignedGrid();
    for (GridColumn& c : g->m_columns)
        c.screenWidth = 100;
    g->m_rcScreen = {10, 50, 300, 140};  // room for the header and three rows
    LogFont screenFont;
    screenFont.height = 14;
    g->m_screenFont = &screenFont;
    RecordingDc dc(MapMode::Pixels);
    g->DrawScreen(dc, true);
    const auto* first = FindText(dc, "Columna 1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 30 + 50);
    EXPECT_EQ(first->align, TextAlign::kCenter);
    const auto* third = FindText(dc, "Columna 3");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->clip, (Rect{230, 50, 300, 70})) << "cut at the rectangle's right edge";
    EXPECT_EQ(FindText(dc, "Columna 4"), nullptr);
    EXPECT_NE(FindText(dc, "Tabla:"), nullptr) << "caption";
    EXPECT_NE(FindText(dc, " 0 "), nullptr) << "order badge";
    // Row lines every 20 pixels under the header while they fit: 70..90, 90..110, 110..130.
    int rowLines = 0;
    for (const auto& line : dc.lines)
        if (line.from.x == 30 && line.to.x == 300)
            ++rowLines;
    EXPECT_EQ(rowLines, 3);
}

TEST(GridDrawing, PrintShowsOnlyFilledCellsInTheirCellsWithTheColumnsAlignment)
{
    HeadlessParent parent;
    auto g = DesignedGrid();
    g->m_columns[1].type = kGridNumber;
    g->m_columns[1].align = 2;
    g->m_columns[2].align = 1;
    RecordingDc screen;
    ASSERT_EQ(g->CreateEntryControl(screen, parent.factory, 1180, LogFont{}), 1);
    CGridCapture* capture = g->Capture();
    capture->TypeCell(1, 1, "Tornillo");
    capture->TypeCell(1, 2, "12");
    capture->TypeCell(3, 3, "centro");
    capture->TypeCell(2, 2, "0");  // a zero number is not filled

    RecordingDc dc;
    g->Print(dc);
    ASSERT_EQ(dc.drawTexts.size(), 3u);
    struct Expected {
        const char* text;
        int column, row;
        unsigned align;
    };
    const Expected expected[] = {{"Tornillo", 0, 0, 0}, {"12", 1, 0, 2}, {"centro", 2, 2, 1}};
    for (const Expected& e : expected) {
        const auto* call = FindDrawText(dc, e.text);
        ASSERT_NE(call, nullptr) << e.text;
        // The unshifted page cell, its text 0.5 mm from the column's borders.
        const Rect cell = g->CellRect(e.column, e.row);
        const GridColumn& column = g->m_columns[size_t(e.column)];
        EXPECT_EQ(call->rect, (Rect{column.x + 5, cell.top, column.x + column.width - 5, cell.bottom})) << e.text;
        EXPECT_EQ(call->flags & 3u, e.align) << e.text;
    }
    EXPECT_TRUE(dc.lines.empty());
    EXPECT_TRUE(dc.outlines.empty());

    CFmtGrid designOnly;
    RecordingDc none;
    designOnly.Print(none);
    EXPECT_TRUE(none.drawTexts.empty()) << "nothing to print without capture";
}
