// Batch printing from a spreadsheet: the header mapped onto the format's fields, each row
// filled as typed (calculations included) on a session of the batch's own, refused rows
// left out and named by their spreadsheet row, and the pages of a PDF read back.
#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>

#include "capture/batch_print.h"
#include "capture_fixture.h"
#include "platform/batch_printer.h"
#include "platform/format_printer.h"
#include "pdf_words.h"

namespace {

namespace fs = std::filesystem;

// Every page's value lines, as ordexa-cli calc prints them.
class RecordingSink : public BatchPageSink {
public:
    std::vector<std::vector<std::string>> pages;

    bool Continue(long, long total) override
    {
        totals.push_back(total);
        return true;
    }
    bool PrintPage(const CaptureSession& session) override
    {
        pages.push_back(session.ValueLines());
        return true;
    }
    std::vector<long> totals;
};

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct InvoiceBatch {
    FixedLocale locale;
    BatchPrint batch{locale};

    InvoiceBatch() { Load(); }
    void Load()
    {
        std::string message;
        ASSERT_TRUE(batch.CopyFormat(InvoiceFormat(false), "/tmp/Factura.fmt", message)) << message;
    }
    bool Open(const std::string& csv, std::string& message)
    {
        return batch.OpenRowsBytes(csv, "clientes.csv", message);
    }
};

int PageCount(const std::string& pdf)
{
    QProcess p;
    p.start("pdfinfo", {QString::fromStdString(pdf)});
    p.waitForFinished(20000);
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

}  // namespace

TEST(BatchHeader, MapsNamesWithoutRegardToCaseAndLeavesOutColumnsThatNameNothing)
{
    const struct {
        const char* name;
        std::vector<std::string> header;
        bool accepted;
        const char* says;  // a part of the refusal, or the columns left out
    } cases[] = {
        {"names in any case, cells, a blank column", {"notas", "DETALLE[1,1]", "", " Pagada ", "detalle[3,4]"}, true, ""},
        {"unknown columns among good ones", {"ID", "Notas", "Descuento[1,1]"}, true, "ID|Descuento[1,1]"},
        {"no column names a field", {"Nombre", "Apellido"}, false, "no nombra ningún campo"},
        {"an empty header", {"", " "}, false, "no nombra ningún campo"},
        {"a cell outside the table", {"Detalle[4,1]"}, false, "fuera de la tabla"},
        {"a table named whole", {"Detalle"}, false, "[RENGLON,COLUMNA]"},
        {"a field that is not a table", {"Notas[1,1]"}, false, "no es una tabla"},
        {"a malformed cell", {"Notas", "Detalle[0,1]"}, false, "«Detalle[0,1]» del archivo «clientes.csv» no es una celda"},
        {"a cell split at its comma", {"Notas", "Detalle[1", "1]"}, false, "entre comillas"},
        {"a field named twice", {"Notas", "NOTAS"}, false, "el mismo campo"},
    };
    InvoiceBatch f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BatchColumn> columns;
        std::vector<std::string> ignored;
        std::string message;
        EXPECT_EQ(MapBatchHeader(f.batch.Session(), c.header, "clientes.csv", columns, ignored, message), c.accepted)
            << message;
        if (!c.accepted) {
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
        } else {
            std::string names;
            for (const std::string& name : ignored)
                names += (names.empty() ? "" : "|") + name;
            EXPECT_EQ(names, c.says);
        }
    }
    EXPECT_EQ(IgnoredColumnsMessage({"ID", "Nota"}, "c.csv", "F.fmt"),
              "Se omiten las columnas «ID» y «Nota» del archivo «c.csv»: no nombran ningún campo del formato «F.fmt».");
    // Values are typed in capture order, whatever the order of the columns.
    std::vector<BatchColumn> columns;
    std::vector<std::string> ignored;
    std::string message;
    ASSERT_TRUE(MapBatchHeader(f.batch.Session(), {"RFC", "Detalle[2,1]", "Pagada", "Detalle[1,3]"}, "c.csv", columns,
                               ignored, message));
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].csvIndex, 3u);  // Detalle (order 1), row 1
    EXPECT_EQ(columns[1].csvIndex, 1u);  // Detalle, row 2
    EXPECT_EQ(columns[2].csvIndex, 2u);  // Pagada (order 6)
    EXPECT_EQ(columns[3].csvIndex, 0u);  // RFC (order 8)
}

