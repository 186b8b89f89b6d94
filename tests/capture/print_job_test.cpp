// The print job: every element prints with page (0, 0) on the sheet's corner moved by
// the print offsets, checked on a recording surface and on a real PDF read back by an
// independent reader.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <cmath>
#include <filesystem>

#include "capture_fixture.h"
#include "model/linea.h"
#include "platform/format_printer.h"

namespace {

namespace fs = std::filesystem;

// xMin and yMin (points from the sheet's top-left corner) of a word of the PDF.
bool FindWord(const std::string& pdf, const std::string& word, double& x, double& y)
{
    QProcess p;
    p.start("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    if (!p.waitForFinished(20000))
        return false;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression re("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">" +
                                QRegularExpression::escape(QString::fromStdString(word)) + "</word>");
    const auto m = re.match(html);
    if (!m.hasMatch())
        return false;
    x = m.captured(1).toDouble();
    y = m.captured(2).toDouble();
    return true;
}

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
        ASSERT_TRUE(FindWord(pdf, "Rosalinda", x, y)) << "pdftotext found no word";
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
