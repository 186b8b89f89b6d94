// The whole-format drawing of the views and `ordexa-cli render`: the picture holds every
// element whole, drawing leaves the elements as it found them, and any file, however
// hostile its values, is measured and drawn in bounded time.
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "platform/format_render.h"

namespace {

QImage Picture(Format& format, RenderMode mode, double dpi)
{
    const QSize size = RenderSize(format, mode, dpi);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderFormat(format, mode, dpi, painter);
    return image;
}

int DarkInRow(const QImage& image, int y)
{
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
        dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

int DarkInColumn(const QImage& image, int x)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

// The last row (column) holding at least `min` dark pixels, or -1.
int LastInkRow(const QImage& image, int min)
{
    for (int y = image.height() - 1; y >= 0; --y)
        if (DarkInRow(image, y) >= min)
            return y;
    return -1;
}

int LastInkColumn(const QImage& image, int min)
{
    for (int x = image.width() - 1; x >= 0; --x)
        if (DarkInColumn(image, x) >= min)
            return x;
    return -1;
}

// What drawing may lend an element, and what it must give back.
struct Lent {
    int32_t layoutMode;
    const LogFont* screenFont;
    std::array<Rect, 4> handles;
    Rect page, screen;
    friend bool operator==(const Lent&, const Lent&) = default;
};

Lent LentOf(const CControles& e)
{
    return {e.m_layoutMode, e.m_screenFont, e.m_rcHandle, e.m_rcPage, e.m_rcScreen};
}

}  // namespace

TEST(FormatRender, ThePictureHoldsARectanglesLowerAndRightEdgesWhole)
{
    // One pixel per 0.1 mm; the rectangle is the lowest and rightmost element.
    struct Case {
        RenderMode mode;
        int lowerRow, rightColumn;  // where the edges' pen is centred
    };
    for (const Case& c : {Case{RenderMode::Design, 350, 450}, Case{RenderMode::Print, 300, 400}}) {
        Format format;
        auto rect = CreateElementAt(kKindRectangulo, 100, -100);
        rect->m_rcPage = {100, -100, 400, -300};
        format.elements.push_front(std::move(rect));
        const QImage image = Picture(format, c.mode, 254);
        // The edges are 0.2 mm pens: their middle rows and columns lie inside the picture
        // and are inked over the rectangle's whole width and height.
        ASSERT_GT(image.height(), c.lowerRow + 1) << int(c.mode);
        ASSERT_GT(image.width(), c.rightColumn + 1) << int(c.mode);
        EXPECT_GE(DarkInRow(image, c.lowerRow), 290) << int(c.mode);
        EXPECT_GE(DarkInColumn(image, c.rightColumn), 190) << int(c.mode);
        EXPECT_NEAR(LastInkRow(image, 290), c.lowerRow, 1) << int(c.mode);
        EXPECT_NEAR(LastInkColumn(image, 190), c.rightColumn, 1) << int(c.mode);
    }
}

TEST(FormatRender, TheScreenPictureHoldsAControlsOutlineWhole)
{
    Format format;
    auto line = CreateElementAt(kKindTextlineVar, 100, -100);
    line->m_rcScreen = {150, 40, 300, 60};
    line->m_screenPlaced = 1;
    format.elements.push_front(std::move(line));
    const QImage image = Picture(format, RenderMode::Screen, 96);
    ASSERT_GE(image.width(), 301);
    ASSERT_GE(image.height(), 61);
    EXPECT_GE(DarkInRow(image, 60), 140);
    EXPECT_GE(DarkInColumn(image, 300), 18);
}

TEST(FormatRender, ScreenDrawingGivesBackTheLayoutModeTheFontAndTheHandles)
{
    Format format;
    for (int kind : {kKindTextlineVar, kKindParrafoVar, kKindCuadrosVar, kKindMarcaVar, kKindGrid, kKindEtiqueta,
                     kKindRectangulo}) {
        auto e = CreateElementAt(kind, 100, -100 - 200 * kind);
        e->m_rcScreen = {100, 30 + 40 * kind, 250, 50 + 40 * kind};
        e->m_screenPlaced = 1;
        e->m_selected = kind % 2;
        format.elements.push_front(std::move(e));
    }
    // The screen layout designer keeps its own elements in layout mode: that stays too.
    CControles& designed = *format.elements.front();
    designed.m_layoutMode = 1;
    designed.UpdateHandles();

    std::vector<Lent> before;
    for (const auto& e : format.elements)
        before.push_back(LentOf(*e));
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RenderFormat(format, RenderMode::Screen, 96, painter);
    }
    size_t i = 0;
    for (const auto& e : format.elements) {
        EXPECT_TRUE(LentOf(*e) == before[i]) << e->KindName();
        ++i;
    }
    // And the drawing did draw: every control's outline is on the picture.
    EXPECT_LT(qGray(image.pixel(175, 30 + 40 * kKindTextlineVar)), 128);
}

