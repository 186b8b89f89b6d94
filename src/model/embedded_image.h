#pragma once
// Pictures held inside a format (PNG or JPEG bytes). Everything that reads them goes
// through these functions: the header is checked before any pixel is decoded, so a
// picture that declares more pixels than any form needs is refused without allocating
// for it, and decoding itself is bounded by what the header declared.
#include <cstdint>
#include <span>
#include <string>

#include "base/dc.h"

// Bounds of a picture kept in a format.
inline constexpr size_t kMaxEmbeddedImageBytes = 4u * 1024u * 1024u;
inline constexpr uint64_t kMaxImagePixels = 40'000'000;

enum class EmbeddedImageType { Png, Jpeg };

struct EmbeddedImageInfo {
    EmbeddedImageType type = EmbeddedImageType::Png;
    uint32_t width = 0;
    uint32_t height = 0;
};

// "PNG" or "JPEG".
const char* ImageTypeName(EmbeddedImageType type);

// Reads the picture's type and size from its header alone. False with a Spanish reason
// when the bytes are neither PNG nor JPEG, the header is cut short, or the picture
// declares no pixels or more than kMaxImagePixels.
bool ProbeEmbeddedImage(std::span<const uint8_t> bytes, EmbeddedImageInfo& info, std::string& reason);

// Probes, then decodes to RGBA. False with a Spanish reason when the probe refuses the
// bytes or the picture data is damaged. `image.key` is ImageContentKey of the bytes.
bool DecodeEmbeddedImage(std::span<const uint8_t> bytes, DcImage& image, std::string& reason);

// A 64-bit hash of the bytes (FNV-1a): the same picture gives the same key.
uint64_t ImageContentKey(std::span<const uint8_t> bytes);
