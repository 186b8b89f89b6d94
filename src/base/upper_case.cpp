#include "base/upper_case.h"

std::string UpperCaseLatin1(const std::string& utf8)
{
    std::string out = utf8;
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'a' && c <= 'z') {
            out[i] = char(c - 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00E0..U+00FE are 0xC3 0xA0..0xBE; U+00F7 (division sign) is no letter.
            const auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0xA0 && d <= 0xBE && d != 0xB7)
                out[i + 1] = char(d - 0x20);
            ++i;
        }
    }
    return out;
}
