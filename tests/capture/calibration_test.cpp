// The calibration sheet and its arithmetic: the corrected offsets from two measured
// crosses, the sheet drawn with the offsets (on a recording surface and on a PDF read back
// by independent readers), and the field outlines sheet.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "capture/calibration.h"
#include "capture_fixture.h"
#include "model/cuadros_var.h"
#include "platform/format_printer.h"
#include "pdf_words.h"

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

bool PopplerInstalled()
{
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

}  // namespace

TEST(Calibration, CorrectedOffsetsFromMeasuredCrosses)
{
    struct Case {
        const char* name;
        PrintOffsets current;
        CrossMeasure first, second;
        PrintOffsets expected;
    };
    const Case cases[] = {
        {"exactly in place", {0, 0}, {30, 30}, {180, 250}, {0, 0}},
        {"exactly in place keeps the current offsets", {28, -7}, {30, 30}, {180, 250}, {28, -7}},
        {"2 mm right and 1 mm low moves the print left and up", {0, 0}, {32, 31}, {182, 251}, {-20, -10}},
        {"left and high adds to offsets of either sign", {28, -7}, {28.5, 27}, {178.5, 247}, {43, 23}},
        {"the two crosses are averaged", {0, 0}, {32, 30}, {180, 250}, {-10, 0}},
        // 1.47 mm is 14.7 tenths: rounded to the nearest tenth, either way.
        {"rounded to the nearest tenth, right", {0, 0}, {31.47, 31.47}, {181.47, 251.47}, {-15, -15}},
        {"rounded to the nearest tenth, left", {100, 100}, {28.53, 28.53}, {178.53, 248.53}, {115, 115}},
        {"0.8 mm up is 8 tenths, though 0.8 is not exact in binary", {0, -15}, {30, 29.1}, {180, 249.3}, {0, -7}},
        {"fifty millimetres off is still a measure", {0, 0}, {80, 30}, {230, 250}, {-500, 0}},
    };
    for (const Case& c : cases) {
        CalibrationResult result;
        std::string message;
        ASSERT_TRUE(ComputeCalibration(c.current, {c.first, c.second}, result, message)) << c.name << ": " << message;
        EXPECT_EQ(result.offsets.facX, c.expected.facX) << c.name;
        EXPECT_EQ(result.offsets.facY, c.expected.facY) << c.name;
    }
    // What the dialog reports: the average error and how far the crosses disagree.
    CalibrationResult result;
    std::string message;
    ASSERT_TRUE(ComputeCalibration({0, 0}, {CrossMeasure{32, 29}, CrossMeasure{180, 249}}, result, message));
    EXPECT_DOUBLE_EQ(result.errorXMm, 1);
    EXPECT_DOUBLE_EQ(result.errorYMm, -1);
    EXPECT_DOUBLE_EQ(result.spreadMm, 2);
}

TEST(Calibration, MeasuresThatCannotBeRightAreRefusedWithTheCrossNamed)
{
    struct Case {
        const char* name;
        PrintOffsets current;
        CrossMeasure first, second;
        const char* says;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"more than 50 mm right", {0, 0}, {80.5, 30}, {180, 250}, "horizontal de la cruz 1 (80.5 mm)"},
        {"centimetres typed for millimetres", {0, 0}, {30, 30}, {18, 25}, "horizontal de la cruz 2 (18 mm)"},
        {"measured from the bottom edge", {0, 0}, {30, 30}, {180, 29}, "vertical de la cruz 2"},
        {"negative", {0, 0}, {-1, 30}, {180, 250}, "cero o mayor"},
        {"not a number", {0, 0}, {30, nan}, {180, 250}, "vertical de la cruz 1"},
        {"beyond the largest offset", {9990, 0}, {28, 30}, {178, 250}, "pasa de 100 cm"},
    };
    for (const Case& c : cases) {
        CalibrationResult result;
        result.offsets = {77, 77};
        std::string message;
        EXPECT_FALSE(ComputeCalibration(c.current, {c.first, c.second}, result, message)) << c.name;
        EXPECT_NE(message.find(c.says), std::string::npos) << c.name << ": " << message;
        EXPECT_EQ(result.offsets.facX, 77) << c.name << ": a refusal leaves the result alone";
    }
}

