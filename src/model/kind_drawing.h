#pragma once
// Drawing steps several element kinds share: the design view's margin shift, the first
// placement of an entry control from the page position, refitting a rectangle to its
// text, and the outlines and handles of the screen layout.
#include <array>

#include "model/controles.h"

// How the first placement on the capture screen sizes the control.
enum class ScreenPlacement {
    Line,      // the converted corners, then 20 pixels high
    Square,    // a 15 x 15 square at the converted top-left corner
    Corners,   // the two converted corners as they are
};

// The page rectangle as the design view draws it: 5 mm right and 5 mm down, held within
// the drawing bounds.
inline Rect DesignRect(const Rect& page)
{
    return DrawableRect(page).Offset(kDesignMarginX, kDesignMarginY);
}

// A cell height made positive; the one height with no positive counterpart reads as the
// largest.
inline int32_t PositiveHeight(int32_t height)
{
    return height == INT32_MIN ? INT32_MAX : (height < 0 ? -height : height);
}

// Lends an element what the screen layout drawing needs for the length of a scope: the
// layout mode (with the screen handles it implies) and the screen font. At the end of the
// scope the element gets back its own mode, font and handles, so that drawing it never
// changes it, whatever view drew it.
class ScreenDrawingLoan {
public:
    ScreenDrawingLoan(CControles& element, const LogFont* screenFont, bool layoutMode);
    ~ScreenDrawingLoan();
    ScreenDrawingLoan(const ScreenDrawingLoan&) = delete;
    ScreenDrawingLoan& operator=(const ScreenDrawingLoan&) = delete;

private:
    CControles& m_element;
    int32_t m_layoutMode;
    const LogFont* m_screenFont;
    std::array<Rect, 4> m_handles;
};

// Whether the screen layout designer keeps this kind's handles on its screen rectangle
// (the resizable controls: text line, paragraph, boxes, the table element and the
// barcode's line).
bool HasScreenHandles(int32_t kind);

// While the element has not been placed by the screen layout designer, its capture-screen
// rectangle follows its page position: the corners of m_rcPage in device units of the
// design view.
void PlaceOnScreenFromPage(CControles& element, Dc& dc, ScreenPlacement how);

// Measures m_text in the element's font (no word wrap, lines end at the stored line
// breaks) and makes m_rcPage exactly that size, keeping its left and top edges.
void RefitToText(CControles& element, Dc& dc);

// Outlines the handle rectangles that exist (an empty rectangle means no handle).
void OutlineHandles(Dc& dc, const std::array<Rect, 4>& handles);

// A variable element's outline in the design view: in the current pen, or in red with
// its handles when selected; the pen is restored afterwards.
void OutlineInDesign(const CControles& element, Dc& dc, const Rect& rc);

// The 8 x 8 pixel handle squares around a screen rectangle: left and right only, or all
// four (left, right, bottom, top).
std::array<Rect, 4> ScreenHandleSquares(const Rect& rcScreen, bool allFour);

// The x of a single-line value inside a (normalised) rectangle for the text-alignment
// code: 0.2 mm in from the left or right edge, or the integer midpoint for centring.
int AlignedTextX(const Rect& rc, int align);

// The draw-text flags of a paragraph's alignment code (0 left, 1 centre, 2 right); any
// other bit a file may carry is ignored, so a stored value can never switch drawing into
// measuring or turn clipping off.
inline unsigned ParagraphAlign(int32_t align)
{
    return static_cast<unsigned>(align) & (DrawTextFlag::kCenter | DrawTextFlag::kRight);
}

// The screen layout form of an entry control: outline (red when selected), the handles
// when selected, then the caption and, when asked, the order badge.
void DrawControlOnScreen(CControles& element, Dc& dc, bool showOrder, bool allFourHandles);
