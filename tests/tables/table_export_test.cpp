#include "tables/tabla.h"
#include "tables/table_editor.h"
#include "tables/table_export.h"
#include "test_support.h"

#include <cstdio>

namespace {

// Two columns (a text of width 30 and a float) with three records, for every format.
class TableExportTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScratchFolder other;
    ScriptedPrompts prompts;
    FixedLocale locale = MexicanLocale();
    CTabla table{prompts, locale};
    CTablaEditor editor{prompts, locale};

    void SetUp() override
    {
        const CKVField fields[] = {{"Concepto", 30, kvText}, {"Importe", 0, kvFloat}};
        ASSERT_TRUE(table.Create(dir / "conceptos", fields, true));
        ASSERT_TRUE(editor.Attach(&table));
        editor.BuildColumns();
        editor.Reset();
        const std::pair<const char*, const char*> rows[] = {
            {"Renta", "1500.5"}, {"Luz y señal", "-230"}, {"Agua", "99.99"}};
        for (const auto& [concepto, importe] : rows) {
            editor.TypeIntoCell(editor.RowCount(), 1, concepto, TablaKey::F3);
            ASSERT_TRUE(editor.TypeIntoCell(editor.RowCount(), 2, importe, TablaKey::Enter));
        }
    }
    static std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
    // Runs a command and gives what it printed.
    static std::string Run(const std::string& command)
    {
        std::string out;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return out;
        char buf[512];
        while (size_t n = std::fread(buf, 1, sizeof buf, pipe))
            out.append(buf, n);
        ::pclose(pipe);
        return out;
    }
};

}  // namespace

TEST_F(TableExportTest, TextExportHasHeaderEmptyLineAndOneTabbedLinePerRecord)
{
    editor.ToggleCurrency(2);
    ASSERT_TRUE(ExportTable(editor, dir / "salida.txt", prompts, locale));
    const std::string text = AsText(FileBytes(dir / "salida.txt"));
    EXPECT_EQ(text,
              "Concepto\tImporte\t\r\n"
              "\r\n"
              "Renta\t$ 1,500.50\t\r\n"
              "Luz y se\xF1" "al\t-$ 230.00\t\r\n"
              "Agua\t$ 99.99\t\r\n");
}

TEST_F(TableExportTest, TextExportLeavesOutColumnsOfNoWidthAndUsesTitles)
{
    editor.SetColumnWidth(1, 0);
    editor.SetColumnTitle(2, "Monto");
    const std::string text = AsText(BuildTxtExport(editor));
    EXPECT_EQ(text, "Monto\t\r\n\r\n1500.5\t\r\n-230\t\r\n99.99\t\r\n");
}

TEST_F(TableExportTest, DbfHeaderFieldsAndRecordsFollowThePublishedLayout)
{
    const std::vector<uint8_t> dbf = BuildDbfExport(editor, CalendarDate{2024, 3, 7});
    ASSERT_GE(dbf.size(), 97u);
    EXPECT_EQ(dbf[0], 0x03);
    EXPECT_EQ((std::vector<uint8_t>{dbf[1], dbf[2], dbf[3]}), (std::vector<uint8_t>{124, 3, 7}));
    EXPECT_EQ(U32At(dbf, 4), 3u) << "record count";
    EXPECT_EQ(dbf[8] | (dbf[9] << 8), 97) << "header length 32 + 2 x 32 + 1";
    EXPECT_EQ(dbf[10] | (dbf[11] << 8), 51) << "record length 1 + 30 + 20";
    EXPECT_EQ(std::string(dbf.begin() + 32, dbf.begin() + 43), std::string("Concepto\0\0\0", 11));
    EXPECT_EQ(dbf[32 + 11], 'C');
    EXPECT_EQ(dbf[32 + 16], 30);
    EXPECT_EQ(dbf[64 + 11], 'N');
    EXPECT_EQ(dbf[64 + 16], 20);
    EXPECT_EQ(dbf[64 + 17], 2);
    EXPECT_EQ(dbf[96], 0x0D);
    EXPECT_EQ(dbf.size(), 97u + 3 * 51 + 1);
    EXPECT_EQ(dbf.back(), 0x1A);
    const std::string first(dbf.begin() + 97, dbf.begin() + 97 + 51);
    EXPECT_EQ(first, " " + std::string("Renta") + std::string(25, ' ') + std::string(13, ' ') + "1500.50");
}

