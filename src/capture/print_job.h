#pragma once
// The print job of the capture screen: every element prints itself from the head of the
// list onto one sheet, in 0.1 mm with y up, page point (0, 0) on the sheet's top-left
// corner moved by the user's print offsets. The sheet itself (a printer, a PDF) is the
// caller's: it hands over a surface whose device origin is the sheet's corner.
#include <string>

#include "base/dc.h"
#include "base/settings_store.h"
#include "model/format_file.h"

// The print offsets, in 0.1 mm: a positive x moves the printout right, a positive y down.
struct PrintOffsets {
    int facX = 0;
    int facY = 0;
};

// "FacX" and "FacY" of the settings store, 0 when absent.
PrintOffsets ReadPrintOffsets(const SettingsStore& settings);
void WritePrintOffsets(SettingsStore& settings, PrintOffsets offsets);

// An offset typed in centimetres as the store keeps it: × 100 truncated toward zero
// (0.29 cm gives 28, since 0.29 × 100 is a little under 29 in binary).
int OffsetUnitsFromCentimetres(double centimetres);

// Prints the elements on `sheet` (whose device origin is the sheet's corner): mapping
// 0.1 mm y up, transparent text background, page (0, 0) moved by the offsets, then every
// element's Print from the head of the list (reverse file order). The surface's state is
// its own afterwards: the caller ends the page.
void PrintElements(const ElementList& elements, Dc& sheet, PrintOffsets offsets);

// Moves the offsets into a format for good: every page rectangle moves by facX right and
// facY down (screen rectangles stay), the format file at `path` is rewritten as it is
// (capture orders unchanged) through a temporary file. False with a message when the
// file cannot be written; the elements stay moved either way. The caller then stores
// offsets of 0, after a successful write only.
bool ApplyOffsetsToFormat(Format& format, const std::string& path, PrintOffsets offsets, std::string& message);

// A surface that passes everything to another one with page coordinates shifted by
// (dx, dy) logical units: what is drawn at page (0, 0) lands at (dx, dy) of the target.
class OffsetDc : public Dc {
public:
    OffsetDc(Dc& target, int dx, int dy) : m_target(target), m_dx(dx), m_dy(dy) {}

    void SetMapMode(MapMode mode) override { m_target.SetMapMode(mode); }
    MapMode GetMapMode() const override { return m_target.GetMapMode(); }
    void SelectFont(const LogFont& font) override { m_target.SelectFont(font); }
    void SetTextColor(ColorRef color) override { m_target.SetTextColor(color); }
    ColorRef GetTextColor() const override { return m_target.GetTextColor(); }
    void SetBkColor(ColorRef color) override { m_target.SetBkColor(color); }
    void SetBkTransparent(bool transparent) override { m_target.SetBkTransparent(transparent); }
    bool IsBkTransparent() const override { return m_target.IsBkTransparent(); }
    void SetTextAlign(int flags) override { m_target.SetTextAlign(flags); }
    void TextOut(int x, int y, const std::string& text) override;
    void TextOutClipped(int x, int y, const Rect& clip, const std::string& text) override;
    int DrawText(const std::string& text, Rect& rect, unsigned flags) override;
    void SelectPen(int width, ColorRef color) override { m_target.SelectPen(width, color); }
    int GetPenWidth() const override { return m_target.GetPenWidth(); }
    ColorRef GetPenColor() const override { return m_target.GetPenColor(); }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Outline(const Rect& rect) override;
    void FillRect(const Rect& rect, ColorRef color) override;
    void FillRectsF(std::span<const RectF> rects, ColorRef color) override;
    void DrawImage(const Rect& rect, const DcImage& image) override;
    Point LogicalToDevice(Point p) const override;
    Point DeviceToLogical(Point p) const override;

private:
    Rect Shifted(const Rect& rc) const;

    Dc& m_target;
    int m_dx;
    int m_dy;
};
