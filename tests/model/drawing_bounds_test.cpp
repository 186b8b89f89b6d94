// What drawing lends and what it leaves out: the screen layout's loans are given back,
// and a table of any size draws only the cells the surface shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/recording_dc.h"
#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "model/kind_drawing.h"

namespace {

// A recording surface that shows only part of the page, as a scrolled view does.
class ShowingDc : public RecordingDc {
public:
    explicit ShowingDc(Rect shown) : m_shown(shown) {}
    Rect ClipBox() const override { return m_shown; }

private:
    Rect m_shown;
};

bool Drew(const RecordingDc& dc, const std::string& text)
{
    return std::any_of(dc.drawTexts.begin(), dc.drawTexts.end(), [&](const auto& t) { return t.text == text; });
}

}  // namespace

TEST(DrawingBounds, TheScreenLoanIsGivenBackWhateverModeTheElementWasIn)
{
    LogFont screenFont;
    screenFont.height = 14;
    for (int32_t before : {0, 1}) {
        auto e = CreateElementAt(kKindParrafoVar, 100, -100);
        e->m_rcScreen = {10, 10, 110, 60};
        e->m_layoutMode = before;
        e->UpdateHandles();
        const auto handles = e->m_rcHandle;
        {
            const ScreenDrawingLoan loan(*e, &screenFont, true);
            EXPECT_EQ(e->m_layoutMode, 1);
            EXPECT_EQ(e->m_screenFont, &screenFont);
            // Screen handles while lent: 8-pixel squares on the screen rectangle.
            EXPECT_EQ(e->m_rcHandle[0], (Rect{6, 31, 14, 39}));
            RecordingDc dc(MapMode::Pixels);
            e->DrawScreen(dc, true);
        }
        EXPECT_EQ(e->m_layoutMode, before);
        EXPECT_EQ(e->m_screenFont, nullptr);
        EXPECT_EQ(e->m_rcHandle, handles);
    }
}

TEST(DrawingBounds, ATableDrawsOnlyTheCellsShownAndNamesABoundedNumber)
{
    auto grid = CFmtGrid::CreateAt(0, 0);
    grid->SetColumnCount(200);
    grid->SetRowCount(2000);  // rows 45 units high: row r (1-based) spans y -45(r-1) .. -45r

    // A view scrolled to rows 1500 to 1510 (design view coordinates: 50 units lower).
    const int top = -45 * 1499 - 50;
    ShowingDc shown(Rect{0, top - 45 * 10, 4000, top}.Normalized());
    grid->DrawDesign(shown);
    EXPECT_TRUE(Drew(shown, "C-1,F-1500"));
    EXPECT_FALSE(Drew(shown, "C-1,F-1"));
    EXPECT_FALSE(Drew(shown, "C-1,F-1600"));
    EXPECT_LE(shown.drawTexts.size(), 11u * 11u);

    // The whole table at once: a bounded number of names, the first rows' first.
    RecordingDc whole;
    grid->DrawDesign(whole);
    EXPECT_TRUE(Drew(whole, "C-1,F-1"));
    EXPECT_FALSE(Drew(whole, "C-1,F-2000"));
    EXPECT_LE(whole.drawTexts.size(), 5000u);
}

TEST(DrawingBounds, ATableAcrossTheBoundsShowsExactlyTheCellsAndTitlesTheSurfaceCovers)
{
    // Columns and rows of all sizes (some negative) running across the drawing bounds,
    // seen through surfaces inside, at and beyond the bounds. What is shown is what the
    // edges, held within the bounds and moved by the margin, put on the surface.
    const Rect surfaces[] = {
        {0, -794, 1058, 0},
        {-kDrawLimit, -kDrawLimit, kDrawLimit, kDrawLimit},
        {-3 * kDrawLimit, -3 * kDrawLimit, 3 * kDrawLimit, 3 * kDrawLimit},
        {kDrawLimit + 40, -kDrawLimit - 60, kDrawLimit + 60, -kDrawLimit - 40},
        {-kDrawLimit + 40, kDrawLimit - 60, -kDrawLimit + 60, kDrawLimit - 40},
        // Edges exactly where the bounds fall once moved by the margin.
        {kDrawLimit + kDesignMarginX - 100, -kDrawLimit + kDesignMarginY, kDrawLimit + kDesignMarginX,
         -kDrawLimit + kDesignMarginY + 100},
        {-kDrawLimit + kDesignMarginX, kDrawLimit + kDesignMarginY - 100, -kDrawLimit + kDesignMarginX + 100,
         kDrawLimit + kDesignMarginY},
    };
    const int32_t sizes[] = {300, -200, 5, 1'500'000, 40, -2'000'000, 700};
    const auto held = [](int64_t v, int margin) { return int(std::clamp<int64_t>(v, -kDrawLimit, kDrawLimit)) + margin; };
    const auto spans = [](int a, int b, int low, int high) { return std::min(a, b) < high && low < std::max(a, b); };
    for (const Rect& surface : surfaces)
        for (const int32_t corner : {-1'000'100, 0, 999'900}) {
            auto grid = CFmtGrid::CreateAt(corner, -corner);
            grid->SetColumnCount(7);
            grid->SetRowCount(7);
            for (size_t i = 0; i < 7; ++i) {
                grid->m_columns[i].width = sizes[i];
                grid->m_rows[i].height = sizes[i];
            }
            grid->UpdateHandles();
            ShowingDc dc(surface);
            grid->DrawDesign(dc);

            std::vector<Rect> cells, expectedCells, titles, expectedTitles;
            for (const auto& t : dc.drawTexts)
                cells.push_back(t.rect);
            for (const auto& t : dc.texts)
                if (t.text.starts_with("Columna"))
                    titles.push_back(t.clip);
            const Rect rc = DesignRect(grid->m_rcPage);
            for (const GridRow& row : grid->m_rows)
                for (const GridColumn& column : grid->m_columns) {
                    const Rect cell{held(int64_t(column.x) + 2, kDesignMarginX), held(int64_t(row.y) - 2, kDesignMarginY),
                                    held(int64_t(column.x) + column.width - 2, kDesignMarginX),
                                    held(int64_t(row.y) - row.height + 2, kDesignMarginY)};
                    if (spans(cell.left, cell.right, surface.left, surface.right) &&
                        spans(cell.top, cell.bottom, surface.top, surface.bottom))
                        expectedCells.push_back(cell);
                }
            for (const GridColumn& column : grid->m_columns) {
                const Rect band{held(column.x, kDesignMarginX), rc.top + 40,
                                held(AddSaturated(column.x, column.width), kDesignMarginX), rc.top};
                if (band.Intersects(surface))
                    expectedTitles.push_back(band);
            }
            EXPECT_EQ(cells, expectedCells) << "corner " << corner << ", surface " << surface.left << ".." << surface.right;
            EXPECT_EQ(titles, expectedTitles) << "corner " << corner << ", surface " << surface.left << ".." << surface.right;
        }
}

TEST(DrawingBounds, AFontMetresHighIsDrawnAtTheBoundAndTheElementKeepsItsOwn)
{
    auto text = CreateElementAt(kKindConsText, 100, -100);
    LogFont font;
    font.height = 32767;
    font.width = 100000;
    font.escapement = 450;
    text->SetFont(font);
    RecordingDc dc;
    text->Print(dc);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].font.height, kMaxDrawnFontUnits);
    EXPECT_EQ(dc.texts[0].font.width, kMaxDrawnFontUnits);
    EXPECT_EQ(dc.texts[0].font.escapement, 450);
    EXPECT_EQ(text->GetFont(), font);
}
