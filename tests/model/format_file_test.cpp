#include <gtest/gtest.h>

#include "scratch_folder.h"

#include "base/atomic_file.h"
#include "model/cons_text.h"
#include "model/cuadros_var.h"
#include "model/element_factory.h"
#include "model/etiqueta.h"
#include "model/fmt_grid.h"
#include "format_bytes.h"
#include "model/format_file.h"
#include "model/linea.h"
#include "model/marca_var.h"
#include "model/textline_var.h"

namespace {

// The "RFC" entry of our invoice format, laid out by hand.
std::vector<uint8_t> RfcEntry()
{
    FormatBytes b;
    b.Entry(0, 0x20, "RFC", {230, -660, 630, -700}, {32, 78, 208, 98}, 3).Str("");
    return b.Get();
}

Format ReadOk(const std::vector<uint8_t>& bytes)
{
    Format f;
    FormatReadError error;
    EXPECT_TRUE(ReadFormat(bytes, f, error)) << error.reason << " at " << error.offset;
    return f;
}

// A format holding every kind that a file may contain, with non-default values in every
// kind's tail.
std::vector<uint8_t> EveryKindFile()
{
    FormatBytes b;
    b.Str("Factura\r\nhoja 1").Int(10);
    b.Entry(0, 0x20, "RFC", {230, -660, 630, -700}, {32, 78, 208, 98}, 3).Str("SUBTOTAL*0.15");
    b.Entry(1, 0x21, "OBSERVACIONES", {100, -800, 700, -930}, {10, 120, 300, 200}, 4);
    b.Entry(2, 0x26, "CURP", {100, -1000, 1516, -1050}, {10, 220, 300, 240}, 5).Int(24).Int(10).Int(50);
    b.Entry(3, 0x26, "CASADO", {100, -1100, 140, -1140}, {10, 260, 25, 275}, 6).Str("XX");
    b.Entry(4, 0x20, "DETALLE", {100, -1200, 1900, -1800}, {10, 300, 500, 500}, 7)
        .Int(2)
        .Int(0).Str("CANTIDAD").Int(300).Int(80).Int(2).Str("")
        .Int(2).Str("IMPORTE").Int(500).Int(120).Int(14).Str("C1*C2")
        .Int(3).Int(50).Int(50).Int(60);
    b.Entry(5, 8, "Fecha:", {900, -100, 1010, -140}, {0, 0, 0, 0}, 0);
    b.Entry(6, 1, "Linea uno\r\nLinea dos \xF1", {100, -200, 600, -290}, {0, 0, 0, 0}, 0);
    b.Entry(7, 0, "Linea", {0, 20, 400, -20}, {0, 0, 0, 0}, 0).Int(0);
    b.Entry(8, 0, "Rectangulo", {50, -50, 650, -650}, {0, 0, 0, 0}, 0);
    b.Entry(10, 0x28, "Datos del cliente", {100, -300, 500, -345}, {-5, -105, 150, -85}, 0);
    b.Int(-5).Int(-105).Int(500).Int(500);
    return b.Get();
}

}  // namespace

TEST(FormatFile, TheRfcEntryIsReadAndWrittenByteForByte)
{
    const std::vector<uint8_t> entry = RfcEntry();
    ASSERT_EQ(entry.size(), 117u);  // kind and alignment words, "RFC", 104 fixed bytes, empty formula

    FormatBytes file;
    file.Str("Factura").Int(1);
    std::vector<uint8_t> bytes = file.Get();
    bytes.insert(bytes.end(), entry.begin(), entry.end());
    FormatBytes extent;
    extent.Int(0).Int(0).Int(208).Int(100);
    bytes.insert(bytes.end(), extent.Get().begin(), extent.Get().end());

    Format f = ReadOk(bytes);
    ASSERT_EQ(f.elements.size(), 1u);
    auto* rfc = dynamic_cast<CTextlineVar*>(f.elements.front().get());
    ASSERT_NE(rfc, nullptr);
    EXPECT_EQ(rfc->m_text, "RFC");
    EXPECT_EQ(rfc->m_align, 0);
    EXPECT_EQ(rfc->m_screenPlaced, 1);
    EXPECT_EQ(rfc->m_rcPage, (Rect{230, -660, 630, -700}));
    EXPECT_EQ(rfc->m_rcScreen, (Rect{32, 78, 208, 98}));
    EXPECT_EQ(rfc->m_order, 3);
    EXPECT_EQ(rfc->m_logFont.height, 35);
    EXPECT_EQ(rfc->m_logFont.pitchAndFamily, 0x22);
    EXPECT_EQ(rfc->m_logFont.face, "Arial");
    EXPECT_EQ(rfc->m_formula, "");
    EXPECT_EQ(WriteFormat(f, FormatWriter::Rewrite), bytes);
}

