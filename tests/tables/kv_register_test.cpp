#include "base/archive.h"
#include "tables/kv_register.h"
#include "test_support.h"

#include <cstring>

namespace {

class KVRegisterTest : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    FixedLocale locale = MexicanLocale();
    CKVRegister rec{prompts, locale};
};

}  // namespace

TEST_F(KVRegisterTest, LayoutGivesFixedTypesTheirSizeAndTextOneByteMore)
{
    const CKVField fields[] = {
        {"i32", 99, kvInt32}, {"u16", 0, kvUInt16}, {"b", 0, kvBool},     {"txt", 10, kvText},
        {"r60", 0, kvRaw60},  {"dbl", 0, kvDouble}, {"cur", 0, kvCurrency}, {"raw", 3, kvRaw},
        {"odd", 7, 99},       {"fecha", 0, kvDate},
    };
    ASSERT_TRUE(rec.LayoutFields(fields));
    const struct {
        uint16_t width, offset;
    } expected[] = {{4, 0}, {2, 4}, {1, 6}, {10, 7}, {60, 18}, {8, 78}, {8, 86}, {3, 94}, {0, 97}, {4, 97}};
    for (int i = 0; i < rec.FieldCount(); ++i) {
        EXPECT_EQ(rec.Field(i).Width(), expected[i].width) << rec.Field(i).Name();
        EXPECT_EQ(rec.Field(i).Offset(), expected[i].offset) << rec.Field(i).Name();
    }
    EXPECT_EQ(rec.RecordLength(), 101);
    EXPECT_TRUE(rec.IsBlank());
}

TEST_F(KVRegisterTest, LayoutStopsWithTheMessageBeforeTheRecordPasses64KB)
{
    const CKVField fields[] = {{"a", 60000, kvText}, {"b", 6000, kvText}, {"c", 0, kvInt32}, {"d", 0, kvInt32}};
    EXPECT_FALSE(rec.LayoutFields(fields));
    ASSERT_EQ(prompts.Shown(), std::vector<std::string>{"Se sobrepasó el tamaño máximo del registro (64 Kb)"});
    EXPECT_EQ(rec.RecordLength(), 60001);
    EXPECT_EQ(rec.FieldCount(), 4) << "the fields not laid out stay, with width and offset 0";
    EXPECT_EQ(rec.Field(1).Width(), 0);
    EXPECT_EQ(rec.Field(1).Offset(), 0);
    // The record stays usable with the first field; the others are ignored.
    rec.SetText(0, "kept");
    rec.SetText(1, "ignored");
    EXPECT_EQ(rec.GetText(0), "kept");
    EXPECT_EQ(rec.GetText(1), "");

    prompts.ClearShown();
    const CKVField exact[] = {{"a", 65534, kvText}, {"b", 0, kvInt32}};
    EXPECT_FALSE(rec.LayoutFields(exact));
    EXPECT_EQ(rec.RecordLength(), 65535) << "a field that reaches the limit exactly is the last one";
    EXPECT_EQ(prompts.Shown().size(), 1u);
}

