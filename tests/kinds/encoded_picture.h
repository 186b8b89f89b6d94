// Small pictures of one colour, encoded as PNG or JPEG by libpng and libjpeg, so the
// tests of picture elements need no toolkit and run wherever the model runs.
#pragma once

#include <cstdint>
#include <vector>

enum class PictureFormat { Png, Jpeg };

std::vector<uint8_t> EncodedPicture(PictureFormat format, int width = 30, int height = 20);
