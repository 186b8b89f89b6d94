// Lines and rectangles.
#include <gtest/gtest.h>

#include "model/linea.h"
#include "model/rectangulo.h"
#include "base/recording_dc.h"

TEST(KindsLine, TurningALineAboutKeepsItsLengthAndComesBack)
{
    CLinea line;
    line.m_rcPage = {0, 20, 400, -20};
    line.UpdateHandles();
    line.MakeVertical();
    EXPECT_EQ(line.m_rcPage, (Rect{-20, 0, 20, -400}));
    EXPECT_EQ(line.m_horizontal, 0);
    EXPECT_TRUE(line.m_rcHandle[0].IsEmpty());
    EXPECT_FALSE(line.m_rcHandle[2].IsEmpty());
    line.MakeVertical();
    EXPECT_EQ(line.m_rcPage, (Rect{-20, 0, 20, -400})) << "already vertical";
    line.MakeHorizontal();
    EXPECT_EQ(line.m_rcPage, (Rect{0, 20, 400, -20}));
    EXPECT_EQ(line.m_horizontal, 1);
    EXPECT_TRUE(line.m_rcHandle[2].IsEmpty());
}

TEST(KindsLine, ALineCannotBeShortenedToFourMillimetres)
{
    CLinea line;
    line.m_rcPage = {0, 20, 400, -20};
    line.ResizeByHandle(kHandleRight, -370, 0);
    EXPECT_EQ(line.m_rcPage.right, 400);
    EXPECT_EQ(line.HitHandle(0, 0 + 20 - 20), kHandleLeft) << "the left handle sits at the middle of the left edge";
}

TEST(KindsLine, DrawsThroughTheMiddleOfItsBandWithATwoTenthsPen)
{
    struct Case {
        const char* name;
        int horizontal;
        Rect page;
        bool design;
        Point from, to;
    };
    const Case cases[] = {
        {"horizontal printed", 1, {100, -80, 500, -120}, false, {100, -100}, {500, -100}},
        {"horizontal designed", 1, {100, -80, 500, -120}, true, {150, -150}, {550, -150}},
        {"vertical printed", 0, {80, -100, 120, -500}, false, {100, -500}, {100, -100}},
        {"vertical designed", 0, {80, -100, 120, -500}, true, {150, -550}, {150, -150}},
    };
    for (const Case& c : cases) {
        CLinea line;
        line.m_horizontal = c.horizontal;
        line.m_rcPage = c.page;
        line.m_textColor = Rgb(0, 128, 0);
        RecordingDc dc;
        if (c.design)
            line.DrawDesign(dc);
        else
            line.Print(dc);
        ASSERT_EQ(dc.lines.size(), 1u) << c.name;
        EXPECT_EQ(dc.lines[0].from, c.from) << c.name;
        EXPECT_EQ(dc.lines[0].to, c.to) << c.name;
        EXPECT_EQ(dc.lines[0].penWidth, 2) << c.name;
        EXPECT_EQ(dc.lines[0].penColor, Rgb(0, 128, 0)) << c.name;
        EXPECT_EQ(dc.GetPenWidth(), 1) << "pen restored, " << c.name;
    }
}

TEST(KindsRectangle, PrintsAnUnfilledFrameInItsColourEvenWhite)
{
    CRectangulo r;
    r.m_rcPage = {100, -100, 700, -700};
    r.m_textColor = Rgb(255, 255, 255);
    RecordingDc dc;
    r.Print(dc);
    ASSERT_EQ(dc.lines.size(), 4u);
    const Point corners[] = {{100, -700}, {700, -700}, {700, -100}, {100, -100}, {100, -700}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dc.lines[i].from, corners[i]) << "segment " << i;
        EXPECT_EQ(dc.lines[i].to, corners[i + 1]) << "segment " << i;
        EXPECT_EQ(dc.lines[i].penWidth, 2);
        EXPECT_EQ(dc.lines[i].penColor, Rgb(255, 255, 255));
    }
    EXPECT_TRUE(dc.outlines.empty());
}

TEST(KindsRectangle, SelectedInTheDesignViewItIsRedWithFourHandles)
{
    CRectangulo r;
    r.m_rcPage = {0, 0, 600, -600};
    r.UpdateHandles();
    r.m_selected = 1;
    RecordingDc dc;
    r.DrawDesign(dc);
    EXPECT_EQ(dc.outlines.size(), 4u);
    ASSERT_EQ(dc.lines.size(), 4u);
    EXPECT_EQ(dc.lines[0].penColor, kSelectionRed);
    EXPECT_EQ(dc.lines[0].from, (Point{50, -650}));
}
