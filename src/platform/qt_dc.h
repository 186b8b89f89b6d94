#pragma once
// The drawing surface over a QPainter: a widget, a QImage, a QPrinter or a PDF.
//
// Logical units follow the mapping mode: pixels of the painter's base coordinates (y
// down), or 0.1 mm / 0.01 mm with y up at the given resolution. The base is the
// painter's transform when the surface is made (a scroll offset, the sheet's corner), and
// device coordinates for LogicalToDevice are measured from that base origin.
//
// Fonts are built from the font record with the height read as the character cell
// (ascent + descent) in logical units. Text is laid at ten times its size under a 0.1
// scale, since Qt sizes fonts in whole pixels and a cell of 35 units must not become 34.
//
// A font built from a record, and the advance of every text measured in it, is kept for
// the surfaces drawn after this one on the same thread (a view repaints the same texts in
// the same fonts many times a second, and shaping a text to measure it costs as much as
// drawing it). The kept fonts are let go when the application ends.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/dc.h"

class QtDc : public Dc {
public:
    // `dpi`: device pixels per inch of the painter's base coordinates (the widget's
    // logical DPI, the printer's resolution, the image's chosen resolution).
    QtDc(QPainter& painter, double dpi);
    ~QtDc() override;
    QtDc(const QtDc&) = delete;
    QtDc& operator=(const QtDc&) = delete;

    void SetMapMode(MapMode mode) override;
    MapMode GetMapMode() const override { return m_mode; }
    void SelectFont(const LogFont& font) override;
    void SetTextColor(ColorRef color) override { m_textColor = color; }
    ColorRef GetTextColor() const override { return m_textColor; }
    void SetBkColor(ColorRef color) override { m_bkColor = color; }
    void SetBkTransparent(bool transparent) override { m_transparent = transparent; }
    bool IsBkTransparent() const override { return m_transparent; }
    void SetTextAlign(int flags) override { m_align = flags; }
    void TextOut(int x, int y, const std::string& text) override;
    void TextOutClipped(int x, int y, const Rect& clip, const std::string& text) override;
    int DrawText(const std::string& text, Rect& rect, unsigned flags) override;
    void SelectPen(int width, ColorRef color) override;
    int GetPenWidth() const override { return m_penWidth; }
    ColorRef GetPenColor() const override { return m_penColor; }
    void MoveTo(int x, int y) override { m_current = {x, y}; }
    void LineTo(int x, int y) override;
    void Outline(const Rect& rect) override;
    void FillRect(const Rect& rect, ColorRef color) override;
    void FillRectsF(std::span<const RectF> rects, ColorRef color) override;
    void DrawImage(const Rect& rect, const DcImage& image) override;
    Point LogicalToDevice(Point p) const override;
    Point DeviceToLogical(Point p) const override;
    Rect ClipBox() const override;

    // Width and cell height of a text in the selected font, in logical units.
    double TextWidth(const QString& text);
    double CellHeight();

    static QColor ToQColor(ColorRef color);

private:
    // A text as drawn: converted for Qt, and its advance in the font's own units (before
    // the record's stretch).
    struct MeasuredText {
        QString text;
        double advance = 0;
    };
    struct FontState {
        LogFont record;
        double unitsPerLogical = 10;  // the font is laid at this many units per logical unit
        QFont font;
        QFontMetricsF metrics{QFont()};
        double stretch = 1.0;  // horizontal scale from the record's average width
        // Looked up by the text as given, without copying it into a key first.
        struct TextHash {
            using is_transparent = void;
            size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
        };
        std::unordered_map<std::string, MeasuredText, TextHash, std::equal_to<>> measured;
    };
    static std::shared_ptr<FontState> BuildFont(const LogFont& record);
    FontState& Font();
    // The text converted and measured in the selected font.
    MeasuredText Measure(std::string_view utf8);
    bool YUp() const { return m_mode != MapMode::Pixels; }
    double Scale() const;  // device pixels per logical unit
    // Draws one line with its reference point at (x, y) by the given alignment flags.
    // True when the line drawn at (x, y) with `align` lies wholly inside `clip`: clipping
    // it would cut nothing, and each clip costs a PDF or a printer a change of state.
    // Where a line of `advance` starts and where its baseline lies, in the text's own
    // coordinates (y down from the reference point), for the alignment flags.
    static QPointF LineStart(const FontState& f, int align, double advance);
    bool LineInside(double x, double y, int align, const MeasuredText& line, const Rect& clip);
    void DrawLine(double x, double y, int align, const MeasuredText& line);
    void ApplyPen();

    QPainter& m_painter;
    double m_dpi;
    QTransform m_base;
    QTransform m_mapping;
    QTransform m_toDevice;  // m_mapping * m_base
    MapMode m_mode = MapMode::Pixels;
    LogFont m_fontRecord;
    std::shared_ptr<FontState> m_font;
    QPen m_linePen;  // the selected pen as the painter takes it
    ColorRef m_textColor = 0;
    ColorRef m_bkColor = 0xFFFFFF;
    bool m_transparent = false;
    int m_align = 0;
    int m_penWidth = 1;
    ColorRef m_penColor = 0;
    Point m_current;
};
