// Reading a spreadsheet saved as CSV: the shapes clerks' spreadsheets write (separators,
// quoting, line breaks inside values, both encodings, a byte order mark, CR LF) and the
// files that must be refused whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "capture/csv_rows.h"

namespace {

struct Row {
    long sheetRow;
    std::vector<std::string> fields;
    size_t fieldCount = 0;  // 0: as many as fields
};

struct ReadCase {
    const char* name;
    std::string bytes;
    char separator;
    std::vector<std::string> header;
    std::vector<Row> rows;
    CsvEncoding encoding = CsvEncoding::Utf8;
};

std::vector<Row> ReadAll(CsvRows& csv)
{
    std::vector<Row> rows;
    CsvRecord record;
    std::string message;
    while (csv.Next(record, message))
        rows.push_back({record.sheetRow, record.fields, record.fieldCount});
    EXPECT_EQ(message, "");
    return rows;
}

}  // namespace

TEST(CsvRows, ReadsTheShapesSpreadsheetsWrite)
{
    const std::vector<ReadCase> cases = {
        {"comma, LF", "Nombre,Total\nAna,10\nLuis,20\n", ',', {"Nombre", "Total"},
         {{2, {"Ana", "10"}}, {3, {"Luis", "20"}}}},
        {"semicolon, CR LF, no final line end", "Nombre;Total\r\nAna;10,50\r\nLuis;20", ';', {"Nombre", "Total"},
         {{2, {"Ana", "10,50"}}, {3, {"Luis", "20"}}}},
        {"a comma inside quotes does not choose the separator", "\"Nombre, completo\";Total\nAna;1\n", ';',
         {"Nombre, completo", "Total"}, {{2, {"Ana", "1"}}}},
        {"doubled quotes", "A,B\n\"Dijo \"\"sí\"\"\",x\n", ',', {"A", "B"}, {{2, {"Dijo \"sí\"", "x"}}}},
        {"a quoted line break is one spreadsheet row", "A;B\r\n\"uno\r\ndos\";x\r\nz;y\r\n", ';', {"A", "B"},
         {{2, {"uno\r\ndos", "x"}}, {3, {"z", "y"}}}},
        {"blank lines count as rows but are not printed", "A,B\n\nx,1\n\r\n,\n\n\n", ',', {"A", "B"},
         {{3, {"x", "1"}}}},
        {"leading blank lines come before the header", "\n\nA,B\nx,1\n", ',', {"A", "B"}, {{4, {"x", "1"}}}},
        {"UTF-8 with its byte order mark", "\xEF\xBB\xBF" "Año;Señal\nñ;é\n", ';', {"Año", "Señal"},
         {{2, {"ñ", "é"}}}},
        {"Windows-1252", "A\xF1o;Se\xF1" "al\n\x80 5;\xE9\n", ';', {"Año", "Señal"}, {{2, {"€ 5", "é"}}},
         CsvEncoding::Windows1252},
        {"spaces around unquoted values are dropped", "A , B\n  x ,\" y \"\n", ',', {"A", "B"},
         {{2, {"x", " y "}}}},
        {"a short row keeps what it has", "A,B,C\nx\n", ',', {"A", "B", "C"}, {{2, {"x"}}}},
        {"a long row keeps the header's width and counts the rest", "A,B\nx,y,z\n", ',', {"A", "B"},
         {{2, {"x", "y"}, 3}}},
        {"a quote inside an unquoted value is a character", "Pieza,Medida\nTubo,1/2\" cobre\n", ',',
         {"Pieza", "Medida"}, {{2, {"Tubo", "1/2\" cobre"}}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        CsvRows csv;
        std::string message;
        ASSERT_TRUE(csv.OpenBytes(c.bytes, "datos.csv", message)) << message;
        EXPECT_EQ(csv.Separator(), c.separator);
        EXPECT_EQ(csv.Header(), c.header);
        EXPECT_EQ(csv.Encoding(), c.encoding);
        EXPECT_EQ(csv.DataRowCount(), long(c.rows.size()));
        const std::vector<Row> rows = ReadAll(csv);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].sheetRow, c.rows[i].sheetRow) << "row " << i;
            EXPECT_EQ(rows[i].fields, c.rows[i].fields) << "row " << i;
            const size_t count = c.rows[i].fieldCount ? c.rows[i].fieldCount : c.rows[i].fields.size();
            EXPECT_EQ(rows[i].fieldCount, count) << "row " << i;
        }
        // A second run reads the same rows again.
        ASSERT_TRUE(csv.Rewind(message));
        EXPECT_EQ(ReadAll(csv).size(), c.rows.size());
    }
}

