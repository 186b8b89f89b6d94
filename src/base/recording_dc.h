#pragma once
// A drawing surface that draws nothing and remembers every call with its arguments and
// the state it was made in, for tests of the elements' drawing rules. Text metrics are a
// deterministic approximation: every character is half the cell height wide (at least
// 1 unit) and a line is one cell high (a zero height reads as 40).
#include <string>
#include <string_view>
#include <vector>

#include "base/dc.h"

class RecordingDc : public Dc {
public:
    explicit RecordingDc(MapMode mode = MapMode::LoMetric, int dpi = 96) : m_firstMode(mode), m_dpi(dpi)
    {
        m_state.mode = mode;
    }

    // One piece of text put on the surface: a TextOut, or one line of a DrawText.
    struct TextCall {
        std::string text;
        int x = 0, y = 0;  // reference point as passed
        int align = 0;     // text-alignment flags in force
        bool clipped = false;
        Rect clip;         // as passed (any orientation)
        LogFont font;
        ColorRef color = 0;
        bool transparent = true;
        // The text's cell in logical units: left, upper edge, right, lower edge ("upper"
        // in the surface's own sense: the greater y when y runs upward).
        Rect cell;
    };
    struct LineCall {
        Point from, to;
        int penWidth = 0;
        ColorRef penColor = 0;
    };
    struct OutlineCall {
        Rect rect;
        int penWidth = 0;
        ColorRef penColor = 0;
    };
    struct FillCall {
        Rect rect;
        ColorRef color = 0;
    };
    // A picture drawn: where, and which one (its size and key, and the picture itself,
    // shared with the element that drew it).
    struct ImageCall {
        Rect rect;
        int width = 0, height = 0;
        uint64_t key = 0;
        DcImage image;
    };
    // One call that fills many fractional rectangles.
    struct FillsFCall {
        std::vector<RectF> rects;
        ColorRef color = 0;
    };
    struct DrawTextCall {
        std::string text;
        Rect rect;
        unsigned flags = 0;
        int align = 0;
        size_t firstLine = 0, lineCount = 0;  // the lines drawn, in `texts`
    };

    std::vector<TextCall> texts;
    std::vector<LineCall> lines;
    std::vector<OutlineCall> outlines;
    std::vector<DrawTextCall> drawTexts;
    std::vector<FillCall> fills;
    std::vector<FillsFCall> fillsF;
    std::vector<ImageCall> images;

    void Clear()
    {
        fillsF.clear();
        images.clear();
        texts.clear();
        lines.clear();
        outlines.clear();
        drawTexts.clear();
        fills.clear();
    }
    // Back to a new surface: the records emptied and the drawing state (mapping mode,
    // font, colours, alignment, pen, current point) as constructed. The records keep
    // their room, so a surface drawn on again and again stops allocating.
    void Reset()
    {
        Clear();
        m_state = State{};
        m_state.mode = m_firstMode;
    }

    // Whether calls are recorded (they are on a new surface). A surface that keeps no
    // record still reads, measures and lays out every text as it would, so every call
    // returns the same: for a caller that only drives the drawing code and never looks
    // at what was drawn (a fuzz target), which then costs no copy per call.
    void KeepRecords(bool keep) { m_keeping = keep; }

    static int CellHeight(const LogFont& font);
    static int CharWidth(const LogFont& font);
    int TextWidth(std::string_view text) const;

    // --- Dc ---------------------------------------------------------------------------
    void SetMapMode(MapMode mode) override { m_state.mode = mode; }
    MapMode GetMapMode() const override { return m_state.mode; }
    // The font is held within the drawing bounds, as every surface holds it.
    void SelectFont(const LogFont& font) override { m_state.font = DrawableFont(font); }
    const LogFont& SelectedFont() const { return m_state.font; }
    void SetTextColor(ColorRef color) override { m_state.textColor = color; }
    ColorRef GetTextColor() const override { return m_state.textColor; }
    void SetBkColor(ColorRef color) override { m_state.bkColor = color; }
    void SetBkTransparent(bool transparent) override { m_state.transparent = transparent; }
    bool IsBkTransparent() const override { return m_state.transparent; }
    void SetTextAlign(int flags) override { m_state.align = flags; }
    int GetTextAlign() const { return m_state.align; }
    void TextOut(int x, int y, const std::string& text) override;
    void TextOutClipped(int x, int y, const Rect& clip, const std::string& text) override;
    int DrawText(const std::string& text, Rect& rect, unsigned flags) override;
    void SelectPen(int width, ColorRef color) override
    {
        m_state.penWidth = width;
        m_state.penColor = color;
    }
    int GetPenWidth() const override { return m_state.penWidth; }
    ColorRef GetPenColor() const override { return m_state.penColor; }
    void MoveTo(int x, int y) override { m_state.current = {x, y}; }
    void LineTo(int x, int y) override;
    void Outline(const Rect& rect) override
    {
        if (m_keeping)
            outlines.push_back({rect, m_state.penWidth, m_state.penColor});
    }
    void FillRect(const Rect& rect, ColorRef color) override
    {
        if (m_keeping)
            fills.push_back({rect, color});
    }
    void FillRectsF(std::span<const RectF> rects, ColorRef color) override
    {
        if (m_keeping)
            fillsF.push_back({std::vector<RectF>(rects.begin(), rects.end()), color});
    }
    void DrawImage(const Rect& rect, const DcImage& image) override
    {
        if (m_keeping)
            images.push_back({rect, image.width, image.height, image.key, image});
    }
    Point LogicalToDevice(Point p) const override;
    Point DeviceToLogical(Point p) const override;

private:
    bool YUp() const { return m_state.mode != MapMode::Pixels; }
    // A text call at (x, y) for a text of the given width, in the state in force, added
    // to the record (built in its place: a surface may record thousands of texts).
    TextCall& AddText(int x, int y, int align, std::string_view text, int64_t width);

    // What the calls set; a new surface starts from these values.
    struct State {
        MapMode mode = MapMode::LoMetric;
        LogFont font;
        ColorRef textColor = 0;
        ColorRef bkColor = 0xFFFFFF;
        bool transparent = false;
        int align = 0;
        int penWidth = 1;
        ColorRef penColor = 0;
        Point current;
    };

    MapMode m_firstMode;
    int m_dpi;
    State m_state;
    bool m_keeping = true;
};
