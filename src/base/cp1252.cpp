#include "base/cp1252.h"

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
// converted by copying, not by encoding each character again.
struct Utf8Form {
    uint8_t length = 0;
    char bytes[3] = {};
};

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

char ToByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
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

std::string ToUtf8(std::string_view bytes)
{
    // Room for the longest form of every byte, written in place and cut to what was used.
    std::string out(bytes.size() * 3, '\0');
    char* end = out.data();
    for (char ch : bytes) {
        const Utf8Form& form = kUtf8Forms[static_cast<uint8_t>(ch)];
        std::memcpy(end, form.bytes, sizeof form.bytes);
        end += form.length;
    }
    out.resize(size_t(end - out.data()));
    return out;
}

std::string FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();)
        out += ToByte(NextCodePoint(utf8, i));
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
