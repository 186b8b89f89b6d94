#pragma once
// The font description an element keeps and stores: the members of the platform's
// logical-font record. Heights are in the logical units of the surface drawn on (0.1 mm
// on the page, pixels on the screen); a positive height is the character cell height.
#include <cstdint>
#include <string>

struct LogFont {
    // The weights the program sets: regular and bold.
    static constexpr int32_t kNormalWeight = 400;
    static constexpr int32_t kBoldWeight = 700;

    int32_t height = 40;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = kNormalWeight;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::string face = "Arial";  // UTF-8; at most 31 code-page bytes are stored

    friend bool operator==(const LogFont&, const LogFont&) = default;
};