TEST(BatchPrint, EachRowIsTypedWithItsCalculationsOnAClearedForm)
{
    InvoiceBatch f;
    std::string message;
    ASSERT_TRUE(f.Open("Detalle[1,1];Detalle[1,3];detalle[2,1];Detalle[2,3];Pagada;Notas;RFC\r\n"
                       "2;100;1;50;1;\"Entregar\r\nen la tarde\";ABCDEFGHIJKLMNOPQ\r\n"
                       "3;10;;;0;;XYZ\r\n",
                       message))
        << message;
    EXPECT_EQ(f.batch.RowCount(), 2);
    RecordingSink sink;
    const BatchOutcome outcome = f.batch.Run(sink);
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(outcome.refusedCount, 0);
    ASSERT_EQ(sink.pages.size(), 2u);
    const auto& first = sink.pages[0];
    EXPECT_TRUE(Has(first, "Detalle[1,4]=200"));
    EXPECT_TRUE(Has(first, "Subtotal=250.00"));
    EXPECT_TRUE(Has(first, "Impuesto=40.00"));
    EXPECT_TRUE(Has(first, "Total=290.00"));
    EXPECT_TRUE(Has(first, "Letra=" + std::string("DOSCIENTOS NOVENTA PESOS 00/100 M.N.")));
    EXPECT_TRUE(Has(first, "Pagada=1"));
    EXPECT_TRUE(Has(first, "Notas=Entregar\\nen la tarde"));
    EXPECT_TRUE(Has(first, "RFC=ABCDEFGH")) << "a box field keeps as many characters as it has boxes";
    // The second page shows its own row only: nothing of the first is left over.
    const auto& second = sink.pages[1];
    EXPECT_TRUE(Has(second, "Subtotal=30.00"));
    EXPECT_TRUE(Has(second, "Total=34.80"));
    EXPECT_TRUE(Has(second, "Pagada=0"));
    EXPECT_TRUE(Has(second, "Notas="));
    for (const std::string& line : second)
        EXPECT_EQ(line.find("Detalle[2,"), std::string::npos) << line;
    EXPECT_EQ(sink.totals.front(), 2);

    // Running again prints the same pages.
    RecordingSink again;
    EXPECT_EQ(f.batch.Run(again).printed, 2);
    EXPECT_EQ(again.pages, sink.pages);
}

TEST(BatchPrint, ARefusedRowIsLeftOutAndNamedByItsSpreadsheetRow)
{
    InvoiceBatch f;
    std::string message;
    ASSERT_TRUE(f.Open("\"Detalle[1,1]\",Pagada,RFC\n"
                       "1,1,AAA\n"
                       "abc,1,BBB\n"      // row 3: not a number
                       "\n"               // row 4: blank
                       "2,sí,CCC\n"       // row 5: a check mark takes 1 or 0
                       "3,0,DDD,extra\n"  // row 6: more values than columns
                       "3,0,GGG,,\n"      // row 7: empty cells past the header are nothing
                       "\"4\n\",0,EEE\n"  // row 8 (a line break inside quotes)
                       "5,1,FFF\n",       // row 9
                       message))
        << message;
    RecordingSink sink;
    const BatchOutcome outcome = f.batch.Run(sink);
    EXPECT_EQ(outcome.printed, 4);
    ASSERT_EQ(outcome.refusedCount, 3);
    ASSERT_EQ(outcome.refused.size(), 3u);
    EXPECT_EQ(outcome.refused[0].sheetRow, 3);
    EXPECT_NE(outcome.refused[0].reason.find("«abc»"), std::string::npos) << outcome.refused[0].reason;
    EXPECT_EQ(outcome.refused[1].sheetRow, 5);
    EXPECT_NE(outcome.refused[1].reason.find("«Pagada»"), std::string::npos) << outcome.refused[1].reason;
    EXPECT_EQ(outcome.refused[2].sheetRow, 6);
    EXPECT_NE(outcome.refused[2].reason.find("4 valores"), std::string::npos) << outcome.refused[2].reason;
    ASSERT_EQ(sink.pages.size(), 4u);
    EXPECT_TRUE(Has(sink.pages[0], "RFC=AAA"));
    EXPECT_TRUE(Has(sink.pages[1], "RFC=GGG"));
    EXPECT_TRUE(Has(sink.pages[2], "RFC=EEE"));
    EXPECT_TRUE(Has(sink.pages[3], "RFC=FFF"));

    const std::string summary = BatchPrint::Summary(outcome, "clientes.csv");
    EXPECT_NE(summary.find("Se imprimieron 4 registros de «clientes.csv»."), std::string::npos) << summary;
    EXPECT_NE(summary.find("Renglón 3: "), std::string::npos) << summary;
    EXPECT_NE(summary.find("Renglón 6: "), std::string::npos) << summary;
}

