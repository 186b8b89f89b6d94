#include "model/embedded_image.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

constexpr const char* kNotAnImage = "la imagen incrustada no es PNG ni JPEG";
constexpr const char* kCutShort = "la imagen incrustada está incompleta";
constexpr const char* kNoPixels = "la imagen incrustada no tiene pixeles";
constexpr const char* kTooManyPixels = "la imagen incrustada declara más de 40 megapíxeles";
constexpr const char* kDamaged = "la imagen incrustada está dañada";

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool ProbePng(std::span<const uint8_t> b, EmbeddedImageInfo& info, std::string& reason)
{
    // Signature, then the IHDR chunk: length 13, "IHDR", width, height.
    if (b.size() < 8 + 8 + 8) {
        reason = kCutShort;
        return false;
    }
    if (BigEndian32(b.data() + 8) != 13 || std::memcmp(b.data() + 12, "IHDR", 4) != 0) {
        reason = kDamaged;
        return false;
    }
    info.type = EmbeddedImageType::Png;
    info.width = BigEndian32(b.data() + 16);
    info.height = BigEndian32(b.data() + 20);
    return true;
}

bool ProbeJpeg(std::span<const uint8_t> b, EmbeddedImageInfo& info, std::string& reason)
{
    // Walk the markers after SOI up to the first start-of-frame, which holds the size.
    size_t pos = 2;
    while (true) {
        while (pos < b.size() && b[pos] != 0xFF)
            ++pos;
        while (pos < b.size() && b[pos] == 0xFF)
            ++pos;
        if (pos >= b.size()) {
            reason = kCutShort;
            return false;
        }
        const uint8_t marker = b[pos++];
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;  // markers without a length
        if (marker == 0xD9 || marker == 0xDA) {
            reason = kDamaged;  // the picture data began before its size was given
            return false;
        }
        if (b.size() - pos < 2) {
            reason = kCutShort;
            return false;
        }
        const size_t length = size_t(b[pos]) << 8 | b[pos + 1];
        if (length < 2 || b.size() - pos < length) {
            reason = kCutShort;
            return false;
        }
        const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (length < 7) {
                reason = kDamaged;
                return false;
            }
            info.type = EmbeddedImageType::Jpeg;
            info.height = uint32_t(b[pos + 3]) << 8 | b[pos + 4];
            info.width = uint32_t(b[pos + 5]) << 8 | b[pos + 6];
            return true;
        }
        pos += length;
    }
}

bool DecodePng(std::span<const uint8_t> bytes, const EmbeddedImageInfo& info, std::vector<uint8_t>& rgba)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return false;
    // libpng reads the size from the same header the probe checked.
    if (image.width != info.width || image.height != info.height) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    rgba.resize(size_t(image.width) * image.height * 4);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

bool DecodeJpeg(std::span<const uint8_t> bytes, const EmbeddedImageInfo& info, std::vector<uint8_t>& rgba)
{
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = JpegFail;
    errors.mgr.emit_message = JpegQuiet;
    // Nothing with a destructor lives between here and the jump back.
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = 512L * 1024 * 1024;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || cinfo.image_width != info.width ||
        cinfo.image_height != info.height) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * 4;
    uint8_t* out = rgba.data();  // sized by the caller from the probed size
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out + size_t(cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

const char* ImageTypeName(EmbeddedImageType type)
{
    return type == EmbeddedImageType::Png ? "PNG" : "JPEG";
}

bool ProbeEmbeddedImage(std::span<const uint8_t> bytes, EmbeddedImageInfo& info, std::string& reason)
{
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    bool ok = false;
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0)
        ok = ProbePng(bytes, info, reason);
    else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        ok = ProbeJpeg(bytes, info, reason);
    else
        reason = kNotAnImage;
    if (!ok)
        return false;
    if (info.width == 0 || info.height == 0) {
        reason = kNoPixels;
        return false;
    }
    if (uint64_t(info.width) * info.height > kMaxImagePixels) {
        reason = kTooManyPixels;
        return false;
    }
    return true;
}

bool DecodeEmbeddedImage(std::span<const uint8_t> bytes, DcImage& image, std::string& reason)
{
    EmbeddedImageInfo info;
    if (!ProbeEmbeddedImage(bytes, info, reason))
        return false;
    auto rgba = std::make_shared<std::vector<uint8_t>>();
    bool ok = false;
    if (info.type == EmbeddedImageType::Png) {
        ok = DecodePng(bytes, info, *rgba);
    } else {
        rgba->resize(size_t(info.width) * info.height * 4);
        ok = DecodeJpeg(bytes, info, *rgba);
    }
    if (!ok) {
        reason = kDamaged;
        return false;
    }
    // Opaque when every alpha byte is 255. A picture may have millions of pixels: they
    // are gathered two at a time with a bitwise AND, and the two alpha bytes of the result
    // are looked at once at the end.
    const uint8_t* pixels = rgba->data();
    const size_t size = rgba->size();
    uint64_t all = ~uint64_t(0);
    size_t i = 0;
    for (; size - i >= 8; i += 8) {
        uint64_t two;
        std::memcpy(&two, pixels + i, 8);
        all &= two;
    }
    uint8_t gathered[8];
    std::memcpy(gathered, &all, 8);
    bool opaque = gathered[3] == 0xFF && gathered[7] == 0xFF;
    if (i < size)
        opaque = opaque && pixels[i + 3] == 0xFF;  // an odd pixel count leaves one
    image.width = int(info.width);
    image.height = int(info.height);
    image.rgba = std::move(rgba);
    image.key = ImageContentKey(bytes);
    image.opaque = opaque;
    return true;
}

uint64_t ImageContentKey(std::span<const uint8_t> bytes)
{
    // FNV-1a, eight bytes to a turn of the outer loop (a picture may be megabytes long).
    uint64_t hash = 0xcbf29ce484222325ULL;
    const auto step = [&hash](uint8_t b) {
        hash ^= b;
        hash *= 0x100000001b3ULL;
    };
    size_t i = 0;
    for (; bytes.size() - i >= 8; i += 8)
        for (size_t k = 0; k < 8; ++k)
            step(bytes[i + k]);
    for (; i < bytes.size(); ++i)
        step(bytes[i]);
    return hash;
}
