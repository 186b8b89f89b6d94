// Text in boxes and the check mark.
#include <gtest/gtest.h>

#include <vector>

#include "model/cuadros_var.h"
#include "model/kind_drawing.h"
#include "model/marca_var.h"
#include "base/recording_dc.h"

TEST(KindsBoxes, TheRectangleIsBuiltByTheStoredRuleFromCountGapAndWidth)
{
    struct Case {
        int count, gap, width;
        int expectedRight;
    };
    const Case cases[] = {
        {6, 10, 50, 100 + 6 * 59},  // 454
        {8, 10, 50, 100 + 472},
        {3, 10, 50, 100 + 177},
        {33, 10, 50, 100 + 1947},  // narrower than the boxes' span of 1970
    };
    for (const Case& c : cases) {
        CCuadrosVar e;
        e.m_rcPage = {100, 0, 0, -300};
        e.m_boxGap = c.gap;
        e.m_boxWidth = c.width;
        e.SetBoxCount(c.count);
        EXPECT_EQ(e.m_rcPage, (Rect{100, -250, c.expectedRight, -300})) << c.count << " boxes";
        EXPECT_FALSE(e.m_rcHandle[1].IsEmpty()) << "handles follow, " << c.count << " boxes";
    }
}

TEST(KindsBoxes, DraggingAHandleSpreadsTheGapSoTheBoxesFillTheWidth)
{
    CCuadrosVar e;
    e.m_rcPage = {0, 50, 472, 0};
    e.ResizeByHandle(kHandleRight, 540 - 472, 0);
    EXPECT_EQ(e.m_rcPage.right, 540);
    EXPECT_EQ(e.m_boxGap, 20);  // (540 - 400) / 7

    e.ResizeByHandle(kHandleLeft, 10, 0);
    EXPECT_EQ(e.m_boxGap, 18) << "(530 - 400) / 7, truncated";

    CCuadrosVar one;
    one.m_boxCount = 1;
    one.m_rcPage = {0, 50, 59, 0};
    one.ResizeByHandle(kHandleRight, 100, 0);
    EXPECT_EQ(one.m_rcPage.right, 159);
    EXPECT_EQ(one.m_boxGap, 10) << "a single box keeps its gap";
}

TEST(KindsBoxes, DesignViewDrawsEveryBoxAtItsPitchWithCyclingSamples)
{
    CCuadrosVar e;
    e.m_boxCount = 9;
    e.m_rcPage = {0, 50, 9 * 59, 0};
    RecordingDc dc;
    e.DrawDesign(dc);
    ASSERT_EQ(dc.outlines.size(), 9u);
    ASSERT_EQ(dc.texts.size(), 9u);
    const char* samples = "AIWO0123A";
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(dc.outlines[i].rect, (Rect{50 + i * 60, -50, 100 + i * 60, 0})) << "box " << i;
        EXPECT_EQ(dc.texts[i].text, std::string(1, samples[i])) << "box " << i;
        EXPECT_EQ(dc.texts[i].x, 75 + i * 60) << "box " << i;
        EXPECT_EQ(dc.texts[i].align, 14) << "box " << i;
        EXPECT_EQ(dc.texts[i].clip, (Rect{50, -50, 50 + 9 * 59, 0})) << "box " << i;
    }
}

TEST(KindsBoxes, DesignViewDrawsExactlyTheBoxesItsWindowShowsWhateverThePitch)
{
    // A window like the design view's over the page's corner, and rows of boxes that run
    // either way, stand still, or reach the ends of the coordinate range.
    class WindowDc : public RecordingDc {
    public:
        Rect ClipBox() const override { return {0, -794, 1058, 0}; }
    };
    const Rect window{0, -794, 1058, 0};
    struct Case {
        int count, width, gap, left;
    };
    const Case cases[] = {
        {1000, 50, 10, -5000},                  // from far left to far right of the window
        {1000, 50, -110, 20000},                // running leftward, into the window and past it
        {300, -50, 100, -2000},                 // boxes drawn leftward from their edge
        {40, 20, -20, 300},                     // all on one spot inside the window
        {40, 20, -20, 3000},                    // all on one spot outside it
        {1000, 2147483000, -2147482990, -900},  // wide boxes, each reaching far right
        {1000, 1, 2147483000, 0},               // the second box is held at the end of the range
        {1000, -2147483000, 2147482990, 5000},  // far-left-reaching boxes stepping leftward
    };
    for (const Case& c : cases) {
        CCuadrosVar e;
        e.m_boxCount = c.count;
        e.m_boxWidth = c.width;
        e.m_boxGap = c.gap;
        e.m_rcPage = {c.left, -100, c.left + 10, -150};
        WindowDc dc;
        e.DrawDesign(dc);
        std::vector<Rect> expected;
        const Rect rc = DesignRect(e.m_rcPage).Normalized();
        for (int i = 0; i < c.count; ++i) {
            const int left = Saturate32(int64_t(rc.left) + int64_t(i) * (int64_t(c.width) + c.gap));
            const Rect box{left, rc.top, Saturate32(int64_t(left) + c.width), rc.bottom};
            const Rect n = box.Normalized();
            if (n.left <= window.right && window.left <= n.right && n.top <= window.bottom && window.top <= n.bottom)
                expected.push_back(box);
        }
        std::vector<Rect> drawn;
        for (const auto& outline : dc.outlines)
            drawn.push_back(outline.rect);
        EXPECT_EQ(drawn, expected) << c.count << " boxes of " << c.width << " with gap " << c.gap;
        EXPECT_EQ(dc.texts.size(), expected.size()) << "one sample per box shown";
    }
}