TEST(CsvRows, ReadsHostileShapesWithoutLosingOrGarblingValues)
{
    const std::string wide = "x" + [] {
        std::string more;
        for (int i = 0; i < 100000; ++i)
            more += ",y";
        return more;
    }();
    const std::vector<ReadCase> cases = {
        {"CR-only line ends", "A,B\rx,1\r\ry,2\r", ',', {"A", "B"}, {{2, {"x", "1"}}, {4, {"y", "2"}}}},
        {"a row of 100000 values keeps the header's width and counts them", "A,B\n" + wide + "\n", ',',
         {"A", "B"}, {{2, {"x", "y"}, 100001}}},
        {"a value of nearly 1 MB", "A\n" + std::string(kCsvMaxFieldBytes - 1, 'v') + "\n", ',', {"A"},
         {{2, {std::string(kCsvMaxFieldBytes - 1, 'v')}}}},
        // One row pasted from an older spreadsheet: the other rows stay as written.
        {"mostly UTF-8 with one Windows-1252 row", "Nombre;Ciudad\nJos\xC3\xA9;Le\xC3\xB3n\nPe\xF1" "a;Ni\xF1o\n", ';',
         {"Nombre", "Ciudad"}, {{2, {"José", "León"}}, {3, {"Peña", "Niño"}}}, CsvEncoding::Windows1252},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        CsvRows csv;
        std::string message;
        ASSERT_TRUE(csv.OpenBytes(c.bytes, "datos.csv", message)) << message;
        EXPECT_EQ(csv.Separator(), c.separator);
        EXPECT_EQ(csv.Header(), c.header);
        EXPECT_EQ(csv.Encoding(), c.encoding);
        const std::vector<Row> rows = ReadAll(csv);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].sheetRow, c.rows[i].sheetRow) << "row " << i;
            EXPECT_EQ(rows[i].fields, c.rows[i].fields) << "row " << i;
            const size_t count = c.rows[i].fieldCount ? c.rows[i].fieldCount : c.rows[i].fields.size();
            EXPECT_EQ(rows[i].fieldCount, count) << "row " << i;
        }
    }
}

TEST(CsvRows, RefusesFilesThatAreNoSpreadsheetRows)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"empty", "", "le falta el renglón de encabezado"},
        {"only blank lines", "\r\n\n;;\n", "le falta el renglón de encabezado"},
        {"a quote never closed", "A,B\nx,\"abierto\ny,z\n", "comillas sin cerrar en el renglón 2"},
        {"UTF-16", std::string("\xFF\xFE" "A\0,\0B\0", 8), "UTF-16"},
        {"a workbook, not a CSV", std::string("PK\x03\x04\x14\0\0\0", 8), "no un CSV"},
        {"binary bytes", std::string("A,B\nx\0y,1\n", 10), "datos binarios"},
        {"a field over the limit", "A\n\"" + std::string(kCsvMaxFieldBytes + 10000, 'x') + "\"\n", "renglón 2"},
        {"too many columns", std::string(kCsvMaxColumns + 5, ',') + "\n", "columnas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CsvRows csv;
        std::string message;
        EXPECT_FALSE(csv.OpenBytes(c.bytes, "datos.csv", message));
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_NE(message.find("«datos.csv»"), std::string::npos) << message;
    }
}

TEST(CsvRows, ReadsAFileInChunksWithRowsAcrossTheirBorders)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "ordexa_csv_rows_test.csv";
    {
        std::ofstream out(path, std::ios::binary);
        out << "\xEF\xBB\xBFNombre;Nota\r\n";
        for (int i = 1; i <= 20000; ++i)
            out << "Cliente " << i << ";\"línea 1\r\nlínea \"\"" << i << "\"\"\"\r\n";
    }
    CsvRows csv;
    std::string message;
    ASSERT_TRUE(csv.Open(path.string(), message)) << message;
    EXPECT_EQ(csv.Label(), "ordexa_csv_rows_test.csv");
    EXPECT_EQ(csv.DataRowCount(), 20000);
    CsvRecord record;
    long count = 0;
    while (csv.Next(record, message)) {
        ++count;
        ASSERT_EQ(record.sheetRow, count + 1);
        ASSERT_EQ(record.fields[0], "Cliente " + std::to_string(count));
        ASSERT_EQ(record.fields[1], "línea 1\r\nlínea \"" + std::to_string(count) + "\"");
    }
    EXPECT_EQ(message, "");
    EXPECT_EQ(count, 20000);
    std::filesystem::remove(path);
}

TEST(CsvRows, RefusesAMissingFileAndAFolderInSpanish)
{
    CsvRows csv;
    std::string message;
    EXPECT_FALSE(csv.Open("/nonexistent/ordexa/datos.csv", message));
    EXPECT_NE(message.find("no existe"), std::string::npos) << message;
    EXPECT_FALSE(csv.Open(std::filesystem::temp_directory_path().string(), message));
    EXPECT_NE(message.find("carpeta"), std::string::npos) << message;
}

TEST(Utf8Validator, TellsUtf8FromWindows1252)
{
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"plain ASCII", true},
        {"a\xC3\xB1o", true},                   // año
        {"\xE2\x82\xAC", true},                 // €
        {"\xF0\x9F\x98\x80", true},             // an emoji
        {"a\xF1o", false},                      // año in Windows-1252
        {"\xC0\xAF", false},                    // overlong
        {"\xED\xA0\x80", false},                // a surrogate
        {"\xF4\x90\x80\x80", false},            // past U+10FFFF
        {"\xE2\x82", false},                    // cut short
        {"\xE9t\xE9", false},                   // été in Windows-1252
    };
    for (const auto& c : cases) {
        Utf8Validator validator;
        validator.Feed(c.bytes);
        EXPECT_EQ(validator.Valid(), c.valid) << c.bytes;
    }
    // A sequence split between two chunks is still one character.
    Utf8Validator split;
    split.Feed("a\xE2\x82");
    split.Feed("\xAC");
    EXPECT_TRUE(split.Valid());
}