TEST(BatchPrint, AValueACalculationReadsMustBeAnAmountAndItsWordsMustFit)
{
    InvoiceBatch f;
    std::string message;
    // A decimal comma must not be read as 1 or 15, nor a too large total printed without
    // its words; amounts as the program writes them read whole.
    ASSERT_TRUE(f.Open("Subtotal;Notas\n1,5;x\n1.5;y\n\"$1,000.00\";z\n1000000000000;w\n", message)) << message;
    RecordingSink sink;
    const BatchOutcome outcome = f.batch.Run(sink);
    ASSERT_EQ(outcome.refused.size(), 2u);
    EXPECT_EQ(outcome.refused[0].sheetRow, 2);
    EXPECT_NE(outcome.refused[0].reason.find("«1,5» no es una cantidad"), std::string::npos) << outcome.refused[0].reason;
    EXPECT_EQ(outcome.refused[1].sheetRow, 5);
    EXPECT_NE(outcome.refused[1].reason.find("demasiado grande"), std::string::npos) << outcome.refused[1].reason;
    ASSERT_EQ(sink.pages.size(), 2u);
    EXPECT_TRUE(Has(sink.pages[0], "Total=1.74"));
    EXPECT_TRUE(Has(sink.pages[1], "Total=1160.00"));
    // A field no calculation reads takes any text.
    ASSERT_TRUE(f.Open("Notas\n\"1,5\"\n", message)) << message;
    EXPECT_EQ(f.batch.Run(sink).printed, 1);
}

TEST(BatchPrint, ARefusalQuotesTheStartOfAHugeValueNotAllOfIt)
{
    InvoiceBatch f;
    std::string message;
    // Values near the 1 MB limit, refused by a calculation and by a table cell: the
    // summary a clerk reads stays a list of sentences, not megabytes of the file.
    const std::string huge = "abc" + std::string(900000, 'x');
    std::string csv = "Subtotal;\"Detalle[1,1]\";RFC\n";
    for (int i = 0; i < 10; ++i)
        csv += huge + ";1;A\n1;" + huge + ";B\n";
    ASSERT_TRUE(f.Open(csv, message)) << message;
    RecordingSink sink;
    const BatchOutcome outcome = f.batch.Run(sink);
    ASSERT_EQ(outcome.refusedCount, 20);
    for (const BatchRefusedRow& row : outcome.refused) {
        EXPECT_LT(row.reason.size(), 600u) << row.sheetRow;
        EXPECT_NE(row.reason.find("abcxxx"), std::string::npos) << row.reason.substr(0, 300);
        EXPECT_NE(row.reason.find("…"), std::string::npos) << row.reason.substr(0, 300);
    }
    EXPECT_NE(outcome.refused[0].reason.find("no es una cantidad"), std::string::npos) << outcome.refused[0].reason;
    EXPECT_LT(BatchPrint::Summary(outcome, "clientes.csv").size(), 20000u);
}

