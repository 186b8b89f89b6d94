#include "base/text_layout.h"

namespace {

std::vector<std::string_view> HardLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

void WrapLine(std::string_view line, double width, const MeasureText& measure, std::vector<std::string>& out)
{
    while (!line.empty()) {
        if (measure(line) <= width) {
            out.emplace_back(line);
            return;
        }
        // The longest prefix ending before a space that still fits; failing that, the
        // first word whole.
        size_t cut = std::string_view::npos;
        for (size_t pos = line.find(' '); pos != std::string_view::npos; pos = line.find(' ', pos + 1)) {
            if (measure(line.substr(0, pos)) > width)
                break;
            cut = pos;
        }
        if (cut == std::string_view::npos || cut == 0) {
            const size_t firstSpace = line.find(' ', cut == 0 ? 1 : 0);
            cut = firstSpace == std::string_view::npos ? line.size() : firstSpace;
        }
        std::string_view head = line.substr(0, cut);
        while (!head.empty() && head.back() == ' ')
            head.remove_suffix(1);
        out.emplace_back(head);
        line.remove_prefix(cut);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
    }
}

}  // namespace

std::vector<std::string> LayoutLines(std::string_view text, bool wordWrap, double width, const MeasureText& measure)
{
    std::vector<std::string> lines;
    for (std::string_view line : HardLines(text)) {
        if (!wordWrap || line.empty())
            lines.emplace_back(line);
        else
            WrapLine(line, width, measure, lines);
    }
    return lines;
}

namespace {

// The length in bytes of the character starting at byte `i`: a whole UTF-8 sequence, or
// one byte where the sequence is cut short or broken.
size_t CharacterLength(std::string_view utf8, size_t i)
{
    const auto lead = static_cast<unsigned char>(utf8[i]);
    size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (i + len > utf8.size())
        return 1;
    for (size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80)
            return 1;
    return len;
}

}  // namespace

std::vector<std::string> SplitCharacters(std::string_view utf8)
{
    std::vector<std::string> chars;
    for (size_t i = 0; i < utf8.size();) {
        const size_t len = CharacterLength(utf8, i);
        chars.emplace_back(utf8.substr(i, len));
        i += len;
    }
    return chars;
}

size_t CountCharacters(std::string_view utf8)
{
    size_t count = 0;
    for (size_t i = 0; i < utf8.size(); i += CharacterLength(utf8, i))
        ++count;
    return count;
}
