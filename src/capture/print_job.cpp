#include "capture/print_job.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kFacX = "FacX";
constexpr const char* kFacY = "FacY";

}  // namespace

PrintOffsets ReadPrintOffsets(const SettingsStore& settings)
{
    return {settings.ReadInt(kFacX, 0), settings.ReadInt(kFacY, 0)};
}

void WritePrintOffsets(SettingsStore& settings, PrintOffsets offsets)
{
    settings.WriteInt(kFacX, offsets.facX);
    settings.WriteInt(kFacY, offsets.facY);
}

int OffsetUnitsFromCentimetres(double centimetres)
{
    const double units = std::trunc(centimetres * 100.0);
    if (!std::isfinite(units))
        return 0;
    // Beyond any sheet either way; held inside the integer the store keeps.
    constexpr double kLimit = 1e6;
    return int(std::clamp(units, -kLimit, kLimit));
}

void PrintElements(const ElementList& elements, Dc& sheet, PrintOffsets offsets)
{
    sheet.SetMapMode(MapMode::LoMetric);
    sheet.SetBkTransparent(true);
    // Page y runs upward: moving the printout down is a negative shift.
    OffsetDc page(sheet, offsets.facX, Saturate32(-int64_t(offsets.facY)));
    for (const auto& element : elements)
        element->Print(page);
}

bool ApplyOffsetsToFormat(Format& format, const std::string& path, PrintOffsets offsets, std::string& message)
{
    for (auto& element : format.elements) {
        element->m_rcPage = element->m_rcPage.Offset(offsets.facX, -int64_t(offsets.facY));
        element->UpdateHandles();
    }
    return SaveFormatFile(path, format, FormatWriter::Rewrite, message);
}

Rect OffsetDc::Shifted(const Rect& rc) const
{
    return rc.Offset(m_dx, m_dy);
}

void OffsetDc::TextOut(int x, int y, const std::string& text)
{
    m_target.TextOut(AddSaturated(x, m_dx), AddSaturated(y, m_dy), text);
}

void OffsetDc::TextOutClipped(int x, int y, const Rect& clip, const std::string& text)
{
    m_target.TextOutClipped(AddSaturated(x, m_dx), AddSaturated(y, m_dy), Shifted(clip), text);
}

int OffsetDc::DrawText(const std::string& text, Rect& rect, unsigned flags)
{
    Rect shifted = Shifted(rect);
    const int height = m_target.DrawText(text, shifted, flags);
    // A measured rectangle goes back in the caller's coordinates.
    rect = shifted.Offset(-int64_t(m_dx), -int64_t(m_dy));
    return height;
}

void OffsetDc::MoveTo(int x, int y)
{
    m_target.MoveTo(AddSaturated(x, m_dx), AddSaturated(y, m_dy));
}

void OffsetDc::LineTo(int x, int y)
{
    m_target.LineTo(AddSaturated(x, m_dx), AddSaturated(y, m_dy));
}

void OffsetDc::Outline(const Rect& rect)
{
    m_target.Outline(Shifted(rect));
}

void OffsetDc::FillRect(const Rect& rect, ColorRef color)
{
    m_target.FillRect(Shifted(rect), color);
}

void OffsetDc::FillRectsF(std::span<const RectF> rects, ColorRef color)
{
    std::vector<RectF> shifted(rects.begin(), rects.end());
    for (RectF& r : shifted) {
        r.left += m_dx;
        r.right += m_dx;
        r.top += m_dy;
        r.bottom += m_dy;
    }
    m_target.FillRectsF(shifted, color);
}

void OffsetDc::DrawImage(const Rect& rect, const DcImage& image)
{
    m_target.DrawImage(Shifted(rect), image);
}

Point OffsetDc::LogicalToDevice(Point p) const
{
    return m_target.LogicalToDevice({AddSaturated(p.x, m_dx), AddSaturated(p.y, m_dy)});
}

Point OffsetDc::DeviceToLogical(Point p) const
{
    const Point q = m_target.DeviceToLogical(p);
    return {AddSaturated(q.x, -int64_t(m_dx)), AddSaturated(q.y, -int64_t(m_dy))};
}
