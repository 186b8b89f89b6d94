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
    explicit RecordingDc(MapMode mode = MapMode::LoMetric, int dpi = 96) : m_mode(mode), m_dpi(dpi) {}

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

    static int CellHeight(const LogFont& font);
    static int CharWidth(const LogFont& font);
    int TextWidth(std::string_view text) const;

    // --- Dc ---------------------------------------------------------------------------
    void SetMapMode(MapMode mode) override { m_mode = mode; }
    MapMode GetMapMode() const override { return m_mode; }
    // The font is held within the drawing bounds, as every surface holds it.
    void SelectFont(const LogFont& font) override { m_font = DrawableFont(font); }
    const LogFont& SelectedFont() const { return m_font; }
    void SetTextColor(ColorRef color) override { m_textColor = color; }
    ColorRef GetTextColor() const override { return m_textColor; }
    void SetBkColor(ColorRef color) override { m_bkColor = color; }
    void SetBkTransparent(bool transparent) override { m_transparent = transparent; }
    bool IsBkTransparent() const override { return m_transparent; }
    void SetTextAlign(int flags) override { m_align = flags; }
    int GetTextAlign() const { return m_align; }
    void TextOut(int x, int y, const std::string& text) override;
    void TextOutClipped(int x, int y, const Rect& clip, const std::string& text) override;
    int DrawText(const std::string& text, Rect& rect, unsigned flags) override;
    void SelectPen(int width, ColorRef color) override
    {
        m_penWidth = width;
        m_penColor = color;
    }
    int GetPenWidth() const override { return m_penWidth; }
    ColorRef GetPenColor() const override { return m_penColor; }
    void MoveTo(int x, int y) override { m_current = {x, y}; }
    void LineTo(int x, int y) override;
    void Outline(const Rect& rect) override { outlines.push_back({rect, m_penWidth, m_penColor}); }
    void FillRect(const Rect& rect, ColorRef color) override { fills.push_back({rect, color}); }
    void FillRectsF(std::span<const RectF> rects, ColorRef color) override
    {
        fillsF.push_back({std::vector<RectF>(rects.begin(), rects.end()), color});
    }
    void DrawImage(const Rect& rect, const DcImage& image) override
    {
        images.push_back({rect, image.width, image.height, image.key, image});
    }
    Point LogicalToDevice(Point p) const override;
    Point DeviceToLogical(Point p) const override;

private:
    bool YUp() const { return m_mode != MapMode::Pixels; }
    TextCall MakeText(int x, int y, int align, const std::string& text) const;

    MapMode m_mode;
    int m_dpi;
    LogFont m_font;
    ColorRef m_textColor = 0;
    ColorRef m_bkColor = 0xFFFFFF;
    bool m_transparent = false;
    int m_align = 0;
    int m_penWidth = 1;
    ColorRef m_penColor = 0;
    Point m_current;
};
