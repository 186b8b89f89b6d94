// Images and barcodes: their records read and write byte for byte, what cannot be
// trusted is refused with a reason and an offset before any picture is decoded, and
// they print what they hold (a picture; vector modules, or nothing for bad data).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <png.h>

#include "base/recording_dc.h"
#include "model/barcode_template.h"
#include "model/codigo_barras.h"
#include "model/embedded_image.h"
#include "model/format_file.h"
#include "model/imagen.h"
#include "../model/format_bytes.h"
#include "encoded_picture.h"

namespace {

std::vector<uint8_t> Picture(const char* format, int width = 30, int height = 20)
{
    return EncodedPicture(std::string(format) == "PNG" ? PictureFormat::Png : PictureFormat::Jpeg, width, height);
}

// A PNG signature and header declaring a size, with no picture data after it.
std::vector<uint8_t> PngHeader(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        for (int shift : {24, 16, 8, 0})
            b.push_back(uint8_t(v >> shift));
    b.insert(b.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

FormatBytes& ImageEntry(FormatBytes& b, int32_t flags, uint32_t count, const std::vector<uint8_t>& bytes)
{
    b.Entry(kKindImagen, 0, "Imagen", {100, -100, 700, -500}, {0, 0, 0, 0}, 0).Int(flags).Int(int32_t(count));
    for (uint8_t byte : bytes)
        b.Byte(byte);
    return b;
}

FormatBytes& BarcodeEntry(FormatBytes& b, int32_t symbology, const std::string& tpl, int32_t quiet = 2)
{
    b.Entry(kKindCodigoBarras, 0x20, "QR", {100, -600, 400, -900}, {10, 10, 200, 30}, 1)
        .Int(symbology).Int(3);
    if (tpl.size() < 255)
        b.Str(tpl);
    else
        b.Byte(0xFF).Byte(uint8_t(tpl.size())).Byte(uint8_t(tpl.size() >> 8));
    if (tpl.size() >= 255)
        for (char c : tpl)
            b.Byte(uint8_t(c));
    return b.Int(0).Int(quiet).Int(1);
}

}  // namespace

TEST(MediaKinds, ImagesAndBarcodesRoundTripByteForByte)
{
    FormatBytes b;
    b.Str("Logo").Int(3);
    ImageEntry(b, 0, uint32_t(Picture("PNG").size()), Picture("PNG"));
    ImageEntry(b, CImagen::kAspectUnlocked, uint32_t(Picture("JPEG").size()), Picture("JPEG"));
    BarcodeEntry(b, int32_t(Symbology::Qr), "id={UUID}&tt={TOTAL}");
    b.Int(0).Int(0).Int(200).Int(100);
    Format format;
    FormatReadError error;
    ASSERT_TRUE(ReadFormat(b.Get(), format, error)) << error.reason << " at " << error.offset;
    EXPECT_EQ(WriteFormat(format, FormatWriter::Rewrite), b.Get());
    auto it = format.elements.rbegin();
    const auto& png = dynamic_cast<CImagen&>(**it++);
    EXPECT_TRUE(png.KeepsAspect());
    EXPECT_EQ(png.Picture().width, 30);
    EXPECT_EQ(png.Picture().height, 20);
    EXPECT_FALSE(dynamic_cast<CImagen&>(**it++).KeepsAspect());
    const auto& qr = dynamic_cast<CCodigoBarras&>(**it);
    EXPECT_EQ(qr.m_template, "id={UUID}&tt={TOTAL}");
    EXPECT_EQ(qr.m_qrLevel, 3);
    EXPECT_TRUE(qr.m_flags & CCodigoBarras::kShowText);
}

TEST(MediaKinds, UntrustworthyRecordsAreRefusedWithTheirReasonAndOffset)
{
    std::vector<uint8_t> damaged = Picture("PNG");
    damaged.resize(damaged.size() - 20);
    struct Case {
        const char* what;
        bool image;  // else a barcode
        std::function<void(FormatBytes&)> entry;
        size_t offsetInEntry;  // from the start of the tail
        const char* reason;
    } cases[] = {
        {"over 4 MB", true, [](FormatBytes& b) { ImageEntry(b, 0, 4u * 1024 * 1024 + 1, {}); }, 4, "4 MB"},
        {"48 megapixels", true, [](FormatBytes& b) { ImageEntry(b, 0, 33, PngHeader(8000, 6000)); }, 8, "40 megapíxeles"},
        {"not a picture", true, [](FormatBytes& b) { ImageEntry(b, 0, 6, {'G', 'I', 'F', '8', '9', 'a'}); }, 8, "PNG ni JPEG"},
        {"damaged", true, [&](FormatBytes& b) { ImageEntry(b, 0, uint32_t(damaged.size()), damaged); }, 8, "dañada"},
        {"symbology 5", false, [](FormatBytes& b) { BarcodeEntry(b, 5, ""); }, 0, "desconocido"},
        {"long template", false, [](FormatBytes& b) { BarcodeEntry(b, 0, std::string(4001, 'a')); }, 8, "4000"},
        {"quiet zone", false, [](FormatBytes& b) { BarcodeEntry(b, 0, "x", 51); }, 14, "silencio"},
    };
    for (const Case& c : cases) {
        FormatBytes b;
        b.Str("t").Int(1);
        const size_t entryStart = b.Get().size();
        c.entry(b);
        b.Int(0).Int(0).Int(100).Int(100);
        // The tail follows the kind, alignment, the text and the 104 fixed bytes.
        const size_t textBytes = 1 + std::string(c.image ? "Imagen" : "QR").size();
        const size_t tail = entryStart + 8 + textBytes + 104;
        Format format;
        FormatReadError error;
        EXPECT_FALSE(ReadFormat(b.Get(), format, error)) << c.what;
        EXPECT_TRUE(error.refused) << c.what;
        EXPECT_EQ(error.offset, tail + c.offsetInEntry) << c.what;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.what << ": " << error.reason;
    }
}

TEST(MediaKinds, BarcodesPrintVectorModulesInsideTheirRectangleOrNothing)
{
    CCodigoBarras code;
    code.m_rcPage = {100, -600, 400, -900};
    code.m_flags = CCodigoBarras::kShowText;
    MemoryEntryFactory factory;
    RecordingDc dc;
    code.CreateEntryControl(dc, factory, 1174, LogFont{});
    for (Symbology s : {Symbology::Qr, Symbology::Code128, Symbology::Ean13, Symbology::Pdf417, Symbology::DataMatrix}) {
        code.m_symbology = s;
        code.m_pControl->SetText(s == Symbology::Ean13 ? "7501234567893" : "ABC-123");
        dc.Clear();
        code.Print(dc);
        ASSERT_EQ(dc.fillsF.size(), 1u) << SymbologyName(s);
        for (const RectF& r : dc.fillsF[0].rects) {
            EXPECT_GE(std::min(r.left, r.right), 100 - 1e-9) << SymbologyName(s);
            EXPECT_LE(std::max(r.left, r.right), 400 + 1e-9) << SymbologyName(s);
            EXPECT_GE(std::min(r.top, r.bottom), -900 - 1e-9) << SymbologyName(s);
            EXPECT_LE(std::max(r.top, r.bottom), -600 + 1e-9) << SymbologyName(s);
        }
        ASSERT_EQ(dc.texts.size(), 1u);
        EXPECT_EQ(dc.texts[0].text, code.m_pControl->Text());
    }
    code.m_symbology = Symbology::Ean13;
    code.m_pControl->SetText("no es EAN");
    dc.Clear();
    code.Print(dc);
    EXPECT_TRUE(dc.fillsF.empty());
    EXPECT_TRUE(dc.texts.empty());
}

TEST(MediaKinds, ImagesPrintTheirPictureOverTheirRectangle)
{
    std::string reason;
    auto image = CImagen::CreateAt(100, -200, 600, Picture("PNG", 40, 10), reason);
    ASSERT_TRUE(image) << reason;
    EXPECT_EQ(image->m_rcPage, (Rect{100, -200, 700, -350}));
    RecordingDc dc;
    image->Print(dc);
    ASSERT_EQ(dc.images.size(), 1u);
    EXPECT_EQ(dc.images[0].rect, (Rect{100, -350, 700, -200}));
    EXPECT_EQ(dc.images[0].width, 40);
    EXPECT_EQ(dc.images[0].key, ImageContentKey(image->Bytes()));
}

TEST(MediaKinds, DecodedPicturesAreOpaqueOnlyWhenNoPixelIsTranslucent)
{
    // Pictures of odd and even pixel counts, with one translucent pixel anywhere or none.
    const auto rgbaPng = [](int width, int height, int translucent) {
        std::vector<uint8_t> pixels(size_t(width) * height * 4, 0xFF);
        if (translucent >= 0)
            pixels[size_t(translucent) * 4 + 3] = 0x80;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = png_uint_32(width);
        image.height = png_uint_32(height);
        image.format = PNG_FORMAT_RGBA;
        png_alloc_size_t size = 0;
        png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
        std::vector<uint8_t> png(size);
        EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr));
        png.resize(size);
        return png;
    };
    const struct {
        int width, height, translucent;
    } cases[] = {{1, 1, -1}, {1, 1, 0}, {3, 3, -1}, {3, 3, 0}, {3, 3, 4}, {3, 3, 8}, {4, 2, 5}, {4, 2, 7}};
    for (const auto& c : cases) {
        DcImage image;
        std::string reason;
        ASSERT_TRUE(DecodeEmbeddedImage(rgbaPng(c.width, c.height, c.translucent), image, reason)) << reason;
        EXPECT_EQ(image.opaque, c.translucent < 0) << c.width << "x" << c.height << ", pixel " << c.translucent;
    }
}

