#include <gtest/gtest.h>

#include "base/dc.h"
#include "base/geometry.h"

namespace {

constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;

}  // namespace

TEST(Geometry, MovingAndGrowingHoldAtTheEndsOfTheRangeInsteadOfWrapping)
{
    struct Case {
        const char* name;
        Rect got;
        Rect expected;
    };
    const Case cases[] = {
        {"ordinary offset", Rect{10, -10, 20, -30}.Offset(50, -50), {60, -60, 70, -80}},
        {"offset past the top of the range", Rect{kMax - 10, 0, kMax, 5}.Offset(50, 0), {kMax, 0, kMax, 5}},
        {"offset past the bottom of the range", Rect{kMin, kMin + 3, 0, 0}.Offset(-5, -50), {kMin, kMin, -5, -50}},
        {"page inflation moves top and bottom inward", Rect{0, -10, 100, -50}.Inflated(2, 2), {-2, -12, 102, -48}},
        {"inflation at the ends", Rect{kMin, kMin, kMax, kMax}.Inflated(2, 2), {kMin, kMin, kMax, kMax}},
        {"deflation at the ends", Rect{kMin, kMin, kMax, kMax}.Inflated(-2, -2), {kMin + 2, kMin + 2, kMax - 2, kMax - 2}},
        {"clamped to the drawing bounds", Rect{kMin, kMax, 30, -40}.ClampedTo(1000), {-1000, 1000, 30, -40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(Geometry, SizesAndMidpointsOfAnyRectangleAreMeasuredWithoutOverflow)
{
    EXPECT_EQ((Rect{kMin, kMin, kMax, kMax}.Width()), kMax);
    EXPECT_EQ((Rect{kMax, kMax, kMin, kMin}.Height()), kMin);
    EXPECT_EQ((Rect{10, 0, 40, 0}.Width()), 30);
    // Truncated toward zero, like the integer arithmetic of the design.
    EXPECT_EQ(Midpoint(0, 5), 2);
    EXPECT_EQ(Midpoint(0, -5), -2);
    EXPECT_EQ(Midpoint(kMin, kMax), -1);
    EXPECT_EQ(Midpoint(kMax - 1, kMax), kMax - 1);
    EXPECT_EQ(AddSaturated(kMax, kMax), kMax);
    EXPECT_EQ(AddSaturated(kMin, -1), kMin);
}

TEST(Geometry, IntersectionTakesBothRectanglesNormalised)
{
    EXPECT_TRUE((Rect{0, -10, 100, -50}.Intersects({50, 0, 60, -20})));
    EXPECT_FALSE((Rect{0, -10, 100, -50}.Intersects({100, -10, 200, -50})));  // edges touch
    EXPECT_FALSE((Rect{0, 0, 10, 10}.Intersects({20, 20, 30, 30})));
}

TEST(DrawingBounds, FontsAreHeldWithinTheBoundsAndOrdinaryFontsAreLeftAlone)
{
    struct Case {
        const char* name;
        int32_t height, width;
        int32_t drawnHeight, drawnWidth;
    };
    const Case cases[] = {
        {"shipped font", 35, 0, 35, 0},
        {"negative character height kept", -27, 12, -27, 12},
        {"3.3 m high, 10 m wide", 32767, 100000, kMaxDrawnFontUnits, kMaxDrawnFontUnits},
        {"most negative height", kMin, kMin, -kMaxDrawnFontUnits, -kMaxDrawnFontUnits},
        {"thin font stretched beyond ten times", 10, 5000, 10, 100},
        {"default height stretched", 0, 5000, 0, 400},
    };
    for (const Case& c : cases) {
        LogFont font;
        font.height = c.height;
        font.width = c.width;
        font.escapement = 450;
        const LogFont drawn = DrawableFont(font);
        EXPECT_EQ(drawn.height, c.drawnHeight) << c.name;
        EXPECT_EQ(drawn.width, c.drawnWidth) << c.name;
        EXPECT_EQ(drawn.escapement, 450) << c.name;
    }
}
