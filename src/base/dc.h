#pragma once
// The drawing surface every element draws on, whatever the target: the design view, the
// screen layout, a PNG, the printer, a PDF. One drawing path serves them all, so a
// position is computed in one place and what the designer shows is what prints.
//
// Coordinates are logical units of the current mapping mode: pixels (y down), 0.1 mm
// (y up) or 0.01 mm (y up). Fonts, pens and text behave as on the original platform's
// device context: the text-alignment flags place the reference point of TextOut, and
// DrawText lays text into a rectangle.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "base/log_font.h"

using ColorRef = uint32_t;  // 0x00BBGGRR

inline constexpr ColorRef Rgb(int r, int g, int b)
{
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}
inline constexpr ColorRef kSelectionRed = Rgb(255, 0, 0);

enum class MapMode { Pixels, LoMetric, HiMetric };

// Bounds of what is drawn, whatever a file holds (the file keeps its own values).
// Coordinates are held within kDrawLimit of the origin (100 m on the page, a million
// pixels on a screen): nothing further away lies on any paper or screen, and the
// arithmetic of drawing (margins, handles, text cells) never leaves the 32-bit range.
inline constexpr int32_t kDrawLimit = 1'000'000;
// A font cell is at most 10 cm (or 1000 pixels) high, and its average character width
// at most that and at most ten times its cell height: a glyph of any larger size is no
// text anyone reads, and laying it out costs time and memory without bound.
inline constexpr int32_t kMaxDrawnFontUnits = 1000;
inline constexpr int32_t kMaxFontStretch = 10;

inline Rect DrawableRect(const Rect& rc)
{
    return rc.ClampedTo(kDrawLimit);
}

// The font as surfaces build it: the height (its sign kept: positive a cell height,
// negative a character height) and the width held within the bounds above; a zero
// height reads as the default 40.
inline LogFont DrawableFont(const LogFont& font)
{
    LogFont drawn = font;
    drawn.height = std::clamp(font.height, -kMaxDrawnFontUnits, kMaxDrawnFontUnits);
    const int32_t cell = drawn.height == 0 ? 40 : (drawn.height < 0 ? -drawn.height : drawn.height);
    const int32_t maxWidth = std::min(kMaxDrawnFontUnits, cell * kMaxFontStretch);
    drawn.width = std::clamp(font.width, -maxWidth, maxWidth);
    return drawn;
}

// Text-alignment flags of TextOut: horizontal part (0 left, 2 right, 6 centre) plus 8 to
// put the reference point at the bottom of the character cell instead of its top.
namespace TextAlign {
inline constexpr int kLeft = 0;
inline constexpr int kRight = 2;
inline constexpr int kCenter = 6;
inline constexpr int kBottom = 8;
inline constexpr int kBaseline = 24;
}  // namespace TextAlign

// Flags of DrawText.
namespace DrawTextFlag {
inline constexpr unsigned kLeft = 0x0;
inline constexpr unsigned kCenter = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kNoClip = 0x100;
inline constexpr unsigned kCalcRect = 0x400;
}  // namespace DrawTextFlag

// A rectangle with fractional logical coordinates (a barcode's modules, which rarely fall
// on whole 0.1 mm units), any orientation.
struct RectF {
    double left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// Decoded pixels of a picture: 8-bit RGBA, rows from the top, no padding. `key` names the
// content (the same picture bytes give the same key), so a surface that keeps pictures
// (a PDF) stores one picture once however often it is drawn.
struct DcImage {
    int width = 0;
    int height = 0;
    std::shared_ptr<const std::vector<uint8_t>> rgba;
    uint64_t key = 0;
    bool opaque = true;  // every alpha byte is 255
    bool IsNull() const { return width <= 0 || height <= 0 || !rgba; }
};

class Dc {
public:
    virtual ~Dc() = default;

    virtual void SetMapMode(MapMode mode) = 0;
    virtual MapMode GetMapMode() const = 0;

    // A font built from the record, its height read in the current logical units.
    virtual void SelectFont(const LogFont& font) = 0;
    virtual void SetTextColor(ColorRef color) = 0;
    virtual ColorRef GetTextColor() const = 0;
    virtual void SetBkColor(ColorRef color) = 0;
    // Transparent (true) or opaque (false) text background.
    virtual void SetBkTransparent(bool transparent) = 0;
    virtual bool IsBkTransparent() const = 0;
    virtual void SetTextAlign(int flags) = 0;

    // Text at a reference point placed by the text-alignment flags.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // The same, clipped to a rectangle (logical units, any orientation).
    virtual void TextOutClipped(int x, int y, const Rect& clip, const std::string& text) = 0;
    // Text laid into a rectangle with DrawText flags. With kCalcRect nothing is drawn and
    // `rect` receives the text's extent (right = left + width; the lower edge moved by
    // the height in the mapping's down direction). Returns the text height.
    virtual int DrawText(const std::string& text, Rect& rect, unsigned flags) = 0;

    // A solid pen of the given width in logical units (0 or 1 draws one device pixel).
    virtual void SelectPen(int width, ColorRef color) = 0;
    virtual int GetPenWidth() const = 0;
    virtual ColorRef GetPenColor() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // The outline of a rectangle in the current pen, not filled.
    virtual void Outline(const Rect& rect) = 0;
    // Fills a rectangle (any orientation) with a solid colour, without an outline; the
    // pen is not used and not changed.
    virtual void FillRect(const Rect& rect, ColorRef color) = 0;
    // Fills many rectangles with fractional coordinates in one colour, as one shape where
    // the surface can (a vector barcode: exact at any resolution and one fill in a PDF).
    // A surface without fractional units fills each one rounded to whole units.
    virtual void FillRectsF(std::span<const RectF> rects, ColorRef color);
    // Draws a picture stretched over a rectangle (any orientation), its first row at the
    // rectangle's upper edge, at the picture's full resolution. A surface that cannot show
    // pictures draws nothing.
    virtual void DrawImage(const Rect& rect, const DcImage& image)
    {
        (void)rect;
        (void)image;
    }

    virtual Point LogicalToDevice(Point p) const = 0;
    virtual Point DeviceToLogical(Point p) const = 0;

    // The part of the surface that drawing can reach, in logical units (normalised): the
    // clipping region's bounds, or the whole surface. Drawing may leave out what lies
    // outside it. A surface that does not know says everything within the drawing bounds.
    virtual Rect ClipBox() const { return {-kDrawLimit, -kDrawLimit, kDrawLimit, kDrawLimit}; }
};

// Selects a pen for the length of a scope and puts the previous one back, so that what
// one element draws never changes the pen the next element starts with.
class PenScope {
public:
    PenScope(Dc& dc, int width, ColorRef color) : m_dc(dc), m_width(dc.GetPenWidth()), m_color(dc.GetPenColor())
    {
        dc.SelectPen(width, color);
    }
    // Keeps the current pen; the scope still restores it at its end.
    explicit PenScope(Dc& dc) : m_dc(dc), m_width(dc.GetPenWidth()), m_color(dc.GetPenColor()) {}
    ~PenScope() { m_dc.SelectPen(m_width, m_color); }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    Dc& m_dc;
    int m_width;
    ColorRef m_color;
};