TEST(MediaKinds, APicturesKeyIsTheFnv1aHashOfItsBytes)
{
    std::vector<uint8_t> bytes;
    for (int length = 0; length <= 20; ++length) {
        uint64_t expected = 0xcbf29ce484222325ULL;
        for (uint8_t b : bytes)
            expected = (expected ^ b) * 0x100000001b3ULL;
        EXPECT_EQ(ImageContentKey(bytes), expected) << length << " bytes";
        bytes.push_back(uint8_t(length * 37 + 11));
    }
    const std::string foobar = "foobar";
    EXPECT_EQ(ImageContentKey(std::span(reinterpret_cast<const uint8_t*>(foobar.data()), foobar.size())),
              0x85944171f73967e8ULL);
}

TEST(MediaKinds, TemplatesReplaceEachNamedFieldOnce)
{
    const auto value = [](const std::string& name) -> std::optional<std::string> {
        if (name == "UUID")
            return "U-1";
        if (name == "RFC EMISOR")
            return "AAA010101AAA";
        return std::nullopt;
    };
    const std::pair<const char*, const char*> cases[] = {
        {"id={UUID}&re={RFC EMISOR}&id2={UUID}", "id=U-1&re=AAA010101AAA&id2=U-1"},
        {"{NADA}x", "x"},
        {"sin campos", "sin campos"},
        {"abre { sin cierre", "abre { sin cierre"},
        {"{}", ""},
    };
    for (const auto& [tpl, filled] : cases)
        EXPECT_EQ(FillTemplate(tpl, value), filled) << tpl;
    EXPECT_EQ(TemplateNames("{A}{B}{A}"), (std::vector<std::string>{"A", "B"}));
}