TEST(BatchPrint, AHeaderAloneHasNothingToPrint)
{
    InvoiceBatch f;
    std::string message;
    EXPECT_FALSE(f.Open("RFC;Notas\r\n\r\n", message));
    EXPECT_NE(message.find("solo tiene el encabezado"), std::string::npos) << message;
}

TEST(BatchPrinter, EveryPageOfThePdfHoldsItsRowWhereTheFormatPutsIt)
{
    const fs::path folder = fs::temp_directory_path() / ("ordexa-batch-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string format = ORDEXA_SAMPLES "/Factura.fmt";
    const std::string csv = (folder / "facturas.csv").string();
    {
        std::ofstream out(csv, std::ios::binary);
        // Windows-1252, semicolons, as a spreadsheet in Spanish saves it.
        out << "CLIENTE;rfc;DETALLE[1,1];DETALLE[1,2];Contado\r\n"
               "Ferreter\xED" "a;AAA010101;2;100;1\r\n"
               "Tlapaler\xED" "a;BBB020202;1;50;0\r\n"
               "Refaccionaria;CCC030303;3;10;1\r\n";
    }
    FixedLocale locale;
    BatchPrint batch(locale);
    std::string message;
    ASSERT_TRUE(batch.LoadFormat(format, message)) << message;
    ASSERT_TRUE(batch.OpenRows(csv, message)) << message;
    const std::string pdf = (folder / "lote.pdf").string();
    BatchOutcome outcome;
    std::vector<long> seen;
    ASSERT_TRUE(PrintBatchToPdfFile(pdf, FullSheetLayout(PaperSize::Letter), batch, {0, 0},
                                    [&](long done, long) {
                                        seen.push_back(done);
                                        return true;
                                    },
                                    outcome, message))
        << message;
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(seen, (std::vector<long>{0, 1, 2, 3}));
    ASSERT_EQ(PageCount(pdf), 3);

    // Each page against the single printout of the same values.
    const struct {
        const char* client;
        const char* rfc;
        const char* quantity;
        const char* price;
        const char* total;
        const char* words;  // the first word of the amount in words
    } pages[] = {
        {"Ferretería", "AAA010101", "2", "100", "232.00", "DOSCIENTOS"},
        {"Tlapalería", "BBB020202", "1", "50", "58.00", "CINCUENTA"},
        {"Refaccionaria", "CCC030303", "3", "10", "34.80", "TREINTA"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(pages[i].client);
        CaptureFixture single;
        ASSERT_TRUE(single.session.LoadFormat(format, message)) << message;
        single.session.BuildEntryControls(single.dc, single.factory, LogFont{});
        single.Type("CLIENTE", pages[i].client);
        single.Type("RFC", pages[i].rfc);
        single.TypeCell("DETALLE", 1, 1, pages[i].quantity);
        single.TypeCell("DETALLE", 1, 2, pages[i].price);
        const std::string alone = (folder / "sola.pdf").string();
        ASSERT_TRUE(PrintToPdfFile(alone, PaperSize::Letter, single.session.GetFormat().elements, {0, 0}, message));

        const auto batchWords = PdfWords(QString::fromStdString(pdf), i + 1);
        const auto aloneWords = PdfWords(QString::fromStdString(alone), 1);
        for (const char* text : {pages[i].client, pages[i].rfc, pages[i].total, pages[i].words}) {
            double batchX = 0, batchY = 0, aloneX = 0, aloneY = 0;
            ASSERT_TRUE(FindPdfWord(batchWords, QString::fromUtf8(text), batchX, batchY)) << text;
            ASSERT_TRUE(FindPdfWord(aloneWords, QString::fromUtf8(text), aloneX, aloneY)) << text;
            EXPECT_NEAR(batchX, aloneX, 0.01) << text;
            EXPECT_NEAR(batchY, aloneY, 0.01) << text;
        }
        // The client's name starts where the format puts CLIENTE: 42 mm from the left.
        double clientX = 0, clientY = 0;
        ASSERT_TRUE(FindPdfWord(batchWords, QString::fromUtf8(pages[i].client), clientX, clientY));
        EXPECT_NEAR(clientX, 420 * 72.0 / 254.0, 1.5);
        // Nothing of another row is on this page.
        for (int j = 0; j < 3; ++j) {
            double otherX = 0, otherY = 0;
            if (j != i) {
                EXPECT_FALSE(FindPdfWord(batchWords, QString::fromUtf8(pages[j].rfc), otherX, otherY)) << pages[j].rfc;
            }
        }
    }
    fs::remove_all(folder);
}

TEST(BatchPrinter, ACancelledOrEmptyBatchLeavesTheTargetAsItWas)
{
    const fs::path folder = fs::temp_directory_path() / ("ordexa-batch-cancel-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    FixedLocale locale;
    BatchPrint batch(locale);
    std::string message;
    ASSERT_TRUE(batch.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message)) << message;
    ASSERT_TRUE(batch.OpenRowsBytes("CLIENTE\nUno\nDos\nTres\n", "c.csv", message)) << message;

    const std::string pdf = (folder / "lote.pdf").string();
    BatchOutcome outcome;
    EXPECT_FALSE(PrintBatchToPdfFile(pdf, FullSheetLayout(PaperSize::A4), batch, {0, 0},
                                     [](long done, long) { return done < 2; }, outcome, message));
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_NE(message.find("canceló"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_empty(folder)) << "a cancelled batch leaves no file, temporary or not";

    // An older file there stays as it was.
    { std::ofstream(pdf) << "antes"; }
    EXPECT_FALSE(PrintBatchToPdfFile(pdf, FullSheetLayout(PaperSize::A4), batch, {0, 0},
                                     [](long done, long) { return done < 1; }, outcome, message));
    std::ifstream in(pdf);
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "antes");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // Every row refused: nothing is written.
    ASSERT_TRUE(batch.OpenRowsBytes("CONTADO\nquizá\n", "c.csv", message)) << message;
    fs::remove(pdf);
    EXPECT_FALSE(PrintBatchToPdfFile(pdf, FullSheetLayout(PaperSize::A4), batch, {0, 0}, nullptr, outcome, message));
    EXPECT_EQ(outcome.refusedCount, 1);
    EXPECT_FALSE(fs::exists(pdf));
    fs::remove_all(folder);
}

TEST(BatchPrinter, APrinterWithAnUnprintableMarginPrintsWhereThePdfFileDoes)
{
    const fs::path folder = fs::temp_directory_path() / ("ordexa-batch-printer-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    FixedLocale locale;
    BatchPrint batch(locale);
    std::string message;
    ASSERT_TRUE(batch.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message)) << message;
    ASSERT_TRUE(batch.OpenRowsBytes("CLIENTE;RFC\nRosa;AAA\nLuz;BBB\n", "c.csv", message)) << message;

    const std::string direct = (folder / "directo.pdf").string();
    BatchOutcome outcome;
    ASSERT_TRUE(PrintBatchToPdfFile(direct, FullSheetLayout(PaperSize::Letter), batch, {100, 50}, nullptr, outcome,
                                    message))
        << message;

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string viaPrinter = (folder / "impresora.pdf").string();
    printer.setOutputFileName(QString::fromStdString(viaPrinter));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(12, 9, 12, 9), QPageLayout::Millimeter);
    ASSERT_TRUE(PrintBatchOnPrinter(printer, batch, {100, 50}, nullptr, outcome, message)) << message;
    EXPECT_EQ(outcome.printed, 2);
    ASSERT_EQ(PageCount(viaPrinter), 2);
    for (int page = 1; page <= 2; ++page) {
        const char* rfc = page == 1 ? "AAA" : "BBB";
        double ax = 0, ay = 0, bx = 0, by = 0;
        ASSERT_TRUE(FindPdfWord(PdfWords(QString::fromStdString(direct), page), rfc, ax, ay));
        ASSERT_TRUE(FindPdfWord(PdfWords(QString::fromStdString(viaPrinter), page), rfc, bx, by));
        EXPECT_NEAR(ax, bx, 0.05);
        EXPECT_NEAR(ay, by, 0.05);
    }
    fs::remove_all(folder);
}