TEST(FormatRender, HostileFormatsAreMeasuredAndDrawnWithinASecondAndKeepTheirValues)
{
    const QDir corpus(QStringLiteral(ORDEXA_FORMAT_CORPUS));
    const QStringList names = corpus.entryList({"hostile_*.fmt"}, QDir::Files);
    ASSERT_GE(names.size(), 5) << "the hostile seeds are written by fuzz/format/make_hostile_seeds.py";
    for (const QString& name : names) {
        for (RenderMode mode : {RenderMode::Design, RenderMode::Screen, RenderMode::Print}) {
            Format format;
            std::string message;
            ASSERT_TRUE(LoadFormatFile(corpus.filePath(name).toStdString(), format, message)) << message;
            std::vector<LogFont> fonts;
            for (const auto& e : format.elements)
                fonts.push_back(e->m_logFont);
            QElapsedTimer timer;
            timer.start();
            const QSize size = RenderSize(format, mode, 96);
            // A picture too large to draw is refused; the view draws the part it shows.
            const QSize drawn = RenderRefusal(size).empty() ? size.boundedTo({2000, 2000}) : QSize(1200, 900);
            QImage image(drawn, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                RenderFormat(format, mode, 96, painter);
            }
            EXPECT_LT(timer.elapsed(), 1000) << name.toStdString() << " mode " << int(mode);
            size_t i = 0;
            for (const auto& e : format.elements)
                EXPECT_EQ(e->m_logFont, fonts[i++]) << name.toStdString() << ": drawing keeps the file's font";
        }
    }
}

TEST(FormatRender, PicturesBeyondTheLimitAreRefusedInSpanish)
{
    EXPECT_EQ(RenderRefusal({5100, 6600}), "") << "a letter sheet at 600 dpi";
    EXPECT_EQ(RenderRefusal({kMaxRenderSide, 100}), "");
    const std::string why = RenderRefusal({11340, 11340});
    EXPECT_NE(why.find("11340 x 11340 píxeles"), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    EXPECT_NE(RenderRefusal({kMaxRenderSide + 1, 10}), "");

    // A text three metres from the sheet's corner: measured, not drawn, and refused.
    Format format;
    auto far = CreateElementAt(kKindConsText, 30000, -30040);
    format.elements.push_front(std::move(far));
    EXPECT_NE(RenderRefusal(RenderSize(format, RenderMode::Design, 96)), "");
    EXPECT_EQ(RenderRefusal(RenderSize(format, RenderMode::Design, 10)), "") << "at 10 dpi it fits";
}

TEST(FormatRender, AViewScrolledDownATallTableShowsTheNamesOfTheCellsItShows)
{
    // 10 columns of 40 mm, 2,000 rows of 4.5 mm: far more cells than are ever named at once.
    Format format;
    auto grid = CFmtGrid::CreateAt(0, 0);
    grid->SetColumnCount(10);
    grid->SetRowCount(2000);
    format.elements.push_front(std::move(grid));
    for (bool clipped : {false, true}) {
        // One pixel per 0.1 mm, scrolled so that row 1500's top is the picture's first row.
        QImage image(500, 450, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            if (clipped)
                painter.setClipRect(QRect(0, 0, 500, 450));
            painter.translate(0, -(45 * 1499 + 50));
            RenderFormat(format, RenderMode::Design, 254, painter);
        }
        // Inside the first cell of row 1500, away from its border lines: its name.
        int dark = 0;
        for (int y = 6; y < 40; ++y)
            for (int x = 60; x < 440; ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        EXPECT_GT(dark, 20) << (clipped ? "clipped view" : "whole picture");
    }
}