TEST(Calibration, MeasuresAreReadWithAPointOrAComma)
{
    struct Case {
        const char* text;
        bool ok;
        double mm;
    };
    const Case cases[] = {
        {"30", true, 30},       {"30,5", true, 30.5},  {" 30.25 ", true, 30.25}, {"181.4 mm", true, 181.4},
        {"29,9mm", true, 29.9}, {"-2", true, -2},      {"", false, 0},           {"  ", false, 0},
        {"mm", false, 0},       {"3,0,1", false, 0},   {"1e3", false, 0},        {"treinta", false, 0},
        {"30 5", false, 0},     {"inf", false, 0},
    };
    for (const Case& c : cases) {
        double mm = -99;
        EXPECT_EQ(ParseMillimetres(c.text, mm), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_DOUBLE_EQ(mm, c.mm) << '"' << c.text << '"';
        }
    }
    EXPECT_EQ(DecimalText(0.28), "0.28");
    EXPECT_EQ(DecimalText(-0.5), "-0.5");
    EXPECT_EQ(DecimalText(30), "30");
    EXPECT_EQ(DecimalText(-0.001), "0");
}

TEST(Calibration, TheSheetIsDrawnWithTheOffsetsLikeThePrintout)
{
    RecordingDc plain, shifted;
    DrawCalibrationSheet(plain, 2159, 2794, {0, 0});
    DrawCalibrationSheet(shifted, 2159, 2794, {100, 50});
    EXPECT_EQ(shifted.GetMapMode(), MapMode::LoMetric);

    // The first cross's centre: a horizontal and a vertical line through page (300, -300).
    auto hasLine = [](const RecordingDc& dc, Point from, Point to) {
        for (const auto& l : dc.lines)
            if (l.from == from && l.to == to)
                return true;
        return false;
    };
    EXPECT_TRUE(hasLine(plain, {200, -300}, {400, -300}));
    EXPECT_TRUE(hasLine(plain, {300, -200}, {300, -400}));
    // 10 mm right and 5 mm down: every line and every text moves by exactly that.
    EXPECT_TRUE(hasLine(shifted, {300, -350}, {500, -350}));
    ASSERT_EQ(plain.lines.size(), shifted.lines.size());
    for (size_t i = 0; i < plain.lines.size(); ++i) {
        EXPECT_EQ(shifted.lines[i].from.x, plain.lines[i].from.x + 100);
        EXPECT_EQ(shifted.lines[i].from.y, plain.lines[i].from.y - 50);
    }
    ASSERT_EQ(plain.texts.size(), shifted.texts.size());
    for (size_t i = 0; i < plain.texts.size(); ++i) {
        // (The line naming the offsets differs in its words, so in its width.)
        EXPECT_EQ(shifted.texts[i].x, plain.texts[i].x + 100) << plain.texts[i].text;
        EXPECT_EQ(shifted.texts[i].y, plain.texts[i].y - 50) << plain.texts[i].text;
    }

    // The scales: a tick every millimetre along the whole top edge, numbers every 10 mm
    // across the width and down the height; the sheet names the offsets it carries.
    int topTicks = 0;
    for (const auto& l : plain.lines)
        if (l.from.y == -150 && l.to.y > -150 && l.from.x == l.to.x)
            ++topTicks;
    EXPECT_EQ(topTicks, 216);  // 0 to 215 mm on letter paper
    auto hasText = [](const RecordingDc& dc, const std::string& text) {
        for (const auto& t : dc.texts)
            if (t.text.find(text) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(hasText(plain, "270"));
    EXPECT_FALSE(hasText(plain, "280"));
    EXPECT_TRUE(hasText(plain, "Cruz 2: 180 mm, 250 mm"));
    EXPECT_TRUE(hasText(shifted, "horizontal 1 cm, vertical 0.5 cm"));
}

TEST(Calibration, TheSheetOnPaperHasItsCrossesAndScalesWhereTheySay)
{
    if (!PopplerInstalled())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("calibracion.pdf");
    std::string message;
    const PrintOffsets offsets{100, 50};
    ASSERT_TRUE(SheetToPdfFile(pdf.toStdString(), PaperSize::Letter,
                               [offsets](Dc& dc, int w, int h) { DrawCalibrationSheet(dc, w, h, offsets); }, message))
        << message;

    // The top scale's numbers: centred on their tick (moved 10 mm right), in the top band.
    int numbered = 0;
    for (const PdfWord& w : PdfWords(pdf)) {
        // The top scale's numbers lie 1 mm below its base line; the left scale's start lower.
        if (w.yMin > 23 * kPointsPerMm)
            continue;
        bool isNumber = false;
        const int mm = w.text.toInt(&isNumber);
        if (!isNumber)
            continue;
        ++numbered;
        EXPECT_NEAR((w.xMin + w.xMax) / 2, (mm + 10) * kPointsPerMm, 0.6) << mm;
        EXPECT_NEAR(w.yMin, (15 + 1 + 5) * kPointsPerMm, 1.5) << mm;
    }
    EXPECT_EQ(numbered, 20);  // 10 to 200 mm; 210 runs off the moved sheet

    // The crosses, seen in the rendered page at 10 pixels per millimetre: dark along both
    // arms through the centre, white just beside it.
    QProcess render;
    render.start("pdftoppm", {"-r", "254", "-gray", "-singlefile", "-png", pdf, dir.filePath("hoja")});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage page(dir.filePath("hoja.png"));
    ASSERT_FALSE(page.isNull());
    auto dark = [&page](double xMm, double yMm) { return qGray(page.pixel(int(xMm * 10), int(yMm * 10))) < 128; };
    for (const SheetMark& mark : kCalibrationCrosses) {
        const double cx = mark.xUnits / 10.0 + 10, cy = mark.yUnits / 10.0 + 5;
        EXPECT_TRUE(dark(cx, cy));
        EXPECT_TRUE(dark(cx - 8, cy));
        EXPECT_TRUE(dark(cx + 8, cy));
        EXPECT_TRUE(dark(cx, cy - 8));
        EXPECT_TRUE(dark(cx, cy + 8));
        EXPECT_FALSE(dark(cx + 3, cy + 3));
        EXPECT_FALSE(dark(cx - 3, cy - 3));
        EXPECT_FALSE(dark(cx - 12, cy)) << "the arms end 10 mm from the centre";
    }
}

TEST(Calibration, FieldOutlinesShowEachVariableWithItsValueOrName)
{
    CaptureFixture f;
    Format format;
    format.elements.push_back(Line("Nombre", 1, "", 300, -400));
    format.elements.push_back(Line("Ciudad", 2, "", 300, -600));
    auto rfc = Variable(kKindCuadrosVar, "RFC", 3, 300, -800);
    static_cast<CCuadrosVar&>(*rfc).SetBoxCount(4);
    format.elements.push_back(std::move(rfc));
    format.elements.push_back(InvoiceLines(4));
    format.elements.push_back(Variable(kKindMarcaVar, "Pagada", 5, 300, -1000));
    format.elements.push_back(CreateElementAt(kKindConsText, 100, -50));
    f.Open(std::move(format));
    f.Type("Nombre", "Rosalinda");
    f.Type("RFC", "ABCD");

    RecordingDc sheet;
    DrawFieldOutlines(sheet, f.session.Elements(), {100, 50});
    auto texts = [&sheet](const std::string& text) {
        int n = 0;
        for (const auto& t : sheet.texts)
            n += t.text == text;
        return n;
    };
    // Typed values print where the printout prints them; empty fields show their names.
    EXPECT_EQ(texts("Rosalinda"), 1);
    EXPECT_EQ(texts("Nombre"), 0);
    EXPECT_EQ(texts("Ciudad"), 1);
    EXPECT_EQ(texts("A"), 1);
    EXPECT_EQ(texts("Pagada"), 1);
    EXPECT_EQ(texts("Cantidad"), 1);
    // The values land exactly where the printout puts them (constants are not fields).
    RecordingDc printout;
    f.session.Print(printout, {100, 50});
    for (const auto& t : printout.texts) {
        if (t.text != "Rosalinda" && t.text.size() != 1)
            continue;
        bool same = false;
        for (const auto& s : sheet.texts)
            same = same || (s.text == t.text && s.x == t.x && s.y == t.y);
        EXPECT_TRUE(same) << t.text << " prints elsewhere on the outlines sheet";
    }

    // Outlines: each field's rectangle moved by the offsets, each box, each table cell
    // and the table itself; the constant text has none.
    const Rect nombre = f.Field("Nombre").m_rcPage.Offset(100, -50);
    int outlinesOfNombre = 0;
    for (const auto& o : sheet.outlines)
        outlinesOfNombre += o.rect == nombre;
    EXPECT_EQ(outlinesOfNombre, 1);
    const auto& grid = static_cast<const CFmtGrid&>(f.Field("Detalle"));
    const size_t expected = 3 + 4 + 1 + size_t(grid.ColumnCount() * grid.RowCount());
    EXPECT_EQ(sheet.outlines.size(), expected);
}