TEST_F(KVRegisterTest, EveryTypeConvertsFromTextToTextNumberAndFilled)
{
    const struct {
        int32_t type;
        uint16_t width;
        const char* in;
        const char* text;
        double number;
        bool filled;
    } rows[] = {
        {kvInt32, 0, "-42abc", "-42", -42, true},
        {kvInt32, 0, "abc", "0", 0, false},
        {kvInt32, 0, "99999999999", "2147483647", 2147483647.0, true},
        {kvUInt32, 0, "4000000000", "-294967296", 4000000000.0, true},
        {kvInt16, 0, "70000", "4464", 4464, true},  // low 16 bits
        {kvInt16, 0, "-5", "-5", -5, true},
        {kvUInt16, 0, "-1", "65535", 65535, true},
        {kvInt8, 0, "A", "65", 65, false},  // the character code; never filled
        {kvInt8, 0, "\xC3\xA9", "-23", -23, false},  // "é" is 0xE9 in the files
        {kvUInt8, 0, "\xC3\xA9", "233", 233, false},
        {kvText, 5, "Hello world", "Hello", 0, true},
        {kvText, 5, "12.5 kg", "12.5 ", 12.5, true},
        {kvText, 5, "", "", 0, false},
        {kvText, 4, "a\xC3\xB1o", "a\xC3\xB1o", 0, true},  // "año" takes three bytes
        {kvRaw4, 0, "xyz", "", 0, false},
        {kvRaw60, 0, "xyz", "", 0, false},
        {kvDate, 0, "31/2/2004", "28/02/2004", 0, true},
        {kvDate, 0, "", "", 0, false},
        {kvDate, 0, "1/1/1900", "01/01/1900", 0, false},
        {kvFloat, 0, "1.5", "1.5", 1.5, true},  // one or more: the shortest form
        {kvFloat, 0, "0.25", "0.25", 0.25, true},
        {kvFloat, 0, "x", "0.00", 0, false},
        {kvBool, 0, "TRUE", "TRUE", 1, true},
        {kvBool, 0, "true", "FALSE", 0, false},
        {kvDouble, 0, "1048576.3", "1048576.25", 1048576.3, true},
        {kvDouble, 0, "-0.5", "-0.50", -0.5, true},
        // Beyond single precision the double itself is shown (its exact binary value),
        // not "inf".
        {kvDouble, 0, "1e39", "999999999999999939709166371603178586112", 1e39, true},
        {kvCurrency, 0, "$1,234.50", "$1,234.50", 1234.5, true},
        {kvCurrency, 0, "$-1,234.50", "$-1,234.50", -1234.5, true},
        {kvCurrency, 0, "-7.1", "$-7.10", -7.1, true},
        {kvCurrency, 0, "1234", "$1,234.00", 1234, true},
        {kvCurrency, 0, "doce", "$0.00", 0, false},
        {kvCurrency, 0, "$-$5", "$0.00", 0, false},
        {42, 0, "anything", "", 0, false},
    };
    for (const auto& row : rows) {
        const CKVField field("f", row.width, row.type);
        rec.LayoutFields(std::span(&field, 1));
        rec.SetText(0, row.in);
        EXPECT_EQ(rec.GetText(0), row.text) << "type " << row.type << " from \"" << row.in << "\"";
        EXPECT_DOUBLE_EQ(rec.GetDouble(0), row.number) << "type " << row.type << " from \"" << row.in << "\"";
        EXPECT_EQ(rec.IsFilled(0), row.filled) << "type " << row.type << " from \"" << row.in << "\"";
    }
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(KVRegisterTest, TextFieldOfWidthOneHoldsOneCharacterAndItsTerminator)
{
    const CKVField field("t", 1, kvText);
    rec.LayoutFields(std::span(&field, 1));
    EXPECT_EQ(rec.RecordLength(), 2);
    rec.SetText(0, "Hello");
    EXPECT_EQ(rec.Buffer()[0], 'H');
    EXPECT_EQ(rec.Buffer()[1], 0);
    EXPECT_EQ(rec.GetRaw(0), (std::vector<uint8_t>{'H', 0}));
}

TEST_F(KVRegisterTest, ShorterTextLeavesNoOldCharactersBehind)
{
    const CKVField field("t", 8, kvText);
    rec.LayoutFields(std::span(&field, 1));
    rec.SetText(0, "abcdefgh");
    rec.SetText(0, "xy");
    EXPECT_EQ(std::vector<uint8_t>(rec.Buffer().begin(), rec.Buffer().end()),
              (std::vector<uint8_t>{'x', 'y', 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(KVRegisterTest, UnknownNamesAndIndexesAreIgnored)
{
    const CKVField field("n", 0, kvInt32);
    rec.LayoutFields(std::span(&field, 1));
    rec.SetText(std::string("missing"), "5");
    rec.SetText(1, "5");
    rec.SetText(-1, "5");
    EXPECT_TRUE(rec.IsBlank());
    EXPECT_EQ(rec.GetText(std::string("missing")), "");
    EXPECT_EQ(rec.GetText(7), "");
    EXPECT_FALSE(rec.IsFilled(std::string("missing")));
    EXPECT_EQ(rec.GetDouble(3), 0.0);
    EXPECT_TRUE(rec.GetRaw(2).empty());
    const auto none = rec.FindField("N");
    EXPECT_FALSE(none.found) << "names compare case-sensitively";
    EXPECT_EQ(none.index, 0);
    EXPECT_EQ(none.type, 0);
    rec.SetText(std::string("n"), "9");
    EXPECT_EQ(rec.GetText(std::string("n")), "9");
}

TEST_F(KVRegisterTest, ArchiveFormIs34BytesPerDescriptorThenTheBuffer)
{
    const CKVField fields[] = {{"Nombre", 10, kvText}, {"Clave", 0, kvInt32, 3, "KV000001"}};
    rec.LayoutFields(fields);
    rec.SetText(0, "Ana");
    rec.SetText(1, "7");
    ArchiveWriter w;
    rec.Serialize(w);
    const std::vector<uint8_t> bytes = w.Bytes();
    ASSERT_EQ(bytes.size(), 4u + 2 * 34 + 15);
    EXPECT_EQ(bytes[0], 2);   // field count
    EXPECT_EQ(bytes[2], 15);  // record length
    const uint8_t* second = bytes.data() + 4 + 34;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second)), "Clave");
    EXPECT_EQ(second[16], 4);   // width
    EXPECT_EQ(second[18], 11);  // offset
    EXPECT_EQ(second[20], 0);   // type, 32 bits
    EXPECT_EQ(second[24], 3);   // flags
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second + 25)), "KV000001");

    CKVRegister back(prompts, locale);
    ArchiveReader r(bytes);
    back.Deserialize(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(back.GetText(0), "Ana");
    EXPECT_EQ(back.GetText(1), "7");
    EXPECT_EQ(back.Field(1).IndexName(), "KV000001");

    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
    ArchiveReader shortReader(cut);
    EXPECT_THROW(back.Deserialize(shortReader), ArchiveError);
    EXPECT_EQ(back.FieldCount(), 0) << "a failed read leaves no fields";

    std::vector<uint8_t> hugeCount = {0xFF, 0xFF, 0, 0};
    ArchiveReader hugeReader(hugeCount);
    EXPECT_THROW(back.Deserialize(hugeReader), ArchiveError);
}

