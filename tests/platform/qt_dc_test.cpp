// The QPainter surface: the page mapping, font cell heights, text alignment, clipping, and
// positions on a printed PDF.
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/cons_text.h"
#include "platform/qt_dc.h"

namespace {

// Rows and columns that hold any dark pixel.
struct Ink {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

Ink FindInk(const QImage& image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

LogFont Arial(int height)
{
    LogFont font;
    font.height = height;
    return font;
}

}  // namespace

TEST(QtDc, AFontRecordHeightIsTheCellHeightInLogicalUnits)
{
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    QtDc dc(painter, 254);
    dc.SetMapMode(MapMode::LoMetric);
    for (int height : {35, 40, 100, 27}) {
        dc.SelectFont(Arial(height));
        EXPECT_NEAR(dc.CellHeight(), height, 0.05) << "height " << height;
    }
    dc.SelectFont(Arial(40));
    // Liberation Sans, the metric twin of the form fonts: "H" advances 1479 of 2048 em
    // units, and the em is 40 x 2048 / 2288 units.
    EXPECT_NEAR(dc.TextWidth("HH"), 2 * 1479.0 / 2288 * 40, 0.1);
}

TEST(QtDc, TextSitsUprightWithItsCellOnTheReferencePointByAlignment)
{
    // One pixel per 0.1 mm, y up: logical (x, -y) is pixel (x, y).
    struct Case {
        const char* name;
        int align;
        int x, y;
        int expectLeft, expectRight;  // ink columns, roughly
        int expectBaselineRow;
    };
    // Height 100: ascent 81.0, descent 19.0; "H" advances 64.6 with 7 units of side bearing.
    const Case cases[] = {
        {"left top", TextAlign::kLeft, 20, -20, 27, 77, 20 + 81},
        {"left bottom", TextAlign::kLeft | TextAlign::kBottom, 20, -150, 27, 77, 150 - 19},
        {"right bottom", TextAlign::kRight | TextAlign::kBottom, 150, -150, 150 - 65 + 7, 150 - 7, 150 - 19},
        {"centre bottom", TextAlign::kCenter | TextAlign::kBottom, 100, -150, 100 - 32 + 7, 100 + 32 - 7, 150 - 19},
    };
    for (const Case& c : cases) {
        QImage image = WhiteImage(200, 200);
        {
            QPainter painter(&image);
            QtDc dc(painter, 254);
            dc.SetMapMode(MapMode::LoMetric);
            dc.SetBkTransparent(true);
            dc.SelectFont(Arial(100));
            dc.SetTextAlign(c.align);
            dc.TextOut(c.x, c.y, "H");
        }
        const Ink ink = FindInk(image);
        ASSERT_FALSE(ink.Empty()) << c.name;
        EXPECT_NEAR(ink.bottom, c.expectBaselineRow, 1.5) << c.name;
        EXPECT_NEAR(ink.top, c.expectBaselineRow - 62, 1.5) << "cap height above the baseline, " << c.name;
        EXPECT_NEAR(ink.left, c.expectLeft, 3) << c.name;
        EXPECT_NEAR(ink.right, c.expectRight, 3) << c.name;
    }
}

TEST(QtDc, ClippedTextAndDrawTextStayInsideTheirRectangle)
{
    QImage image = WhiteImage(300, 200);
    {
        QPainter painter(&image);
        QtDc dc(painter, 254);
        dc.SetMapMode(MapMode::LoMetric);
        dc.SetBkTransparent(true);
        dc.SelectFont(Arial(60));
        dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
        dc.TextOutClipped(10, -80, Rect{10, -20, 100, -80}, "WWWWWWWW");
        Rect rc{150, -20, 250, -110};  // a line and a half
        dc.DrawText("WWW WWW WWW", rc, DrawTextFlag::kWordBreak);
    }
    const Ink left = FindInk(image.copy(0, 0, 140, 200));
    EXPECT_LE(left.right, 100);
    EXPECT_GE(left.right, 95);
    const Ink right = FindInk(image.copy(140, 0, 160, 200));
    EXPECT_LE(right.right + 140, 250);
    EXPECT_LE(right.bottom, 110);
    EXPECT_GE(right.bottom, 105) << "the second line is drawn, and cut at the lower edge";
}

TEST(QtDc, AClippedTextLeavesThePaintersOwnClipAsItWas)
{
    // Without a clip of the painter's own, what follows a clipped text is drawn whole;
    // with one (a view's exposed area), that clip still holds afterwards.
    for (const bool viewClip : {false, true}) {
        QImage image = WhiteImage(300, 200);
        {
            QPainter painter(&image);
            if (viewClip)
                painter.setClipRect(QRect(0, 0, 200, 200));
            QtDc dc(painter, 254);
            dc.SetMapMode(MapMode::LoMetric);
            dc.SetBkTransparent(true);
            dc.SelectFont(Arial(60));
            dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
            dc.TextOutClipped(10, -80, Rect{10, -20, 40, -80}, "WWWW");
            Rect rc{10, -100, 40, -160};
            dc.DrawText("WWWW", rc, DrawTextFlag::kSingleLine);
            EXPECT_EQ(painter.hasClipping(), viewClip);
            dc.MoveTo(0, -190);
            dc.LineTo(299, -190);
        }
        const Ink texts = FindInk(image.copy(0, 0, 300, 180));
        EXPECT_LE(texts.right, 40) << "view clip " << viewClip;
        const Ink line = FindInk(image.copy(0, 185, 300, 15));
        EXPECT_EQ(line.left, 0) << "view clip " << viewClip;
        EXPECT_EQ(line.right, viewClip ? 199 : 299) << "view clip " << viewClip;
    }
}

TEST(QtDc, EachFontMeasuresItsOwnTextsOnEverySurface)
{
    // Measurements kept from one surface to the next belong to the font that made them:
    // the same text in another weight, height or stretch measures anew.
    LogFont bold = Arial(40);
    bold.weight = 700;
    LogFont wide = Arial(40);
    wide.width = 40;
    const LogFont fonts[] = {Arial(40), bold, Arial(80), wide};
    double first[4] = {};
    for (int surface = 0; surface < 2; ++surface) {
        QImage image = WhiteImage(10, 10);
        QPainter painter(&image);
        QtDc dc(painter, 254);
        dc.SetMapMode(MapMode::LoMetric);
        for (int i = 0; i < 4; ++i) {
            dc.SelectFont(fonts[i]);
            const double width = dc.TextWidth("Importe total");
            if (surface == 0)
                first[i] = width;
            else
                EXPECT_DOUBLE_EQ(width, first[i]) << "font " << i;
        }
    }
    EXPECT_GT(first[1], first[0]);
    EXPECT_NEAR(first[2], 2 * first[0], 0.5);
    EXPECT_GT(first[3], first[0]);
}

TEST(QtDc, PageToDeviceConversionUsesTheResolutionAndRunsYDown)
{
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    QtDc dc(painter, 96);
    dc.SetMapMode(MapMode::LoMetric);
    EXPECT_EQ(dc.LogicalToDevice({254, -508}), (Point{96, 192}));
    EXPECT_EQ(dc.DeviceToLogical({96, 192}), (Point{254, -508}));
    dc.SetMapMode(MapMode::Pixels);
    EXPECT_EQ(dc.LogicalToDevice({7, 9}), (Point{7, 9}));
}

TEST(QtDc, PrintedConstantTextLandsAtItsPagePositionOnAPdf)
{
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    CConsText text;
    text.m_text = "Importe";
    text.m_rcPage = {250, -300, 500, -340};
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setFullPage(true);
        QPainter painter(&printer);
        QtDc dc(painter, printer.resolution());
        dc.SetMapMode(MapMode::LoMetric);
        dc.SetBkTransparent(true);
        text.Print(dc);
    }
    QProcess proc;
    proc.start("pdftotext", {"-bbox", pdf, "-"});
    ASSERT_TRUE(proc.waitForFinished(20000));
    const QString html = QString::fromUtf8(proc.readAllStandardOutput());
    const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">Importe</word>)re");
    const auto m = word.match(html);
    ASSERT_TRUE(m.hasMatch()) << html.toStdString();
    const double mmPerPt = 25.4 / 72;
    // Left edge 25 mm; the cell's lower edge 34 mm below the top of the sheet.
    EXPECT_NEAR(m.captured(1).toDouble() * mmPerPt, 25.0, 0.5);
    EXPECT_NEAR(m.captured(4).toDouble() * mmPerPt, 34.0, 0.5);
}

#include "platform/format_render.h"
#include "model/rectangulo.h"

TEST(FormatRender, DesignViewDrawsFiveMillimetresInAndPrintAtThePagePosition)
{
    struct Case {
        RenderMode mode;
        int expectedLeftColumn;
    };
    // One pixel per 0.1 mm: the rectangle's left edge at 25.4 mm, plus the design margin.
    for (const Case& c : {Case{RenderMode::Print, 254}, Case{RenderMode::Design, 304}}) {
        Format format;
        auto r = std::make_unique<CRectangulo>();
        r->m_rcPage = {254, -100, 400, -200};
        format.elements.push_front(std::move(r));
        const QSize size = RenderSize(format, c.mode, 254);
        EXPECT_GE(size.width(), c.expectedLeftColumn + 146) << int(c.mode);
        QImage image = WhiteImage(size.width(), size.height());
        {
            QPainter painter(&image);
            RenderFormat(format, c.mode, 254, painter);
        }
        const Ink ink = FindInk(image);
        EXPECT_NEAR(ink.left, c.expectedLeftColumn, 1) << int(c.mode);
    }
}
