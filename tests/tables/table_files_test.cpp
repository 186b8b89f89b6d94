#include "base/archive.h"
#include "tables/kv_index.h"
#include "tables/table_header.h"
#include "tables/tabla.h"
#include "test_support.h"

#include <cstring>

TEST(TableFiles, AHeaderReadsBackAsWritten)
{
    ScratchFolder dir;
    ScriptedPrompts prompts;
    const FixedLocale locale = MexicanLocale();
    CTabla table(prompts, locale);
    const CKVField fields[] = {{"Nombre", 30, kvText}, {"Importe", 0, kvDouble}, {"Clave", 0, kvInt32, 3}};
    ASSERT_TRUE(table.Create(dir / "t", fields, false));
    const auto bytes = FileBytes(dir / "t.DAT");
    const TableHeader header = ParseTableHeader(bytes);
    EXPECT_EQ(header.dataOffset, table.DataOffset());
    ASSERT_EQ(header.fields.size(), 3u);
    EXPECT_EQ(header.RecordLength(), table.RecordLength());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(header.fields[size_t(i)].Name(), table.Field(i).Name());
        EXPECT_EQ(header.fields[size_t(i)].Offset(), table.Field(i).Offset());
        EXPECT_EQ(header.fields[size_t(i)].IndexName(), table.Field(i).IndexName());
    }
}

TEST(TableFiles, BrokenHeadersAreRefusedWithTheirOffset)
{
    const CKVField fields[] = {{"A", 4, kvText, 1, "IX"}};
    std::vector<CKVField> laid(std::begin(fields), std::end(fields));
    const std::vector<uint8_t> good = BuildTableHeader(laid);
    ASSERT_EQ(good.size(), 6u + 31);
    EXPECT_NO_THROW(ParseTableHeader(good));

    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {"empty", {}},
        {"cut in a descriptor", std::vector<uint8_t>(good.begin(), good.end() - 3)},
        {"count larger than the bytes", {6, 0, 0, 0, 0xFF, 0xFF}},
        {"data offset elsewhere", [&] { auto b = good; b[0] = 99; return b; }()},
    };
    for (const auto& row : rows)
        EXPECT_THROW(ParseTableHeader(row.bytes), ArchiveError) << row.what;
}

TEST(TableFiles, IndexEntriesAreTakenWholeAndOnlyUpToTheExpectedCount)
{
    CKVIndex index(kvInt32, 4);
    const std::vector<uint8_t> bytes = {1, 0, 0, 0, 7, 0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 3, 0};
    index.Load(bytes, 10);
    EXPECT_EQ(index.Count(), 2u) << "a partial entry is dropped";
    index.Load(bytes, 1);
    EXPECT_EQ(index.Count(), 1u);
    EXPECT_EQ(index.RecordAt(0), 1u);
}

TEST(TableFiles, KeysCompareByTheRuleOfTheirType)
{
    auto le = [](uint64_t v, size_t n) {
        std::vector<uint8_t> b(n);
        for (size_t i = 0; i < n; ++i)
            b[i] = uint8_t(v >> (8 * i));
        return b;
    };
    auto f32 = [&](float f) {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        return le(u, 4);
    };
    const struct {
        const char* what;
        int32_t type;
        uint16_t width;
        std::vector<uint8_t> a, b;
        int sign;
    } rows[] = {
        {"int32 far apart", kvInt32, 4, le(uint32_t(2000000000), 4), le(uint32_t(-2000000000), 4), 1},
        {"uint32 above 2^31", kvUInt32, 4, le(3000000000u, 4), le(1, 4), 1},
        {"int16 signed", kvInt16, 2, le(uint16_t(-1), 2), le(1, 2), -1},
        {"uint16 unsigned", kvUInt16, 2, le(0xFFFF, 2), le(1, 2), 1},
        {"text case-sensitive", kvText, 3, {'a', 'b', 0}, {'B', 'b', 0}, 1},
        {"text stops at the terminator", kvText, 3, {'a', 0, 'x'}, {'a', 0, 'y'}, 0},
        {"text bytes unsigned", kvText, 1, {0xE9}, {'z'}, 1},
        {"date", kvDate, 4, {1, 1, 0xD1, 0x07}, {31, 12, 0xD0, 0x07}, 1},
        {"float 1.7 vs 1.2", kvFloat, 4, f32(1.7f), f32(1.2f), 0},
        {"float 2.3 vs 1.2", kvFloat, 4, f32(2.3f), f32(1.2f), 1},
        {"double has no order", kvDouble, 8, le(1, 8), le(2, 8), 0},
        {"boolean has no order", kvBool, 1, {1}, {0}, 0},
    };
    for (const auto& row : rows) {
        const int cmp = CKVIndex::CompareKeys(row.type, row.width, row.a, row.b);
        EXPECT_EQ((cmp > 0) - (cmp < 0), row.sign) << row.what;
    }
}
