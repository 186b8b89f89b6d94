#pragma once
// The design view's arithmetic, free of widgets: from the pointer to a page point, the
// snapping grid, the reference edges an element reports to the rulers, and the texts of
// the status bar's position pane.
#include <string>

#include "base/geometry.h"
#include "model/controles.h"

// Snapping steps in 0.1 mm.
inline constexpr int kSnapStepOff = 0;
inline constexpr int kSnapStepMm = 10;
inline constexpr int kSnapStepCm = 100;

// The page lies 5 mm right of and 5 mm below the scrollable area's corner.
inline constexpr int kPageMarginUnits = 50;

// A length in device pixels as page units (0.1 mm) at the given resolution.
int PixelsToUnits(int pixels, double dpi);
int UnitsToPixels(int units, double dpi);

// The page point under a pointer at client pixel (px, py) of a view scrolled by
// (scrollPxX, scrollPxY) pixels: the client position in 0.1 mm with y upward, plus the
// scroll position in the same units, less the 5 mm margin.
Point ClientToPage(int px, int py, int scrollPxX, int scrollPxY, double dpi);

// Both coordinates truncated toward zero to a multiple of `step`; unchanged when the
// step is 0. On the page (y <= 0) that moves a point up and to the left.
Point Snap(Point p, int step);

// The edges an element shows on the rulers and in the position text: its page
// rectangle, except that a line reports its middle across its run (a vertical line
// its centre x as left and right, a horizontal one its centre y as top and bottom).
struct ReferenceEdges {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};
ReferenceEdges EdgesOf(const CControles& element);

// "X=%.2f, Y=%.2f", "X=%.2f, Ancho=%.2f" and "Y=%.2f, Alto=%.2f": page quantities in
// centimetres with two decimals, signed.
std::string PositionXY(int x, int y);
std::string PositionXWidth(int x, int width);
std::string PositionYHeight(int y, int height);
