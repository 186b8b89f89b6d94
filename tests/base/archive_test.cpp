#include <gtest/gtest.h>

#include "base/archive.h"
#include "base/cp1252.h"

namespace {

std::vector<uint8_t> Written(std::string_view utf8)
{
    ArchiveWriter w;
    w.WriteString(utf8);
    return w.Take();
}

}  // namespace

TEST(CodePage, EveryByteSurvivesTheTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(cp1252::FromUtf8(cp1252::ToUtf8(all)), all);
}

TEST(CodePage, MapsTheSpanishLettersAndTheEuroSign)
{
    EXPECT_EQ(cp1252::ToUtf8("\xF1\xE9\x80"), "ñé€");
    EXPECT_EQ(cp1252::FromUtf8("Diseño €"), "Dise\xF1o \x80");
    // Characters outside the code page cannot be stored and become "?".
    EXPECT_EQ(cp1252::FromUtf8("日"), "?");
}

TEST(CodePage, ATextIsPlainOnlyWithoutAnyByteAboveSevenBitsWhereverItLies)
{
    // Every length up to a few words, with the one high byte at every place: the check
    // reads the text in words and overlapping pieces, and must miss none of them.
    for (size_t length = 0; length <= 20; ++length) {
        const std::string plain(length, 'a');
        EXPECT_TRUE(cp1252::IsAscii(plain)) << length;
        for (size_t at = 0; at < length; ++at) {
            std::string text = plain;
            text[at] = '\x80';
            EXPECT_FALSE(cp1252::IsAscii(text)) << length << " bytes, high byte at " << at;
        }
    }
}

TEST(ArchiveStrings, LengthPrefixGrowsAtTheDocumentedBoundaries)
{
    EXPECT_EQ(Written(""), std::vector<uint8_t>{0});
    const auto b254 = Written(std::string(254, 'a'));
    EXPECT_EQ(b254.size(), 255u);
    EXPECT_EQ(b254[0], 254);
    const auto b255 = Written(std::string(255, 'a'));
    ASSERT_EQ(b255.size(), 258u);
    EXPECT_EQ((std::vector<uint8_t>{b255[0], b255[1], b255[2]}), (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
    // 0xFFFE announces the wide form, so 65534 characters already need the long prefix.
    const auto b65533 = Written(std::string(65533, 'a'));
    EXPECT_EQ(b65533.size(), 3u + 65533u);
    const auto b65534 = Written(std::string(65534, 'a'));
    ASSERT_EQ(b65534.size(), 7u + 65534u);
    EXPECT_EQ((std::vector<uint8_t>(b65534.begin(), b65534.begin() + 7)),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    for (size_t n : {0, 1, 254, 255, 65533, 65534, 70000}) {
        const std::string text(n, 'q');
        const auto bytes = Written(text);
        ArchiveReader r(bytes);
        EXPECT_EQ(r.ReadString(), text) << "length " << n;
        EXPECT_TRUE(r.AtEnd()) << "length " << n;
    }
}

TEST(ArchiveStrings, WideFormIsReadAndConvertedToTheCodePage)
{
    // 0xFF 0xFFFE, 3 UTF-16 units: "ñ", "a", a character outside the code page.
    const std::vector<uint8_t> bytes{0xFF, 0xFE, 0xFF, 3, 0xF1, 0x00, 'a', 0x00, 0xE5, 0x65};
    ArchiveReader r(bytes);
    EXPECT_EQ(r.ReadString(), "ña?");
    EXPECT_TRUE(r.AtEnd());
}

TEST(ArchiveRefusals, LengthsAndCountsBeyondTheEndAreRefusedWithTheirOffset)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t offset;
    };
    const Case cases[] = {
        {"32-bit length 2^32-1 in a short buffer", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, 7},
        {"16-bit length past the end", {0xFF, 0x00, 0x10, 'a', 'b'}, 3},
        {"one-byte length past the end", {5, 'a', 'b'}, 1},
        {"wide length past the end", {0xFF, 0xFE, 0xFF, 200, 'a', 0}, 4},
        {"prefix cut short", {0xFF, 0xFF}, 1},
    };
    for (const Case& c : cases) {
        ArchiveReader r(c.bytes);
        try {
            r.ReadString();
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Offset(), c.offset) << c.name;
        }
    }
}

TEST(ArchiveRefusals, CountsThatTheRemainingBytesCannotHoldAreRefused)
{
    const std::vector<uint8_t> bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4};
    ArchiveReader r(bytes);
    EXPECT_THROW(r.ReadCount(4), ArchiveError);
    const std::vector<uint8_t> negative{0xFF, 0xFF, 0xFF, 0xFF};
    ArchiveReader n(negative);
    EXPECT_THROW(n.ReadCount(1), ArchiveError);
    const std::vector<uint8_t> fits{1, 0, 0, 0, 9, 9, 9, 9};
    ArchiveReader f(fits);
    EXPECT_EQ(f.ReadCount(4), 1);
}

TEST(ArchiveIntegers, AreLittleEndianAndSigned)
{
    ArchiveWriter w;
    w.WriteInt32(-660);
    w.WriteUInt16(0x1234);
    EXPECT_EQ(w.Bytes(), (std::vector<uint8_t>{0x6C, 0xFD, 0xFF, 0xFF, 0x34, 0x12}));
    ArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadInt32(), -660);
    EXPECT_EQ(r.ReadUInt16(), 0x1234);
    EXPECT_THROW(r.ReadByte(), ArchiveError);
}

TEST(ArchiveStrings, PlainAndAccentedTextsTakeTheSameCodePageBytes)
{
    // Texts of plain letters skip the conversion; the bytes must not show it.
    const struct {
        std::string utf8;
        std::vector<uint8_t> stored;
    } cases[] = {
        {"RFC", {3, 'R', 'F', 'C'}},
        {"Año", {3, 'A', 0xF1, 'o'}},
        {"€ 5", {3, 0x80, ' ', '5'}},
        {"日", {1, '?'}},
        {std::string("a\0b", 3), {3, 'a', 0, 'b'}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written(c.utf8), c.stored) << c.utf8;
        ArchiveReader r(c.stored);
        EXPECT_EQ(r.ReadString(), c.utf8 == "日" ? "?" : c.utf8) << c.utf8;
    }
}

TEST(ArchiveWriter, KeepsEveryByteWhileItsBufferGrowsAndAfterItIsLookedAt)
{
    ArchiveWriter w;
    std::vector<uint8_t> expected;
    for (uint32_t i = 0; i < 5000; ++i) {
        w.WriteUInt32(i * 2654435761u);
        w.WriteByte(uint8_t(i));
        w.WriteBytes(i % 7 == 0 ? std::string_view("xyz") : std::string_view());
        for (int k = 0; k < 4; ++k)
            expected.push_back(uint8_t((i * 2654435761u) >> (8 * k)));
        expected.push_back(uint8_t(i));
        if (i % 7 == 0)
            expected.insert(expected.end(), {'x', 'y', 'z'});
        if (i % 1000 == 0) {
            ASSERT_EQ(w.Bytes(), expected) << "after " << i;
        }
    }
    w.Reserve(1 << 20);
    EXPECT_EQ(w.Bytes(), expected) << "room set aside is not content";
    EXPECT_EQ(w.Take(), expected);
    EXPECT_TRUE(w.Bytes().empty());
}
