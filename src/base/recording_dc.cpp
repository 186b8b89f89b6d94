#include "base/recording_dc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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
    return Saturate32(int64_t(CountCharacters(text)) * CharWidth(m_state.font));
}

RecordingDc::TextCall& RecordingDc::AddText(int x, int y, int align, std::string_view text, int64_t width)
{
    // The text is copied before the record grows: it may be one already recorded.
    std::string copy(text);
    TextCall& call = texts.emplace_back();
    call.text = std::move(copy);
    call.x = x;
    call.y = y;
    call.align = align;
    call.font = m_state.font;
    call.color = m_state.textColor;
    call.transparent = m_state.transparent;
    // The cell is measured in 64 bits and held in the 32-bit range: a text of any length
    // at any point gives a cell, never an overflow.
    const int64_t height = CellHeight(m_state.font);
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
    const int width = TextWidth(text);
    if (m_keeping)
        AddText(x, y, m_state.align, text, width);
}

void RecordingDc::TextOutClipped(int x, int y, const Rect& clip, const std::string& text)
{
    const int width = TextWidth(text);
    if (!m_keeping)
        return;
    TextCall& call = AddText(x, y, m_state.align, text, width);
    call.clipped = true;
    call.clip = clip;
}

int RecordingDc::DrawText(const std::string& text, Rect& rect, unsigned flags)
{
    const Rect box = rect.Normalized();
    const auto measure = [this](std::string_view s) { return double(TextWidth(s)); };
    const bool wrap = (flags & DrawTextFlag::kWordBreak) != 0;
    const int lineHeight = CellHeight(m_state.font);
    const int64_t down = YUp() ? -1 : 1;
    size_t count = 0;
    if (flags & DrawTextFlag::kCalcRect) {
        int widest = 0;
        ForEachLaidLine(text, wrap, box.Width(), measure, [&](std::string_view line) {
            widest = std::max(widest, TextWidth(line));
            ++count;
        });
        const int height = Saturate32(int64_t(lineHeight) * int64_t(count));
        rect.right = AddSaturated(rect.left, widest);
        rect.bottom = AddSaturated(rect.top, down * height);
        return height;
    }
    // Each line is recorded as it is laid out.
    const size_t first = texts.size();
    ForEachLaidLine(text, wrap, box.Width(), measure, [&](std::string_view laid) {
        if (!m_keeping) {
            ++count;
            return;
        }
        const int width = TextWidth(laid);
        int64_t x = box.left;
        if (flags & DrawTextFlag::kRight)
            x = int64_t(box.right) - width;
        else if (flags & DrawTextFlag::kCenter)
            x = box.left + (int64_t(box.right) - box.left - width) / 2;
        TextCall& line = AddText(Saturate32(x), AddSaturated(rect.top, down * lineHeight * int64_t(count)),
                                 TextAlign::kLeft, laid, width);
        line.clipped = !(flags & DrawTextFlag::kNoClip);
        line.clip = rect;
        ++count;
    });
    if (m_keeping)
        drawTexts.push_back({text, rect, flags, m_state.align, first, count});
    return Saturate32(int64_t(lineHeight) * int64_t(count));
}

void RecordingDc::LineTo(int x, int y)
{
    if (m_keeping)
        lines.push_back({m_state.current, {x, y}, m_state.penWidth, m_state.penColor});
    m_state.current = {x, y};
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
    switch (m_state.mode) {
    case MapMode::Pixels: return p;
    case MapMode::LoMetric: return {Scaled(p.x, m_dpi / 254.0), Scaled(p.y, -m_dpi / 254.0)};
    case MapMode::HiMetric: return {Scaled(p.x, m_dpi / 2540.0), Scaled(p.y, -m_dpi / 2540.0)};
    }
    return p;
}

Point RecordingDc::DeviceToLogical(Point p) const
{
    switch (m_state.mode) {
    case MapMode::Pixels: return p;
    case MapMode::LoMetric: return {Scaled(p.x, 254.0 / m_dpi), Scaled(p.y, -254.0 / m_dpi)};
    case MapMode::HiMetric: return {Scaled(p.x, 2540.0 / m_dpi), Scaled(p.y, -2540.0 / m_dpi)};
    }
    return p;
}
