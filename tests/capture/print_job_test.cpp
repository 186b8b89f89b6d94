// The print job: every element prints with page (0, 0) on the sheet's corner moved by
// the print offsets, checked on a recording surface and on a real PDF read back by an
// independent reader.
#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <cmath>
#include <filesystem>

#include "capture_fixture.h"
#include "model/linea.h"
#include "platform/format_printer.h"
#include "pdf_words.h"

namespace {

namespace fs = std::filesystem;

constexpr double kPointsPerUnit = 72.0 / 254.0;

}  // namespace

TEST(PrintJob, OffsetsMoveEveryElementRightAndDown)
{
    CaptureFixture f;
    Format format;
    format.elements.push_back(Line("Nombre", 1, "", 300, -400));
    f.Open(std::move(format));
    f.Type("Nombre", "Rosa");

    RecordingDc sheet;
    sheet.SetMapMode(MapMode::Pixels);
    f.session.Print(sheet, {100, 50});
    EXPECT_EQ(sheet.GetMapMode(), MapMode::LoMetric);
    ASSERT_EQ(sheet.texts.size(), 1u);
    EXPECT_EQ(sheet.texts[0].text, "Rosa");
    EXPECT_TRUE(sheet.texts[0].transparent);

    RecordingDc unshifted;
    f.session.Print(unshifted, {0, 0});
    ASSERT_EQ(unshifted.texts.size(), 1u);
    EXPECT_EQ(sheet.texts[0].x, unshifted.texts[0].x + 100);
    EXPECT_EQ(sheet.texts[0].y, unshifted.texts[0].y - 50);
    EXPECT_EQ(sheet.texts[0].clip, unshifted.texts[0].clip.Offset(100, -50));
}

TEST(PrintJob, OffsetsTypedInCentimetresAreTruncatedToTenthsOfAMillimetre)
{
    EXPECT_EQ(OffsetUnitsFromCentimetres(0.29), 28);
    EXPECT_EQ(OffsetUnitsFromCentimetres(1), 100);
    EXPECT_EQ(OffsetUnitsFromCentimetres(-0.5), -50);
    EXPECT_EQ(OffsetUnitsFromCentimetres(1e300), 1000000);
    MemorySettingsStore settings;
    EXPECT_EQ(ReadPrintOffsets(settings).facX, 0);
    WritePrintOffsets(settings, {28, -7});
    EXPECT_EQ(ReadPrintOffsets(settings).facX, 28);
    EXPECT_EQ(ReadPrintOffsets(settings).facY, -7);
}

TEST(PrintJob, APrintedValueLandsAtItsFormatPositionOnThePdf)
{
    const fs::path folder = fs::temp_directory_path() / ("ordexa-print-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    CaptureFixture f;
    Format format;
    // Left-aligned, 30 mm from the left edge, bottom 40 mm below the top.
    format.elements.push_back(Line("Nombre", 1, "", 300, -400));
    f.Open(std::move(format));
    f.Type("Nombre", "Rosalinda");

    struct Run {
        PrintOffsets offsets;
        double dxMm, dyMm;
    };
    double x0 = 0, y0 = 0;
    for (const Run& run : {Run{{0, 0}, 0, 0}, Run{{100, 50}, 10, 5}, Run{{-50, -20}, -5, -2}}) {
        const std::string pdf = (folder / "hoja.pdf").string();
        std::string message;
        ASSERT_TRUE(PrintToPdfFile(pdf, PaperSize::Letter, f.session.GetFormat().elements, run.offsets, message))
            << message;
        double x = 0, y = 0;
        ASSERT_TRUE(PdfWordAt(QString::fromStdString(pdf), "Rosalinda", x, y)) << "pdftotext found no word";
        if (run.offsets.facX == 0 && run.offsets.facY == 0) {
            // The glyphs start a little right of the reference point.
            EXPECT_NEAR(x, 300 * kPointsPerUnit, 1.5);
            x0 = x;
            y0 = y;
        } else {
            EXPECT_NEAR(x - x0, run.dxMm * 72 / 25.4, 0.05);
            EXPECT_NEAR(y - y0, run.dyMm * 72 / 25.4, 0.05);
        }
    }
    fs::remove_all(folder);
}

TEST(PrintJob, APrinterPrintsWhereThePdfFileDoes)
{
    const fs::path folder = fs::temp_directory_path() / ("ordexa-printer-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    CaptureFixture f;
    Format format;
    format.elements.push_back(Line("Nombre", 1, "", 300, -400));
    f.Open(std::move(format));
    f.Type("Nombre", "Rosalinda");

    const std::string direct = (folder / "directo.pdf").string();
    std::string message;
    ASSERT_TRUE(PrintToPdfFile(direct, PaperSize::Letter, f.session.GetFormat().elements, {100, 50}, message));

    // The print dialog's printer, with a printable area that does not start at the corner.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((folder / "impresora.pdf").string()));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(12, 9, 12, 9), QPageLayout::Millimeter);
    ASSERT_TRUE(PrintOnPrinter(printer, f.session.GetFormat().elements, {100, 50}, message)) << message;

    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(PdfWordAt(QString::fromStdString(direct), "Rosalinda", x1, y1));
    ASSERT_TRUE(PdfWordAt(QString::fromStdString((folder / "impresora.pdf").string()), "Rosalinda", x2, y2));
    EXPECT_NEAR(x2, x1, 0.05);
    EXPECT_NEAR(y2, y1, 0.05);
    EXPECT_NEAR(x1, 400 * kPointsPerUnit, 1.5) << "30 mm plus the 10 mm offset";
    fs::remove_all(folder);
}

TEST(PrintJob, OffsetsAppliedToTheFormatMoveThePageAndKeepTheScreen)
{
    const fs::path folder = fs::temp_directory_path() / ("ordexa-apply-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string path = (folder / "Alta.fmt").string();
    Format format;
    format.elements.push_back(Line("Nombre", 2, "", 300, -400));
    format.elements.push_back(Line("Edad", 7, "", 100, -900));
    const Rect screen = format.elements.front()->m_rcScreen;
    const Rect page = format.elements.front()->m_rcPage;
    std::string message;
    ASSERT_TRUE(ApplyOffsetsToFormat(format, path, {100, 50}, message)) << message;

    Format read;
    ASSERT_TRUE(LoadFormatFile(path, read, message)) << message;
    ASSERT_EQ(read.elements.size(), 2u);
    // Written from the list's tail and read to its head: the list comes back as it was.
    const CControles& nombre = *read.elements.front();
    EXPECT_EQ(nombre.m_text, "Nombre");
    EXPECT_EQ(nombre.m_rcPage, page.Offset(100, -50));
    EXPECT_EQ(nombre.m_rcScreen, screen);
    EXPECT_EQ(nombre.m_order, 2) << "capture orders are written as they are";
    EXPECT_EQ(read.elements.back()->m_order, 7);

    EXPECT_FALSE(ApplyOffsetsToFormat(format, (folder / "no" / "x.fmt").string(), {1, 1}, message));
    EXPECT_NE(message.find("x.fmt"), std::string::npos) << message;
    fs::remove_all(folder);
}
