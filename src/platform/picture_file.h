#pragma once
// A picture file chosen for a format (PNG, JPEG or SVG) made into the bytes an image
// element keeps: PNG and JPEG as they are, SVG drawn once into a PNG at 300 dpi for the
// size it is placed at.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

struct FormPicture {
    std::vector<uint8_t> bytes;  // PNG or JPEG
    int widthUnits = 0;          // the width it is placed at, in 0.1 mm
};

// The resolution pictures are placed at, and SVG drawings rasterised at.
inline constexpr int kPictureDpi = 300;

// Reads the picture at `path`. False with a Spanish sentence naming the file and what is
// wrong (missing, unreadable, not a picture, larger than 4 MB or 40 megapixels, damaged).
bool LoadFormPicture(const QString& path, FormPicture& picture, std::string& message);
