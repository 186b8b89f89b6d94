#include "base/text_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/cp1252.h"

namespace {

// The position of the first `c` at or after `from`, or the text's size.
size_t NextOf(std::string_view text, char c, size_t from)
{
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? size_t(static_cast<const char*>(found) - text.data()) : text.size();
}

// Calls `onLine` for each line of the text as its line breaks cut it, in order. The
// breaks are found by searching the whole text for each kind of break, not by looking at
// every character: most texts have none, and a paragraph has few.
template <class OnLine>
void ForEachHardLine(std::string_view text, OnLine onLine)
{
    size_t nextCr = NextOf(text, '\r', 0);
    size_t nextLf = NextOf(text, '\n', 0);
    size_t start = 0;
    while (nextCr < text.size() || nextLf < text.size()) {
        size_t i = std::min(nextCr, nextLf);
        onLine(text.substr(start, i - start));
        if (i == nextCr && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
        if (nextCr < start)
            nextCr = NextOf(text, '\r', start);
        if (nextLf < start)
            nextLf = NextOf(text, '\n', start);
    }
    onLine(text.substr(start));
}

void WrapLine(std::string_view line, double width, const MeasureText& measure, const OnLaidLine& out)
{
    while (!line.empty()) {
        if (measure(line) <= width) {
            out(line);
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
        out(head);
        line.remove_prefix(cut);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
    }
}

}  // namespace

void ForEachLaidLine(std::string_view text, bool wordWrap, double width, const MeasureText& measure,
                     const OnLaidLine& onLine)
{
    ForEachHardLine(text, [&](std::string_view line) {
        if (!wordWrap || line.empty())
            onLine(line);
        else
            WrapLine(line, width, measure, onLine);
    });
}

std::vector<std::string> LayoutLines(std::string_view text, bool wordWrap, double width, const MeasureText& measure)
{
    std::vector<std::string> lines;
    ForEachLaidLine(text, wordWrap, width, measure, [&](std::string_view line) { lines.emplace_back(line); });
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
    if (cp1252::IsAscii(utf8))
        return utf8.size();
    // Eight bytes at a time while they are all ASCII (one character each), which nearly
    // every text is; a byte above 0x7F is measured as SplitCharacters would cut it.
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    size_t count = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        uint64_t word = 0;
        if (utf8.size() - i >= sizeof word) {
            std::memcpy(&word, utf8.data() + i, sizeof word);
            if ((word & kHighBits) == 0) {
                count += sizeof word;
                i += sizeof word;
                continue;
            }
        }
        i += CharacterLength(utf8, i);
        ++count;
    }
    return count;
}
