#include "recording_dc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "text_layout.h"

int RecordingDc::CellHeight(const LogFont& font)
{
    return font.height == 0 ? 40 : std::abs(font.height);
}

int RecordingDc::CharWidth(const LogFont& font)
{
    return std::max(1, CellHeight(font) / 2);
}

int RecordingDc::TextWidth(const std::string& text) const
{
    return static_cast<int>(SplitCharacters(text).size()) * CharWidth(m_font);
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
    const int width = TextWidth(text);
    const int height = CellHeight(m_font);
    const int ascent = height * 4 / 5;
    int left = x;
    switch (align & 6) {
    case TextAlign::kRight: left = x - width; break;
    case TextAlign::kCenter: left = x - width / 2; break;
    default: break;
    }
    // Distance from the reference point down to the cell's upper edge, in the surface's
    // downward direction.
    int upperBelowRef = 0;
    if ((align & TextAlign::kBaseline) == TextAlign::kBaseline)
        upperBelowRef = -ascent;
    else if (align & TextAlign::kBottom)
        upperBelowRef = -height;
    const int down = YUp() ? -1 : 1;
    const int upper = y + down * upperBelowRef;
    call.cell = {left, upper, left + width, upper + down * height};
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
    const auto measure = [this](std::string_view s) { return double(TextWidth(std::string(s))); };
    const auto laid = LayoutLines(text, (flags & DrawTextFlag::kWordBreak) != 0, box.Width(), measure);
    const int lineHeight = CellHeight(m_font);
    const int height = lineHeight * static_cast<int>(laid.size());
    const int down = YUp() ? -1 : 1;
    if (flags & DrawTextFlag::kCalcRect) {
        int widest = 0;
        for (const auto& line : laid)
            widest = std::max(widest, TextWidth(line));
        rect.right = rect.left + widest;
        rect.bottom = rect.top + down * height;
        return height;
    }
    DrawTextCall call{text, rect, flags, m_align, texts.size(), laid.size()};
    for (size_t i = 0; i < laid.size(); ++i) {
        const int width = TextWidth(laid[i]);
        int x = box.left;
        if (flags & DrawTextFlag::kRight)
            x = box.right - width;
        else if (flags & DrawTextFlag::kCenter)
            x = box.left + (box.Width() - width) / 2;
        TextCall line = MakeText(x, rect.top + down * lineHeight * static_cast<int>(i), TextAlign::kLeft, laid[i]);
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

Point RecordingDc::LogicalToDevice(Point p) const
{
    switch (m_mode) {
    case MapMode::Pixels: return p;
    case MapMode::LoMetric:
        return {static_cast<int32_t>(std::lround(p.x * m_dpi / 254.0)), static_cast<int32_t>(std::lround(-p.y * m_dpi / 254.0))};
    case MapMode::HiMetric:
        return {static_cast<int32_t>(std::lround(p.x * m_dpi / 2540.0)), static_cast<int32_t>(std::lround(-p.y * m_dpi / 2540.0))};
    }
    return p;
}

Point RecordingDc::DeviceToLogical(Point p) const
{
    switch (m_mode) {
    case MapMode::Pixels: return p;
    case MapMode::LoMetric:
        return {static_cast<int32_t>(std::lround(p.x * 254.0 / m_dpi)), static_cast<int32_t>(std::lround(-p.y * 254.0 / m_dpi))};
    case MapMode::HiMetric:
        return {static_cast<int32_t>(std::lround(p.x * 2540.0 / m_dpi)), static_cast<int32_t>(std::lround(-p.y * 2540.0 / m_dpi))};
    }
    return p;
}
