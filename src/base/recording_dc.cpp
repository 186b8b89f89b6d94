#include "base/recording_dc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/text_layout.h"

int RecordingDc::CellHeight(const LogFont& font)
{
    return font.height == 0 ? 40 : std::abs(font.height);
}

int RecordingDc::CharWidth(const LogFont& font)
{
    return std::max(1, CellHeight(font) / 2);
}

int RecordingDc::TextWidth(std::string_view text) const
{
    return Saturate32(int64_t(CountCharacters(text)) * CharWidth(m_font));
}

RecordingDc::TextCall RecordingDc::MakeText(int x, int y, int align, const std::string& text) const
{
    TextCall call;
    call.text = text;
    call.x = x;
    call.y = y;
    call.align = align;
    call.font = m_font;
    call.color = m_textColor;
    call.transparent = m_transparent;
    // The cell is measured in 64 bits and held in the 32-bit range: a text of any length
    // at any point gives a cell, never an overflow.
    const int64_t width = TextWidth(text);
    const int64_t height = CellHeight(m_font);
    const int64_t ascent = height * 4 / 5;
    int64_t left = x;
    switch (align & 6) {
    case TextAlign::kRight: left = x - width; break;
    case TextAlign::kCenter: left = x - width / 2; break;
    default: break;
    }
    // Distance from the reference point down to the cell's upper edge, in the surface's
    // downward direction.
    int64_t upperBelowRef = 0;
    if ((align & TextAlign::kBaseline) == TextAlign::kBaseline)
        upperBelowRef = -ascent;
    else if (align & TextAlign::kBottom)
        upperBelowRef = -height;
    const int64_t down = YUp() ? -1 : 1;
    const int64_t upper = y + down * upperBelowRef;
    call.cell = {Saturate32(left), Saturate32(upper), Saturate32(left + width), Saturate32(upper + down * height)};
    return call;
}

void RecordingDc::TextOut(int x, int y, const std::string& text)
{
    texts.push_back(MakeText(x, y, m_align, text));
}

void RecordingDc::TextOutClipped(int x, int y, const Rect& clip, const std::string& text)
{
    TextCall call = MakeText(x, y, m_align, text);
    call.clipped = true;
    call.clip = clip;
    texts.push_back(call);
}

int RecordingDc::DrawText(const std::string& text, Rect& rect, unsigned flags)
{
    const Rect box = rect.Normalized();
    const auto measure = [this](std::string_view s) { return double(TextWidth(s)); };
    const auto laid = LayoutLines(text, (flags & DrawTextFlag::kWordBreak) != 0, box.Width(), measure);
    const int lineHeight = CellHeight(m_font);
    const int height = Saturate32(int64_t(lineHeight) * int64_t(laid.size()));
    const int down = YUp() ? -1 : 1;
    if (flags & DrawTextFlag::kCalcRect) {
        int widest = 0;
        for (const auto& line : laid)
            widest = std::max(widest, TextWidth(line));
        rect.right = AddSaturated(rect.left, widest);
        rect.bottom = AddSaturated(rect.top, int64_t(down) * height);
        return height;
    }
    DrawTextCall call{text, rect, flags, m_align, texts.size(), laid.size()};
    for (size_t i = 0; i < laid.size(); ++i) {
        const int width = TextWidth(laid[i]);
        int64_t x = box.left;
        if (flags & DrawTextFlag::kRight)
            x = int64_t(box.right) - width;
        else if (flags & DrawTextFlag::kCenter)
            x = box.left + (int64_t(box.right) - box.left - width) / 2;
        TextCall line = MakeText(Saturate32(x), AddSaturated(rect.top, int64_t(down) * lineHeight * int64_t(i)),
                                 TextAlign::kLeft, laid[i]);
        line.clipped = !(flags & DrawTextFlag::kNoClip);
        line.clip = rect;
        texts.push_back(line);
    }
    drawTexts.push_back(call);
    return height;
}

void RecordingDc::LineTo(int x, int y)
{
    lines.push_back({m_current, {x, y}, m_penWidth, m_penColor});
    m_current = {x, y};
}

namespace {

// A scaled coordinate, rounded and held in the 32-bit range.
int32_t Scaled(int32_t v, double factor)
{
    return Saturate32(std::llround(std::clamp(double(v) * factor, -1e15, 1e15)));
}

}  // namespace

Point RecordingDc::LogicalToDevice(Point p) const
{
    switch (m_mode) {
    case MapMode::Pixels: return p;
    case MapMode::LoMetric: return {Scaled(p.x, m_dpi / 254.0), Scaled(p.y, -m_dpi / 254.0)};
    case MapMode::HiMetric: return {Scaled(p.x, m_dpi / 2540.0), Scaled(p.y, -m_dpi / 2540.0)};
    }
    return p;
}

Point RecordingDc::DeviceToLogical(Point p) const
{
    switch (m_mode) {
    case MapMode::Pixels: return p;
    case MapMode::LoMetric: return {Scaled(p.x, 254.0 / m_dpi), Scaled(p.y, -254.0 / m_dpi)};
    case MapMode::HiMetric: return {Scaled(p.x, 2540.0 / m_dpi), Scaled(p.y, -2540.0 / m_dpi)};
    }
    return p;
}