TEST(KindsBoxes, PrintsOneCharacterCentredOnEachBoxSpacesIncluded)
{
    CCuadrosVar e;
    e.m_rcPage = {1000, -500, 1472, -550};
    MemoryEntryFactory factory;
    RecordingDc dc;
    ASSERT_EQ(e.CreateEntryControl(dc, factory, 1180, LogFont{}), 1);
    EXPECT_EQ(static_cast<MemoryTextEntry&>(*e.m_pControl).Params().maxLength, 8);
    e.m_pControl->SetText("AB C");
    e.Print(dc);
    ASSERT_EQ(dc.texts.size(), 4u);
    const char* expected[] = {"A", "B", " ", "C"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(dc.texts[k].text, expected[k]) << "box " << k;
        EXPECT_EQ(dc.texts[k].x, 1025 + 60 * k) << "box " << k;
        EXPECT_EQ(dc.texts[k].y, -550) << "box " << k;
        EXPECT_EQ(dc.texts[k].align, 14) << "box " << k;
        EXPECT_EQ(dc.texts[k].clip, (Rect{1000, -550, 1472, -500})) << "box " << k;
    }
    EXPECT_TRUE(dc.outlines.empty()) << "the boxes are on the paper already";
}

TEST(KindsBoxes, AValueLongerThanTheBoxesRunsOnAndIsClippedAtTheElement)
{
    CCuadrosVar e;
    e.m_boxCount = 3;
    e.m_rcPage = {0, 50, 177, 0};
    MemoryEntryFactory factory;
    RecordingDc dc;
    e.CreateEntryControl(dc, factory, 1180, LogFont{});
    e.m_pControl->SetText("ñ1234");  // as a captured-data file may hold it
    e.Print(dc);
    ASSERT_EQ(dc.texts.size(), 5u);
    EXPECT_EQ(dc.texts[0].text, "ñ") << "characters, not bytes";
    EXPECT_EQ(dc.texts[4].x, 4 * 60 + 25);
    EXPECT_EQ(dc.texts[4].clip.right, 177);
}

TEST(KindsCheckMark, TheSquareFollowsTheFontAndTheMarkPrintsOnlyWhenTicked)
{
    CMarcaVar e;
    e.m_rcPage = {300, -100, 345, -145};
    e.m_logFont.height = -27;
    e.FixFontHeight();
    EXPECT_EQ(e.m_rcPage, (Rect{300, -113, 332, -145}));

    RecordingDc dc;
    MemoryEntryFactory factory;
    e.Print(dc);
    EXPECT_TRUE(dc.texts.empty()) << "no control";
    ASSERT_EQ(e.CreateEntryControl(dc, factory, 1176, LogFont{}), 1);
    e.Print(dc);
    EXPECT_TRUE(dc.texts.empty()) << "not ticked";
    e.m_pControl->SetChecked(true);
    e.m_mark = "XX";
    e.Print(dc);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].text, "XX");
    EXPECT_EQ(dc.texts[0].x, 316) << "centred together on the square";
    EXPECT_EQ(dc.texts[0].y, -145);
    EXPECT_EQ(dc.texts[0].align, 14);
    EXPECT_EQ(dc.texts[0].clip, (Rect{300, -145, 332, -113}));
}

TEST(KindsCheckMark, PlacementIsAFifteenPixelSquareAndTheScreenShowsACross)
{
    CMarcaVar e;
    e.m_rcPage = {254, -254, 294, -294};
    RecordingDc page(MapMode::LoMetric, 96);
    e.DrawDesign(page);
    EXPECT_EQ(e.m_rcScreen, (Rect{96, 96, 111, 111}));

    RecordingDc dc(MapMode::Pixels);
    e.m_text = "Casado";
    e.DrawScreen(dc, false);
    ASSERT_EQ(dc.lines.size(), 2u);
    EXPECT_EQ(dc.lines[0].from, (Point{98, 98}));
    EXPECT_EQ(dc.lines[0].to, (Point{109, 109}));
    EXPECT_EQ(dc.lines[1].from, (Point{98, 109}));
    EXPECT_EQ(dc.lines[1].to, (Point{109, 98}));
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].text, "Casado:");
}