TEST(FormatFile, EveryKindRoundTripsByteForByte)
{
    const std::vector<uint8_t> bytes = EveryKindFile();
    Format f = ReadOk(bytes);
    ASSERT_EQ(f.elements.size(), 10u);
    EXPECT_EQ(f.title, "Factura\r\nhoja 1");
    // The list holds the entries in reverse file order.
    EXPECT_EQ(f.elements.front()->m_kind, kKindEtiqueta);
    EXPECT_EQ(f.elements.back()->m_kind, kKindTextlineVar);
    EXPECT_EQ(WriteFormat(f, FormatWriter::Rewrite), bytes);

    auto it = f.elements.rbegin();
    EXPECT_EQ(dynamic_cast<CTextlineVar&>(**it).m_formula, "SUBTOTAL*0.15");
    ++it;
    EXPECT_EQ((*it)->m_align, 1);
    ++it;
    auto& boxes = dynamic_cast<CCuadrosVar&>(**it);
    EXPECT_EQ(boxes.m_align, 6);
    EXPECT_EQ(boxes.m_screenPlaced, 1);
    EXPECT_EQ(boxes.m_boxCount, 24);
    ++it;
    EXPECT_EQ(dynamic_cast<CMarcaVar&>(**it).m_mark, "XX");
    ++it;
    auto& grid = dynamic_cast<CFmtGrid&>(**it);
    ASSERT_EQ(grid.m_columns.size(), 2u);
    EXPECT_EQ(grid.m_columns[1].formula, "C1*C2");
    ASSERT_EQ(grid.m_rows.size(), 3u);
    EXPECT_EQ(grid.m_rows[0].height, 50);
    EXPECT_EQ(grid.m_rows[1].height, 50);
    EXPECT_EQ(grid.m_rows[2].height, 60);
    std::advance(it, 2);
    EXPECT_EQ((*it)->m_text, "Linea uno\r\nLinea dos ñ");
    ++it;
    EXPECT_EQ(dynamic_cast<CLinea&>(**it).m_horizontal, 0);
}

TEST(FormatFile, TitlesUseTheShortestPrefix)
{
    Format empty;
    const std::vector<uint8_t> none = WriteFormat(empty, FormatWriter::Design);
    FormatBytes expected;
    expected.Byte(0).Int(0).Int(0).Int(0).Int(100).Int(100);
    EXPECT_EQ(none, expected.Get());

    Format longTitle;
    longTitle.title = std::string(255, 'T');
    const std::vector<uint8_t> bytes = WriteFormat(longTitle, FormatWriter::Design);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3)), (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(ReadOk(bytes).title, longTitle.title);
}

TEST(FormatWriters, DesignSaveRenumbersVariablesInFileOrderAndLabelsKeepTheirs)
{
    Format f = ReadOk(EveryKindFile());
    // Scramble the orders, as editing would leave them.
    for (auto& e : f.elements)
        e->m_order = 99;
    Format again = ReadOk(WriteFormat(f, FormatWriter::Design));
    std::vector<int32_t> orders;
    for (auto it = again.elements.rbegin(); it != again.elements.rend(); ++it)
        orders.push_back((*it)->m_order);
    // Five variables 1..5, four constants 0, the label keeps 99.
    EXPECT_EQ(orders, (std::vector<int32_t>{1, 2, 3, 4, 5, 0, 0, 0, 0, 99}));

    // A variable element inserted at the front of the list is written last: highest number.
    again.elements.push_front(CreateElementOfKind(kKindTextlineVar));
    Format third = ReadOk(WriteFormat(again, FormatWriter::Design));
    EXPECT_EQ(third.elements.front()->m_order, 6);
    EXPECT_EQ(third.elements.back()->m_order, 1);
}

