#pragma once
// Barcode symbols encoded as vectors: the dark modules of a symbol as rectangles in
// module units, so every surface draws them exactly at any resolution.
#include <cstdint>
#include <string>
#include <vector>

#include "base/dc.h"

// Symbologies as stored in the format (a barcode element's tail).
enum class Symbology : int32_t {
    Qr = 0,
    Code128 = 1,
    Ean13 = 2,
    Pdf417 = 3,
    DataMatrix = 4,
};
inline constexpr int32_t kSymbologyCount = 5;

// "QR", "Code 128", "EAN-13", "PDF417", "Data Matrix".
const char* SymbologyName(Symbology symbology);
// Linear codes (Code 128, EAN-13) stretch their bars to the element's height; the others
// keep square modules.
bool IsLinear(Symbology symbology);

// QR error-correction levels L, M, Q, H are 1..4; 0 takes the default (M).
inline constexpr int32_t kQrLevelDefault = 0;
inline constexpr int32_t kQrLevelMax = 4;

struct BarcodeVector {
    double widthModules = 0;   // the symbol's extent, in modules
    double heightModules = 0;
    std::vector<RectF> bars;   // dark modules, x right and y down from the symbol's top-left
};

// Encodes `data` (UTF-8). False with a Spanish reason when the data does not fit the
// symbology (a letter in an EAN-13, a wrong check digit, data too long, no data).
bool EncodeBarcode(Symbology symbology, int32_t qrLevel, const std::string& data, BarcodeVector& out,
                   std::string& reason);
