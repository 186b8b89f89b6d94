#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/recording_dc.h"
#include "base/text_layout.h"

namespace {

// One unit per byte, so that widths are easy to read in the cases.
double ByteWidth(std::string_view s)
{
    return double(s.size());
}

}  // namespace

TEST(TextLayout, LinesBreakAtEveryKindOfLineEndAndWrapAtSpaces)
{
    struct Case {
        const char* text;
        bool wrap;
        double width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", false, 10, {""}},
        {"sin saltos de linea", false, 3, {"sin saltos de linea"}},
        {"a\r\nb\rc\nd", false, 10, {"a", "b", "c", "d"}},
        {"\r\r\n\n", false, 10, {"", "", "", ""}},
        {"fin\r", false, 10, {"fin", ""}},
        {"fin\n", false, 10, {"fin", ""}},
        {"uno dos tres", true, 7, {"uno dos", "tres"}},
        {"palabralarga y", true, 4, {"palabralarga", "y"}},
        {"uno  dos\r\ntres", true, 4, {"uno", "dos", "tres"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayoutLines(c.text, c.wrap, c.width, ByteWidth), c.lines) << '"' << c.text << '"';
}

TEST(TextLayout, CharactersAreCountedAsTheyAreSplit)
{
    // ASCII runs longer than a machine word, characters of two to four bytes, a lone
    // continuation byte and a sequence cut short (each bad byte counts as one).
    const std::string texts[] = {
        "",
        "abcdefghijklmnopqrstuvwxyz",
        "Diseño de facturación €",
        "12345678\xF0\x9F\x98\x80" "12345678",
        "\x80" "abcdefgh" "\xE2\x82",
        "\xC3",
    };
    for (const std::string& text : texts)
        EXPECT_EQ(CountCharacters(text), SplitCharacters(text).size()) << '"' << text << '"';
    EXPECT_EQ(CountCharacters("Diseño de facturación €"), 23u);
}

// A surface that keeps no record (the fuzz targets draw on such) must answer every call
// as a recording one does: the elements lay out what follows from what DrawText returns.
TEST(TextLayout, ASurfaceThatKeepsNoRecordAnswersAsARecordingOne)
{
    struct Case {
        const char* text;
        unsigned flags;
    };
    const Case cases[] = {
        {"una linea", DrawTextFlag::kSingleLine},
        {"dos\r\nlineas", 0},
        {"palabras que no caben en el ancho", DrawTextFlag::kWordBreak},
        {"palabras que no caben en el ancho", DrawTextFlag::kWordBreak | DrawTextFlag::kCalcRect},
        {"", DrawTextFlag::kCalcRect},
    };
    for (const Case& c : cases) {
        RecordingDc keeping;
        RecordingDc discarding;
        discarding.KeepRecords(false);
        Rect kept{0, 0, 200, -300};
        Rect discarded = kept;
        EXPECT_EQ(discarding.DrawText(c.text, discarded, c.flags), keeping.DrawText(c.text, kept, c.flags)) << c.text;
        EXPECT_EQ(discarded, kept) << c.text;
        discarding.TextOut(0, 0, c.text);
        discarding.LineTo(5, 5);
        discarding.FillRect(kept, 0);
        EXPECT_TRUE(discarding.texts.empty() && discarding.drawTexts.empty() && discarding.lines.empty() &&
                    discarding.fills.empty())
            << c.text;
    }
}