TEST(FormatWriters, SavingKeepsTheCaptureOrderTheClerkSetAndNumbersItOneToN)
{
    // Orders in writing order (file order) before and after a save from the design or
    // the screen layout.
    const struct {
        std::vector<int32_t> before, after;
    } cases[] = {
        {{3, 1, 2}, {3, 1, 2}},        // already 1..n: every number kept
        {{2, 0, 1, 0}, {2, 3, 1, 4}},  // new elements follow in writing order
        {{5, 5, 9}, {1, 2, 3}},        // a repeat and gaps: relative order, ties by writing order
        {{2, 2, 1}, {2, 3, 1}},        // a control numbered twice never keeps its twin's number
        {{-1, 7}, {2, 1}},             // compared as unsigned numbers, as the layout does
    };
    for (const auto& c : cases) {
        for (FormatWriter writer : {FormatWriter::Design, FormatWriter::ScreenLayout}) {
            Format f;
            for (int32_t order : c.before) {
                auto e = std::make_unique<CTextlineVar>();
                e->m_order = order;
                f.elements.push_front(std::move(e));
            }
            auto constant = std::make_unique<CConsText>();
            constant->m_order = 4;
            f.elements.push_front(std::move(constant));
            Format again = ReadOk(WriteFormat(f, writer));
            std::vector<int32_t> orders;
            for (auto it = again.elements.rbegin(); it != again.elements.rend(); ++it)
                if ((*it)->IsVariable())
                    orders.push_back((*it)->m_order);
            EXPECT_EQ(orders, c.after) << "writer " << int(writer) << ", first order " << c.before.front();
            EXPECT_EQ(again.elements.front()->m_order, 0);
        }
    }
}

TEST(FormatWriters, ScreenLayoutSaveMarksVariablesAndLabelsPlaced)
{
    Format f = ReadOk(EveryKindFile());
    for (auto& e : f.elements)
        e->m_screenPlaced = 0;
    Format again = ReadOk(WriteFormat(f, FormatWriter::ScreenLayout));
    for (auto& e : again.elements)
        EXPECT_EQ(e->m_screenPlaced, e->m_constant ? 0 : 1) << e->KindName();
}

TEST(FormatWriters, AlignmentWordKeepsThePlacedBitApart)
{
    FormatBytes b;
    b.Str("").Int(1).Entry(5, 0x26, "x", {0, 0, 10, -10}, {0, 0, 0, 0}, 0);
    b.Int(0).Int(0).Int(100).Int(100);
    Format f = ReadOk(b.Get());
    EXPECT_EQ(f.elements.front()->m_align, 6);
    EXPECT_EQ(f.elements.front()->m_screenPlaced, 1);
    EXPECT_EQ(WriteFormat(f, FormatWriter::Rewrite), b.Get());
}

TEST(FormatWriters, ScreenExtentStartsAt100By100AndFollowsNegativeRectangles)
{
    Format f;
    f.elements.push_front(CreateElementOfKind(kKindTextlineVar));
    f.elements.front()->m_rcScreen = {10, 10, 50, 30};
    f.elements.push_front(CreateElementOfKind(kKindConsText));
    f.elements.front()->m_rcScreen = {0, 0, 900, 900};  // constants do not count
    WriteFormat(f, FormatWriter::Rewrite);
    EXPECT_EQ(f.screenExtent, (Rect{0, 0, 100, 100}));

    f.elements.push_front(CreateElementOfKind(kKindEtiqueta));
    f.elements.front()->m_rcScreen = {-5, -105, 150, -85};
    f.elements.push_front(CreateElementOfKind(kKindMarcaVar));
    f.elements.front()->m_rcScreen = {400, 300, 415, 315};
    WriteFormat(f, FormatWriter::Rewrite);
    EXPECT_EQ(f.screenExtent, (Rect{-5, -105, 415, 315}));
}