TEST_F(KVRegisterTest, CopyingGoesByNameTextAsTextAndOtherTypesAsBytes)
{
    const CKVField from[] = {{"a", 0, kvInt32}, {"b", 20, kvText}, {"c", 0, kvDate}, {"d", 0, kvDouble}};
    const CKVField to[] = {{"d", 0, kvDouble}, {"a", 10, kvText}, {"x", 0, kvInt32}, {"c", 0, kvDate}};
    rec.LayoutFields(from);
    rec.SetText(0, "123");
    rec.SetText(1, "texto");
    rec.SetText(2, "5/3/99");
    rec.SetText(3, "2.5");
    CKVRegister target(prompts, locale);
    target.LayoutFields(to);
    target.SetText(2, "77");
    rec.CopyFieldsTo(target);
    EXPECT_EQ(target.GetText(0), "2.5");
    EXPECT_EQ(target.GetText(1), "123") << "a text field receives the text form";
    EXPECT_EQ(target.GetText(2), "77") << "a field without a match is left alone";
    EXPECT_EQ(target.GetText(3), "05/03/1999");

    CKVRegister partly(prompts, locale);
    partly.LayoutFields(to);
    partly.SetText(0, "9");
    rec.CopyFieldsToEmpty(partly);
    EXPECT_EQ(partly.GetText(0), "9") << "filled fields are kept";
    EXPECT_EQ(partly.GetText(1), "123");
    EXPECT_EQ(partly.GetText(3), "05/03/1999");
}

TEST_F(KVRegisterTest, IndexedFieldsMustBeFilledAndTheFirstEmptyOneIsNamed)
{
    const CKVField fields[] = {{"Libre", 0, kvInt32}, {"Clave", 0, kvInt32, 1}, {"Letra", 0, kvInt8, 1}};
    rec.LayoutFields(fields);
    EXPECT_FALSE(rec.CheckIndexedFilled());
    rec.SetText(1, "5");
    rec.SetText(2, "A");
    EXPECT_FALSE(rec.CheckIndexedFilled()) << "an 8-bit field never counts as filled";
    EXPECT_EQ(prompts.Shown(), (std::vector<std::string>{"Clave debe contener datos válidos, no puedo adicionar.",
                                                         "Letra debe contener datos válidos, no puedo adicionar."}));
}

TEST_F(KVRegisterTest, FieldNamesAreCutToWhatTheFilesHold)
{
    const CKVField f("Descripción larga del artículo", 0, kvInt32, 1, "índices123");
    EXPECT_EQ(f.Name(), "Descripción lar");  // 15 characters
    EXPECT_EQ(f.IndexName(), "índices1");    // 8 characters
    EXPECT_EQ(f.NameBytes().size(), 16u);
    EXPECT_EQ(uint8_t(f.NameBytes()[9]), 0xF3) << "stored in Windows-1252";
}
