// The rulers and their corner, looked at the way a user sees them: each ruler is grabbed
// into an image and its pixels are read.
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

#include "design/ruler_corner_view.h"
#include "design/rules.h"

namespace {

class RulesTest : public ::testing::Test {
protected:
    QWidget window;
    CRules* horizontal = nullptr;
    CRules* vertical = nullptr;

    void SetUp() override
    {
        horizontal = new CRules(&window);
        vertical = new CRules(&window);
        vertical->SetOrientation(CRules::kVertical);
        for (CRules* r : {horizontal, vertical}) {
            r->SetPageSize(4000, 4000);
            r->SetScale(1);
        }
        horizontal->setGeometry(16, 0, 600, 16);
        vertical->setGeometry(0, 16, 16, 400);
        window.resize(616, 416);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static QImage Grab(CRules* r) { return r->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The colour the marker takes over the ruler's background (cyan combined by
    // exclusive-or) or over a graduation line.
    static bool IsMarker(QRgb p, QRgb background, QRgb ink)
    {
        const QRgb cyan = qRgb(0, 255, 255);
        return (p & 0xFFFFFF) == ((background ^ cyan) & 0xFFFFFF) || (p & 0xFFFFFF) == ((ink ^ cyan) & 0xFFFFFF);
    }

    // The pixel columns (horizontal ruler) or rows (vertical ruler) holding marker pixels.
    std::set<int> MarkerLines(CRules* r) const
    {
        const QImage img = Grab(r);
        const QRgb background = r->palette().color(QPalette::Base).rgb();
        const QRgb ink = r->palette().color(QPalette::Text).rgb();
        std::set<int> lines;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (IsMarker(img.pixel(x, y), background, ink))
                    lines.insert(r->Orientation() == CRules::kHorizontal ? x : y);
        return lines;
    }

    // Columns of the horizontal ruler dark from top to bottom: the centimetre lines (the
    // millimetre ticks leave the top 3 mm free).
    std::set<int> CentimetreColumns(CRules* r) const
    {
        const QImage img = Grab(r);
        const QRgb background = r->palette().color(QPalette::Base).rgb();
        std::set<int> columns;
        for (int x = 0; x < img.width(); ++x) {
            bool full = true;
            for (int y = 0; y < img.height() && full; ++y)
                full = img.pixel(x, y) != background;
            if (full)
                columns.insert(x);
        }
        return columns;
    }

    int PixelOfPageX(int pageX, int scrollX = 0) const
    {
        return int(std::floor(horizontal->RulerUnitsToPixels(10.0 * (pageX - scrollX + 50))));
    }
};

TEST_F(RulesTest, TwoPointerReportsLeaveExactlyOneMarkerLineAtTheSecondPlace)
{
    EXPECT_TRUE(MarkerLines(horizontal).empty());
    horizontal->UpdateRuler(CRules::kCodePointerX, 100);
    horizontal->UpdateRuler(CRules::kCodePointerX, 300);
    const std::set<int> lines = MarkerLines(horizontal);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(*lines.begin(), PixelOfPageX(300), 1);
    EXPECT_EQ(horizontal->MarkerPos(), 3500);

    // The same value twice still leaves one line.
    horizontal->UpdateRuler(CRules::kCodePointerX, 300);
    EXPECT_EQ(MarkerLines(horizontal), lines);
}

TEST_F(RulesTest, MarkerStopsBeyondThePageAndFollowsIntoTheMargin)
{
    horizontal->UpdateRuler(CRules::kCodePointerX, 1000);
    const std::set<int> at1000 = MarkerLines(horizontal);
    horizontal->UpdateRuler(CRules::kCodePointerX, 4001);
    EXPECT_EQ(MarkerLines(horizontal), at1000) << "past 40 cm the earlier marker stays";
    horizontal->UpdateRuler(CRules::kCodePointerX, -30);
    const std::set<int> margin = MarkerLines(horizontal);
    ASSERT_EQ(margin.size(), 1u);
    EXPECT_NEAR(*margin.begin(), PixelOfPageX(-30), 1);

    vertical->UpdateRuler(CRules::kCodePointerY, -4001);
    EXPECT_TRUE(MarkerLines(vertical).empty());
    vertical->UpdateRuler(CRules::kCodePointerY, -300);
    vertical->UpdateRuler(CRules::kCodePointerY, -500);
    const std::set<int> rows = MarkerLines(vertical);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NEAR(*rows.begin(), std::floor(vertical->RulerUnitsToPixels(10.0 * (-500 - 50))), 1);
}

TEST_F(RulesTest, ScrollingTwoCentimetresPutsLabelTwoWhereLabelZeroStoodAndRemovesTheMarker)
{
    const std::set<int> before = CentimetreColumns(horizontal);
    ASSERT_FALSE(before.empty());
    EXPECT_NEAR(*before.begin(), PixelOfPageX(0), 1) << "graduation 0 stands 5 mm from the ruler's start";
    horizontal->UpdateRuler(CRules::kCodePointerX, 700);
    horizontal->UpdateRuler(CRules::kCodeScrollX, 200);
    EXPECT_TRUE(MarkerLines(horizontal).empty());
    EXPECT_TRUE(horizontal->MarkerHidden());
    EXPECT_EQ(horizontal->OffsetRulerUnits(), 2000);
    EXPECT_EQ(CentimetreColumns(horizontal), before);
    // The labels differ though: 2 stands where 0 stood.
    horizontal->UpdateRuler(CRules::kCodeScrollX, 0);
    const QImage zero = Grab(horizontal);
    horizontal->UpdateRuler(CRules::kCodeScrollX, 200);
    EXPECT_NE(Grab(horizontal), zero);
}

TEST_F(RulesTest, EachRulerIgnoresTheOtherAxis)
{
    horizontal->UpdateRuler(CRules::kCodePointerX, 500);
    const QImage before = Grab(horizontal);
    for (int code : {CRules::kCodeScrollY, CRules::kCodePointerY})
        horizontal->UpdateRuler(code, -700);
    EXPECT_EQ(Grab(horizontal), before);
    EXPECT_EQ(horizontal->MarkerPos(), 5500);

    const QImage vbefore = Grab(vertical);
    vertical->UpdateRuler(CRules::kCodeScrollX, 300);
    vertical->UpdateRuler(CRules::kCodePointerX, 300);
    EXPECT_EQ(Grab(vertical), vbefore);
}

TEST_F(RulesTest, VerticalLabelsRunDownBetweenTheirLineAndTheNextWithoutCrossingALine)
{
    // The millimetre ticks leave the first 3 mm of the ruler free: what is drawn there
    // apart from the centimetre lines is the labels.
    const QImage img = Grab(vertical);
    const QRgb background = vertical->palette().color(QPalette::Base).rgb();
    const int line0 = int(std::floor(vertical->RulerUnitsToPixels(-500)));
    const int line1 = int(std::floor(vertical->RulerUnitsToPixels(-1500)));
    const int mm = int(std::ceil(vertical->RulerUnitsToPixels(-100)));
    const auto inkIn = [&](int fromRow, int toRow) {
        int ink = 0;
        for (int y = std::max(0, fromRow); y <= toRow; ++y)
            for (int x = 0; x < 6; ++x)
                ink += y != line0 && y != line1 && img.pixel(x, y) != background;
        return ink;
    };
    EXPECT_GT(inkIn(line1 + 1, line1 + 4 * mm), 5) << "label 1 below its line";
    EXPECT_EQ(inkIn(line1 - 2 * mm, line1 - 1), 0) << "nothing just above line 1: no label crosses it";

    // Zoomed out to a quarter, the lines follow the zoom and the labels thin out.
    vertical->SetZoom(0.25);
    EXPECT_NEAR(vertical->RulerUnitsToPixels(-1000), 0.25 * (line1 - line0), 1);
}

TEST(RulerCornerTest, WritesItsUnitOnTheMenuColour)
{
    CRulerCornerView corner;
    corner.show();
    const QImage img = corner.grab().toImage();
    EXPECT_EQ(img.size(), QSize(16, 16));
    const QRgb background = corner.palette().color(QPalette::Window).rgb();
    int ink = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ink += img.pixel(x, y) != background;
    EXPECT_GT(ink, 10);
    EXPECT_EQ(img.pixel(0, 15), background);
}

}  // namespace
