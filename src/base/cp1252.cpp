#include "base/cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// 0x80..0x9F; everything else is the same number in Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The UTF-8 form of every code-page byte (one to three bytes), so that a text is
// converted by copying, not by encoding each character again. A form is four bytes in
// all, copied as one word: the bytes beyond its length are overwritten by the next
// character or cut off at the end.
struct Utf8Form {
    char bytes[3] = {};
    uint8_t length = 0;
};
static_assert(sizeof(Utf8Form) == 4);

constexpr std::array<Utf8Form, 256> MakeUtf8Forms()
{
    std::array<Utf8Form, 256> forms{};
    for (size_t b = 0; b < forms.size(); ++b) {
        const char32_t c = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char32_t(b);
        Utf8Form& form = forms[b];
        if (c < 0x80) {
            form.length = 1;
            form.bytes[0] = static_cast<char>(c);
        } else if (c < 0x800) {
            form.length = 2;
            form.bytes[0] = static_cast<char>(0xC0 | (c >> 6));
            form.bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            form.length = 3;
            form.bytes[0] = static_cast<char>(0xE0 | (c >> 12));
            form.bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            form.bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return forms;
}

constexpr std::array<Utf8Form, 256> kUtf8Forms = MakeUtf8Forms();

// The bytes at p, in memory order, as an unsigned number.
template <class Word>
uint64_t LoadWord(const char* p)
{
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The characters of 0x80..0x9F with their bytes, in the order of the characters, so that
// a character is found by halving the table instead of comparing it with all 32.
struct HighByte {
    char32_t character;
    uint8_t byte;
};

constexpr std::array<HighByte, 32> MakeHighBytes()
{
    std::array<HighByte, 32> table{};
    for (size_t i = 0; i < kHigh.size(); ++i)
        table[i] = {kHigh[i], uint8_t(0x80 + i)};
    std::sort(table.begin(), table.end(), [](HighByte a, HighByte b) { return a.character < b.character; });
    return table;
}

constexpr std::array<HighByte, 32> kHighBytes = MakeHighBytes();

char ToByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    const auto found = std::lower_bound(kHighBytes.begin(), kHighBytes.end(), c,
                                        [](HighByte h, char32_t v) { return h.character < v; });
    return found != kHighBytes.end() && found->character == c ? static_cast<char>(found->byte) : '?';
}

// Decodes one UTF-8 sequence at text[i], advancing i; returns U+FFFD when malformed.
char32_t NextCodePoint(std::string_view text, size_t& i)
{
    const auto b0 = static_cast<uint8_t>(text[i++]);
    if (b0 < 0x80)
        return b0;
    int extra = 0;
    char32_t c = 0;
    if ((b0 & 0xE0) == 0xC0) { extra = 1; c = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { extra = 2; c = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { extra = 3; c = b0 & 0x07; }
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<uint8_t>(text[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<uint8_t>(text[i++]) & 0x3F);
    }
    return c;
}

}  // namespace

namespace cp1252 {

bool IsAscii(std::string_view text)
{
    // The high bits of all bytes gathered a word at a time. The last bytes are read as a
    // word (or two halves) overlapping the ones before, so no byte is looked at alone:
    // the check runs on every string read, written or measured, and most are short.
    const char* p = text.data();
    const size_t n = text.size();
    uint64_t bits = 0;
    if (n >= 8) {
        for (size_t i = 0; n - i >= 8; i += 8)
            bits |= LoadWord<uint64_t>(p + i);
        bits |= LoadWord<uint64_t>(p + n - 8);
    } else if (n >= 4) {
        bits = LoadWord<uint32_t>(p) | LoadWord<uint32_t>(p + n - 4);
    } else if (n > 0) {
        // One to three bytes: the first, the middle and the last are all of them.
        bits = LoadWord<uint8_t>(p) | LoadWord<uint8_t>(p + n / 2) | LoadWord<uint8_t>(p + n - 1);
    }
    return (bits & 0x8080808080808080u) == 0;
}

std::string ToUtf8(std::string_view bytes)
{
    // Room for the longest form of every byte (and the last form's whole word), written
    // in place and cut to what was used.
    std::string out(bytes.size() * 3 + 1, '\0');
    char* end = out.data();
    for (char ch : bytes) {
        const Utf8Form& form = kUtf8Forms[static_cast<uint8_t>(ch)];
        std::memcpy(end, &form, sizeof form);
        end += form.length;
    }
    out.resize(size_t(end - out.data()));
    return out;
}

std::string FromUtf8(std::string_view utf8)
{
    // Every character takes at least one byte of UTF-8 and gives exactly one byte: the
    // bytes are written in place and the string cut to what was used.
    std::string out(utf8.size(), '\0');
    char* end = out.data();
    for (size_t i = 0; i < utf8.size();)
        *end++ = ToByte(NextCodePoint(utf8, i));
    out.resize(size_t(end - out.data()));
    return out;
}

std::string FirstUnencodable(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const char32_t c = NextCodePoint(utf8, i);
        if (c != '?' && ToByte(c) == '?')
            return std::string(utf8.substr(start, i - start));
    }
    return {};
}

std::string CannotKeepMessage(std::string_view character)
{
    return "El carácter \"" + std::string(character) +
           "\" no se puede guardar: los datos capturados solo admiten letras, cifras y signos de Europa "
           "occidental (como á, ñ, ü, €). Escríbalo de otra forma.";
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace cp1252