TEST_F(TableExportTest, DbfOfEveryFieldKind)
{
    ScriptedPrompts p;
    CTabla kinds(p, locale);
    const CKVField fields[] = {{"Entero", 0, kvInt16},   {"Fecha", 0, kvDate},   {"Activo", 0, kvBool},
                               {"Byte", 0, kvUInt8},     {"Doble", 0, kvDouble}, {"NombreMuyLargo", 4, kvText}};
    ASSERT_TRUE(kinds.Create(dir / "tipos", fields, true));
    CTablaEditor ed(p, locale);
    ASSERT_TRUE(ed.Attach(&kinds));
    ed.BuildColumns();
    ed.Reset();
    ed.TypeIntoCell(1, 1, "-42", TablaKey::F3);
    ed.TypeIntoCell(1, 3, "TRUE", TablaKey::F3);
    ed.TypeIntoCell(1, 5, "2.5", TablaKey::F3);
    ASSERT_TRUE(ed.TypeIntoCell(1, 6, "abcdefgh", TablaKey::Enter));
    ed.TypeIntoCell(2, 2, "5/3/1999", TablaKey::F3);
    ASSERT_TRUE(ed.TypeIntoCell(2, 6, "x", TablaKey::Enter));

    const std::vector<uint8_t> dbf = BuildDbfExport(ed, CalendarDate{2024, 1, 2});
    struct Expect {
        const char* name;
        char type;
        int length, decimals;
    };
    const Expect expected[] = {{"Entero", 'N', 20, 0}, {"Fecha", 'D', 8, 0}, {"Activo", 'L', 1, 0},
                               {"Byte", 'C', 1, 0},    {"Doble", 'C', 20, 0}, {"NombreMuyL", 'C', 4, 0}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].name);
        const size_t at = 32 + 32 * i;
        std::string name = expected[i].name;
        name.resize(11, '\0');
        EXPECT_EQ(std::string(dbf.begin() + long(at), dbf.begin() + long(at) + 11), name);
        EXPECT_EQ(char(dbf[at + 11]), expected[i].type);
        EXPECT_EQ(dbf[at + 16], expected[i].length);
        EXPECT_EQ(dbf[at + 17], expected[i].decimals);
    }
    const size_t header = 32 + 32 * std::size(expected) + 1;
    const size_t length = 1 + 20 + 8 + 1 + 1 + 20 + 4;
    const std::string r1(dbf.begin() + long(header), dbf.begin() + long(header + length));
    const std::string r2(dbf.begin() + long(header + length), dbf.begin() + long(header + 2 * length));
    EXPECT_EQ(r1, " " + std::string(17, ' ') + "-42" + "19000101" + "T" + "0" + "2.50" + std::string(16, ' ') + "abcd");
    EXPECT_EQ(r2, " " + std::string(19, ' ') + "0" + "19990305" + "F" + "0" + "0.00" + std::string(16, ' ') + "x   ");
}

TEST_F(TableExportTest, AnIndependentDbaseReaderReadsTheExport)
{
#ifdef _WIN32
    GTEST_SKIP() << "the independent dBase reader (python3-dbfread) runs on Linux";
#endif
    if (Run("/usr/bin/python3 -c 'import dbfread' 2>&1 && echo ok").find("ok") == std::string::npos)
        GTEST_SKIP() << "python3-dbfread is not installed";
    ASSERT_TRUE(ExportTable(editor, dir / "salida.dbf", prompts, locale));
    const std::string script =
        "import dbfread,sys\n"
        "t = dbfread.DBF(sys.argv[1], encoding='cp1252')\n"
        "print(t.header.headerlen, t.header.recordlen, len(t))\n"
        "for r in t: print('%s|%.2f' % (r['Concepto'], r['Importe']))\n";
    const std::string out = Run("/usr/bin/python3 -c \"" + script + "\" '" + (dir / "salida.dbf") + "' 2>&1");
    EXPECT_EQ(out, "97 51 3\nRenta|1500.50\nLuz y señal|-230.00\nAgua|99.99\n");
}

TEST_F(TableExportTest, TableFileExportCopiesTheRecordsIntoAnotherFolder)
{
    ASSERT_TRUE(ExportTable(editor, other / "copia.dat", prompts, locale));
    EXPECT_TRUE(std::filesystem::exists(other / "copia.DAT"));
    // Read back through a table of the same layout over a copy of the data file.
    const std::vector<uint8_t> copied = FileBytes(other / "copia.DAT");
    const std::vector<uint8_t> shown = FileBytes(table.DataPath());
    EXPECT_EQ(copied.size(), shown.size()) << "same header and the same number of slots";
    const size_t length = table.RecordLength();
    EXPECT_TRUE(std::equal(copied.end() - long(4 * length), copied.end(), shown.end() - long(4 * length)))
        << "the records and the blank slot are byte for byte the same";
}

TEST_F(TableExportTest, TableFileExportIntoTheTablesOwnFolderIsRefused)
{
    EXPECT_FALSE(ExportTable(editor, dir / "copia.dat", prompts, locale));
    ASSERT_FALSE(prompts.Shown().empty());
    EXPECT_EQ(prompts.Shown().back(), kMsgChooseOtherFolder);
    EXPECT_FALSE(std::filesystem::exists(dir / "copia.DAT"));
}

TEST_F(TableExportTest, FormatFollowsTheExtensionInAnyCaseAndOthersWriteNothing)
{
    EXPECT_EQ(ExportFormatOfPath("a/b.TxT"), TableExportFormat::Txt);
    EXPECT_EQ(ExportFormatOfPath("b.DBF"), TableExportFormat::Dbf);
    EXPECT_EQ(ExportFormatOfPath("b.dat"), TableExportFormat::Dat);
    EXPECT_FALSE(ExportTable(editor, other / "b.csv", prompts, locale));
    EXPECT_TRUE(other.Names().empty());
}

TEST_F(TableExportTest, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft)
{
    EXPECT_FALSE(ExportTable(editor, other / "no-existe/salida.txt", prompts, locale));
    ASSERT_FALSE(prompts.Shown().empty());
    EXPECT_NE(prompts.Shown().back().find("salida.txt"), std::string::npos);
}