TEST(FormatRefusals, EveryTruncationIsRefusedAndLeavesAnEmptyFormat)
{
    const std::vector<uint8_t> bytes = EveryKindFile();
    for (size_t n = 0; n < bytes.size(); ++n) {
        Format f;
        FormatReadError error;
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(n));
        EXPECT_FALSE(ReadFormat(cut, f, error)) << "cut at " << n;
        EXPECT_TRUE(f.elements.empty()) << "cut at " << n;
        EXPECT_LE(error.offset, n) << "cut at " << n;
    }
}

TEST(FormatRefusals, UnknownKindsAreRefusedAtTheirOffset)
{
    for (int32_t kind : {12, 99, -1, 0x7FFFFFFF}) {
        FormatBytes b;
        b.Str("t").Int(2).Entry(5, 8, "a", {0, 0, 10, -10}, {0, 0, 0, 0}, 0);
        const size_t at = b.Get().size();
        b.Entry(kind, 0, "b", {0, 0, 10, -10}, {0, 0, 0, 0}, 0).Int(0).Int(0).Int(100).Int(100);
        Format f;
        FormatReadError error;
        EXPECT_FALSE(ReadFormat(b.Get(), f, error)) << "kind " << kind;
        EXPECT_EQ(error.offset, at) << "kind " << kind;
        EXPECT_NE(error.reason.find("desconocido"), std::string::npos) << error.reason;
    }
}

TEST(FormatRefusals, HugeCountsAreRefusedBeforeAnyAllocation)
{
    FormatBytes count;
    count.Str("t").Int(0x7FFFFFFF).Int(0);
    Format f;
    FormatReadError error;
    EXPECT_FALSE(ReadFormat(count.Get(), f, error));
    EXPECT_EQ(error.offset, 2u);

    FormatBytes grid;
    grid.Str("").Int(1).Entry(4, 0, "T", {0, 0, 10, -10}, {0, 0, 0, 0}, 1).Int(0x10000000);
    EXPECT_FALSE(ReadFormat(grid.Get(), f, error));
}

TEST(FormatFiles, LoadNamesTheFileAndSaveKeepsTheOldFileOnFailure)
{
    ScratchFolder dir;
    const std::string path = dir / "roto.fmt";
    std::vector<uint8_t> cut = EveryKindFile();
    cut.resize(50);
    std::string message;
    ASSERT_TRUE(WriteFileAtomically(path, cut, &message));
    Format f;
    EXPECT_FALSE(LoadFormatFile(path, f, message));
    EXPECT_NE(message.find("roto.fmt"), std::string::npos) << message;
    EXPECT_NE(message.find("está dañado o no es un formato de Ordexa (byte"), std::string::npos) << message;

    // An element kind this program does not know is named as such, with its place.
    std::vector<uint8_t> unknown = EveryKindFile();
    const std::string strange = dir / "extraño.fmt";
    Format probe;
    FormatReadError error;
    ASSERT_TRUE(ReadFormat(unknown, probe, error));
    // The first entry's kind number follows the title and the count.
    const size_t kindAt = 1 + unknown[0] + 4;
    unknown[kindAt] = 42;
    unknown[kindAt + 1] = unknown[kindAt + 2] = unknown[kindAt + 3] = 0;
    ASSERT_TRUE(WriteFileAtomically(strange, unknown, &message));
    EXPECT_FALSE(LoadFormatFile(strange, f, message));
    EXPECT_NE(message.find("un tipo que este programa no conoce (42, byte " + std::to_string(kindAt) + ")"),
              std::string::npos)
        << message;

    const std::string good = dir / "bueno.fmt";
    Format every = ReadOk(EveryKindFile());
    ASSERT_TRUE(SaveFormatFile(good, every, FormatWriter::Rewrite, message)) << message;
    Format back;
    ASSERT_TRUE(LoadFormatFile(good, back, message)) << message;
    EXPECT_EQ(WriteFormat(back, FormatWriter::Rewrite), EveryKindFile());
}
