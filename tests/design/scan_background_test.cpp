// The scanned form under the design: loading pictures and PDFs at the sheet's size, the
// note beside the format, and the design frame's three commands as a clerk uses them.
//
// data/factura_escaneada.png is our own: samples/Factura.fmt rendered by
// `ordexa-cli render --mode print --dpi 150`, laid on a letter sheet (1275 x 1650) and
// recoloured in blue ink on cream paper, with a 150 dpi pHYs chunk.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "design/design_scan.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtdesign_view.h"
#include "model/element_factory.h"
#include "platform/command_ids.h"
#include "platform/frame_host.h"
#include "platform/scan_background.h"

using namespace CommandId;

namespace {

const QString kSample = QStringLiteral(ORDEXA_TEST_DATA "/factura_escaneada.png");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QImage Solid(QSize size, QColor colour, double dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    return image;
}

// Qt always writes a resolution; a file without one is made by taking it out.
QByteArray WithoutPngResolution(const QByteArray& png)
{
    QByteArray out = png.left(8);
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const auto* p = reinterpret_cast<const uchar*>(png.constData() + at);
        const qsizetype length = qsizetype(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (png.mid(at + 4, 4) != "pHYs")
            out += png.mid(at, 12 + length);
        at += 12 + length;
    }
    return out;
}

// A JFIF header whose density is only an aspect ratio (units 0).
QByteArray WithoutJpegResolution(QByteArray jpeg)
{
    const qsizetype jfif = jpeg.indexOf("JFIF");
    if (jfif > 0)
        jpeg[jfif + 7] = 0;
    return jpeg;
}

QString SaveImage(const QString& path, const QImage& image, const char* format)
{
    EXPECT_TRUE(image.save(path, format)) << path.toStdString();
    return path;
}

TEST(ScanLoad, PicturesTakeTheirSizeFromTheirResolutionOrFromTheOneGiven)
{
    QTemporaryDir dir;
    const QImage red = Solid({600, 300}, Qt::red, 200);
    const QString png = SaveImage(dir.filePath("con.png"), red, "PNG");
    const QString bare = dir.filePath("sin.png");
    WriteAll(bare, WithoutPngResolution(ReadAll(png)));
    // 40 dpi turns a letter scan into a sheet 81 cm wide: taken as missing.
    const QString bogus = SaveImage(dir.filePath("falsa.png"), Solid({1275, 1650}, Qt::white, 40), "PNG");
    // A 16-bit greyscale scan states its resolution as any other PNG does.
    QImage grey16(300, 150, QImage::Format_Grayscale16);
    grey16.fill(Qt::white);
    grey16.setDotsPerMeterX(int(std::lround(150 / 0.0254)));
    grey16.setDotsPerMeterY(int(std::lround(150 / 0.0254)));
    const QString grey = SaveImage(dir.filePath("gris16.png"), grey16, "PNG");
    const QString jpeg = SaveImage(dir.filePath("con.jpg"), red, "JPEG");
    const QString bareJpeg = dir.filePath("sin.jpg");
    WriteAll(bareJpeg, WithoutJpegResolution(ReadAll(jpeg)));

    struct Case {
        const char* name;
        QString path;
        double dpiIfMissing;
        ScanLoadStatus status;
        double dpi, widthMm, heightMm;
    };
    const Case cases[] = {
        {"sample at 150 dpi", kSample, 0, ScanLoadStatus::Loaded, 150, 215.9, 279.4},
        {"png at 200 dpi", png, 0, ScanLoadStatus::Loaded, 200, 76.2, 38.1},
        {"png at 200 dpi ignores the fallback", png, 100, ScanLoadStatus::Loaded, 200, 76.2, 38.1},
        {"png without resolution asks", bare, 0, ScanLoadStatus::NeedsResolution, 0, 0, 0},
        {"png without resolution takes the fallback", bare, 100, ScanLoadStatus::Loaded, 100, 152.4, 76.2},
        {"png with a bogus resolution asks", bogus, 0, ScanLoadStatus::NeedsResolution, 0, 0, 0},
        {"16-bit grey png at 150 dpi", grey, 0, ScanLoadStatus::Loaded, 150, 50.8, 25.4},
        {"jpeg at 200 dpi", jpeg, 0, ScanLoadStatus::Loaded, 200, 76.2, 38.1},
        {"jpeg without resolution asks", bareJpeg, 0, ScanLoadStatus::NeedsResolution, 0, 0, 0},
        {"jpeg without resolution takes the fallback", bareJpeg, 150, ScanLoadStatus::Loaded, 150, 101.6, 50.8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanBackground scan;
        const ScanLoadResult result = LoadScan(c.path, c.dpiIfMissing, scan, 30);
        ASSERT_EQ(result.status, c.status) << result.message.toStdString();
        if (c.status == ScanLoadStatus::Loaded) {
            EXPECT_EQ(scan.dpiX, c.dpi);  // whole, though the file stores dots per metre
        }
        EXPECT_FALSE(scan.IsEmpty());
        EXPECT_EQ(scan.fadePercent, 30);
        EXPECT_NEAR(scan.widthMm, c.widthMm, 0.2);
        EXPECT_NEAR(scan.heightMm, c.heightMm, 0.2);
        if (c.status == ScanLoadStatus::NeedsResolution) {
            EXPECT_TRUE(result.message.contains(QFileInfo(c.path).fileName()));
            EXPECT_FALSE(SetScanResolution(scan, 5));
            ASSERT_TRUE(SetScanResolution(scan, 300));
            EXPECT_NEAR(scan.widthMm, scan.image.width() * 25.4 / 300, 0.01);
        }
    }
}

TEST(ScanLoad, APdfIsItsFirstPageAtItsSizeInPoints)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("forma.pdf");
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(254);  // one device unit per 0.1 mm
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, 100, 100), Qt::black);  // 10 mm square at the corner
        writer.newPage();
        painter.fillRect(QRect(0, 0, 1480, 2100), Qt::black);  // a second page, never shown
    }
    ScanBackground scan;
    const ScanLoadResult result = LoadScan(path, 0, scan);
    ASSERT_EQ(result.status, ScanLoadStatus::Loaded) << result.message.toStdString();
    EXPECT_TRUE(scan.fromPdf);
    EXPECT_NEAR(scan.widthMm, 148, 0.5);
    EXPECT_NEAR(scan.heightMm, 210, 0.5);
    EXPECT_NEAR(scan.dpiX, kPdfScanRenderDpi, 1);
    const double pxPerMm = scan.image.width() / scan.widthMm;
    EXPECT_LT(qGray(scan.image.pixel(int(5 * pxPerMm), int(5 * pxPerMm))), 40);
    EXPECT_GT(qGray(scan.image.pixel(int(50 * pxPerMm), int(50 * pxPerMm))), 240);
}

namespace {

// A one-page PDF with the given media box and an empty page, its cross-reference exact.
QByteArray PdfWithPage(const QByteArray& mediaBox)
{
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [" + mediaBox + "] /Contents 4 0 R >>",
        "<< /Length 0 >>\nstream\n\nendstream",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace

TEST(ScanLoad, AHugeOrSliverPdfPageRendersWithinTheMemoryBound)
{
    QTemporaryDir dir;
    // The largest page a PDF allows (5 m square), and pages a point wide or tall.
    for (const QByteArray& box : {QByteArray("0 0 14400 14400"), QByteArray("0 0 1 14400"), QByteArray("0 0 14400 1"),
                                 QByteArray("0 0 0.01 14400"), QByteArray("0 0 1 1000000"),
                                 QByteArray("0 0 1000000000 2")}) {
        SCOPED_TRACE(box.toStdString());
        const QString path = dir.filePath("pagina.pdf");
        WriteAll(path, PdfWithPage(box));
        ScanBackground scan;
        const ScanLoadResult result = LoadScan(path, 0, scan);
        if (result.status != ScanLoadStatus::Loaded) {
            EXPECT_EQ(result.status, ScanLoadStatus::Unreadable);
            EXPECT_TRUE(result.message.contains(QStringLiteral("pagina.pdf"))) << result.message.toStdString();
            EXPECT_TRUE(scan.IsEmpty());
            continue;
        }
        EXPECT_LE(qint64(scan.image.width()) * scan.image.height(), 60'100'000);
        EXPECT_GT(scan.widthMm, 0);
        EXPECT_GT(scan.heightMm, 0);
        EXPECT_TRUE(std::isfinite(scan.dpiX) && std::isfinite(scan.dpiY));
    }
}

TEST(ScanLoad, APictureThatDeclaresAHugeSizeIsRefusedBeforeItIsDecoded)
{
    QTemporaryDir dir;
    // A PNG naming 100000 x 100000 pixels and a JPEG naming 60000 x 60000, with almost
    // nothing behind their headers.
    const QByteArray png = QByteArray::fromHex(
        "89504e470d0a1a0a0000000d49484452000186a0000186a0080200000027309c9f0000000b49444154789c6360400500001000"
        "0139bd8f650000000049454e44ae426082");
    const QByteArray jpeg = QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffc0001108ea60ea60030122"
                                                "00021101031101ffda000c03010002110311003f00ffd9");
    for (const auto& [name, bytes] : {std::pair{QStringLiteral("enorme.png"), png},
                                      std::pair{QStringLiteral("enorme.jpg"), jpeg}}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        WriteAll(path, bytes);
        ScanBackground scan;
        const ScanLoadResult result = LoadScan(path, 150, scan);
        EXPECT_EQ(result.status, ScanLoadStatus::Unreadable);
        EXPECT_TRUE(result.message.contains(name)) << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(QStringLiteral("demasiado grande"))) << result.message.toStdString();
        EXPECT_TRUE(scan.IsEmpty());
    }
}

TEST(ScanLoad, MissingAndUnreadableFilesSayWhichFileAndLeaveNothing)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("notas.png");
    WriteAll(text, "esto no es una imagen");
    const QString brokenPdf = dir.filePath("roto.pdf");
    WriteAll(brokenPdf, "%PDF-1.4\n1 0 obj << /Type /Catalog >>\n%%EOF");
    struct Case {
        QString path;
        ScanLoadStatus status;
        const char* says;
    };
    const Case cases[] = {
        {dir.filePath("no existe.png"), ScanLoadStatus::Missing, "No se encontró el fondo escaneado «"},
        {text, ScanLoadStatus::Unreadable, "No se pudo leer el fondo escaneado «"},
        {brokenPdf, ScanLoadStatus::Unreadable, "No se pudo leer el fondo escaneado «"},
        {dir.path(), ScanLoadStatus::Unreadable, "No se pudo leer el fondo escaneado «"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ScanBackground scan;
        const ScanLoadResult result = LoadScan(c.path, 150, scan);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.message.startsWith(QString::fromUtf8(c.says))) << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(QFileInfo(c.path).fileName()));
        EXPECT_TRUE(scan.IsEmpty());
    }
}

// --- The note beside the format ------------------------------------------------------------

TEST(ScanSidecarFile, RoundTripNotesAScanBesideTheFormatRelatively)
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString format = dir.filePath("Factura.fmt");
    for (const QString& scanPath : {dir.filePath("escaneos/fondo ñ.png"), elsewhere.filePath("fondo.pdf")}) {
        SCOPED_TRACE(scanPath.toStdString());
        QString message;
        ASSERT_TRUE(WriteScanSidecar(format, {scanPath, 212.5, 35}, &message)) << message.toStdString();
        const QByteArray text = ReadAll(dir.filePath("Factura.fmt.fondo"));
        // Inside the format's folder the path is noted relative to it.
        EXPECT_EQ(text.contains("archivo=escaneos/fondo ñ.png\n"), scanPath.startsWith(dir.path()));
        ScanSidecar read;
        ASSERT_EQ(ReadScanSidecar(format, read, &message), SidecarReadStatus::Read) << message.toStdString();
        EXPECT_EQ(read.scanPath, scanPath);
        EXPECT_EQ(read.dpi, 212.5);
        EXPECT_EQ(read.fadePercent, 35);
    }
    ASSERT_TRUE(RemoveScanSidecar(format));
    ScanSidecar read;
    EXPECT_EQ(ReadScanSidecar(format, read), SidecarReadStatus::Absent);
    EXPECT_TRUE(RemoveScanSidecar(format));  // nothing to remove is no failure
}

TEST(ScanSidecarFile, ADamagedNoteIsRefusedNamingIt)
{
    QTemporaryDir dir;
    const QString format = dir.filePath("Factura.fmt");
    const QByteArray good = "archivo=a.png\nresolucion=150\natenuacion=50\n";
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"not UTF-8", "archivo=\xff\xfe.png\n"},
        {"a NUL byte", QByteArray("archivo=a.png\n\0", 15)},
        {"no scan path", "resolucion=150\natenuacion=50\n"},
        {"empty scan path", "archivo=\n"},
        {"resolution not a number", good + "resolucion=mucha\n"},
        {"resolution out of range", "archivo=a.png\nresolucion=100000\n"},
        {"fade above 100", "archivo=a.png\natenuacion=150\n"},
        {"fade negative", "archivo=a.png\natenuacion=-1\n"},
        {"a key twice", good + "archivo=b.png\n"},
        {"a line without a key", "archivo=a.png\n=7\n"},
        {"a line that is no pair", "archivo=a.png\ncualquier cosa\n"},
        {"far too long", good + QByteArray(20000, '#')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(ScanSidecarPath(format), c.bytes);
        ScanSidecar read;
        QString message;
        EXPECT_EQ(ReadScanSidecar(format, read, &message), SidecarReadStatus::Damaged);
        EXPECT_TRUE(message.contains(QStringLiteral("Factura.fmt.fondo"))) << message.toStdString();
        EXPECT_TRUE(read.scanPath.isEmpty());
    }
    // Comments, Windows line ends and keys of later versions are read past.
    WriteAll(ScanSidecarPath(format), "# nota\r\narchivo=a.png\r\nzoom=2\r\natenuacion=70\r\n");
    ScanSidecar read;
    ASSERT_EQ(ReadScanSidecar(format, read), SidecarReadStatus::Read);
    EXPECT_EQ(read.scanPath, dir.filePath("a.png"));
    EXPECT_EQ(read.fadePercent, 70);
}

// --- Drawing ----------------------------------------------------------------------------------

TEST(ScanDrawing, FadesTowardWhiteAndScalesOncePerSize)
{
    ScanBackground scan;
    scan.image = Solid({300, 300}, QColor(0, 0, 200), 150);
    SetScanResolution(scan, 150);  // 50.8 mm
    scan.fadePercent = 50;
    ScanDrawCache cache;
    QImage target(400, 400, QImage::Format_RGB32);
    target.fill(Qt::white);
    const double pxPerUnit = 96 / 254.0;  // 50.8 mm = 192 px
    for (int i = 0; i < 3; ++i) {
        QPainter painter(&target);
        DrawScan(painter, scan, {10, 20}, pxPerUnit, QRectF(0, 0, 400, 400), cache);
    }
    EXPECT_EQ(cache.Builds(), 1);
    EXPECT_EQ(target.pixel(100, 100), qRgb(128, 128, 228));
    EXPECT_EQ(target.pixel(9, 100), qRgb(255, 255, 255));   // left of the page's corner
    EXPECT_EQ(target.pixel(205, 100), qRgb(255, 255, 255));  // right of 50.8 mm
    // Only the exposed part is drawn.
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        DrawScan(painter, scan, {10, 20}, pxPerUnit, QRectF(0, 0, 50, 50), cache);
    }
    EXPECT_EQ(target.pixel(40, 40), qRgb(128, 128, 228));
    EXPECT_EQ(target.pixel(100, 100), qRgb(255, 255, 255));
    // A new fade builds the picture again; a printer's resolution draws from the source.
    scan.fadePercent = 0;
    {
        QPainter painter(&target);
        DrawScan(painter, scan, {10, 20}, pxPerUnit, QRectF(0, 0, 400, 400), cache);
        DrawScan(painter, scan, {0, 0}, 600 / 254.0, QRectF(0, 0, 400, 400), cache);
    }
    EXPECT_EQ(cache.Builds(), 3);
    EXPECT_EQ(target.pixel(100, 100), qRgb(0, 0, 200));
}

// --- The design frame -----------------------------------------------------------------------

class ScanFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scanPath = SaveImage(dir.filePath("fondo.png"), Solid({600, 600}, Qt::red, 150), "PNG");  // 101.6 mm
        // A format with one rectangle, read from its file like a clerk's.
        Format format;
        format.title = "Prueba";
        format.elements.push_front(CreateElementAt(kKindRectangulo, 200, -200));
        std::string message;
        formatPath = dir.filePath("Forma.fmt");
        ASSERT_TRUE(SaveFormatFile(formatPath.toStdString(), format, FormatWriter::Design, message)) << message;
        frame = MakeFrame();
    }
    void TearDown() override { delete frame; }

    CFmtdesignFrm* MakeFrame()
    {
        auto* made = new CFmtdesignFrm(host);
        ScanDialogs dialogs;
        dialogs.scanFile = [this](QWidget*) { return chosenScan; };
        dialogs.resolution = [this](QWidget*, const QString& path, QSize pixels) {
            askedResolution = path + QStringLiteral(" %1x%2").arg(pixels.width()).arg(pixels.height());
            return givenDpi;
        };
        dialogs.fade = [this](QWidget*, int, const std::function<void(int)>& preview) {
            preview(99);  // the slider moves before the clerk decides
            return chosenFade;
        };
        made->ScanUnder().SetDialogs(dialogs);
        DesignDialogs design;
        design.savePath = [this](QWidget*) { return savePath; };
        design.openPath = [this](QWidget*) { return openPath; };
        made->SetDialogs(design);
        made->resize(900, 700);
        made->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(made));
        return made;
    }

    QRgb PixelAt(Point page)
    {
        const QImage shot = frame->View()->viewport()->grab().toImage();
        return shot.pixel(frame->View()->PixelOf(page));
    }
    bool Enabled(int id) { return frame->CommandState(id)->enabled; }
    QString Sidecar() const { return ScanSidecarPath(formatPath); }

    QTemporaryDir dir;
    MemoryFrameHost host;
    CFmtdesignFrm* frame = nullptr;
    QString scanPath, formatPath, chosenScan;
    std::string savePath, openPath;
    QString askedResolution;
    std::optional<double> givenDpi = 150;
    std::optional<int> chosenFade = 50;
};

TEST_F(ScanFrameTest, TheScanLiesUnderTheElementsAndLeavesTheFormatAlone)
{
    frame->LoadFromPath(formatPath.toStdString());
    const QByteArray before = ReadAll(formatPath);
    const Rect rect = frame->GetFormat().elements.front()->m_rcPage;
    const Point inside{rect.left + 60, rect.top - 60};
    EXPECT_EQ(PixelAt(inside), qRgb(255, 255, 255));
    EXPECT_FALSE(Enabled(kRemoveScanBackground));
    EXPECT_FALSE(Enabled(kScanFade));

    chosenScan = scanPath;
    frame->HandleCommand(kScanBackground);
    ASSERT_TRUE(frame->ScanUnder().HasScan());
    EXPECT_TRUE(askedResolution.isEmpty());  // the file carries its resolution
    EXPECT_EQ(PixelAt(inside), qRgb(255, 128, 128));             // faded red under the page
    EXPECT_LT(qRed(PixelAt({rect.left, rect.top - 60})), 100);   // the outline drawn over it
    EXPECT_EQ(PixelAt({1100, -300}), qRgb(255, 255, 255));      // beyond the scan's 101.6 mm
    // Scrolled, the scan moves with the page.
    frame->View()->horizontalScrollBar()->setValue(40);
    frame->View()->verticalScrollBar()->setValue(30);
    EXPECT_EQ(PixelAt(inside), qRgb(255, 128, 128));
    EXPECT_EQ(PixelAt({1100, -300}), qRgb(255, 255, 255));
    EXPECT_EQ(PixelAt({990, -300}), qRgb(255, 128, 128));
    frame->View()->ScrollToOrigin();
    EXPECT_TRUE(Enabled(kRemoveScanBackground));
    EXPECT_TRUE(Enabled(kScanFade));

    // A drag repaints from the scaled picture already made.
    const int builds = frame->ScanUnder().Cache().Builds();
    QWidget* page = frame->View()->viewport();
    QTest::mousePress(page, Qt::LeftButton, {}, frame->View()->PixelOf(inside));
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(page, frame->View()->PixelOf({inside.x + 40 * step, inside.y}));
        frame->View()->viewport()->repaint();
    }
    QTest::mouseRelease(page, Qt::LeftButton, {}, frame->View()->PixelOf({inside.x + 200, inside.y}));
    PixelAt(inside);
    EXPECT_NE(frame->GetFormat().elements.front()->m_rcPage, rect);
    EXPECT_EQ(frame->ScanUnder().Cache().Builds(), builds);
    ASSERT_TRUE(frame->Undo());

    chosenFade = 80;
    frame->HandleCommand(kScanFade);
    EXPECT_EQ(frame->ScanUnder().Scan().fadePercent, 80);
    chosenFade.reset();  // cancelled: the fade it had comes back after the preview
    frame->HandleCommand(kScanFade);
    EXPECT_EQ(frame->ScanUnder().Scan().fadePercent, 80);

    // Nothing of this is in the format, its history or its file.
    EXPECT_FALSE(frame->IsModified());
    EXPECT_FALSE(frame->CanUndo());
    EXPECT_EQ(ReadAll(formatPath), before);
    EXPECT_TRUE(ReadAll(Sidecar()).contains("atenuacion=80"));
    EXPECT_TRUE(ReadAll(Sidecar()).contains("archivo=fondo.png"));
    EXPECT_TRUE(host.prompts.Shown().empty());

    // Reopened, the format shows its scan again.
    delete frame;
    frame = MakeFrame();
    frame->LoadFromPath(formatPath.toStdString());
    ASSERT_TRUE(frame->ScanUnder().HasScan());
    EXPECT_EQ(frame->ScanUnder().Scan().fadePercent, 80);
    EXPECT_EQ(PixelAt(inside), qRgb(255, 204, 204));

    // "Quitar fondo" takes it away with its note.
    frame->HandleCommand(kRemoveScanBackground);
    EXPECT_FALSE(frame->ScanUnder().HasScan());
    EXPECT_FALSE(QFile::exists(Sidecar()));
    EXPECT_EQ(PixelAt(inside), qRgb(255, 255, 255));
    EXPECT_FALSE(Enabled(kRemoveScanBackground));
    EXPECT_EQ(ReadAll(formatPath), before);
}

TEST_F(ScanFrameTest, AMissingScanIsAQuietNoteInTheStatusBar)
{
    ASSERT_TRUE(WriteScanSidecar(formatPath, {dir.filePath("se fue.png"), 150, 50}));
    frame->LoadFromPath(formatPath.toStdString());
    EXPECT_FALSE(frame->ScanUnder().HasScan());
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              QStringLiteral("No se encontró el fondo escaneado «%1».").arg(dir.filePath("se fue.png")));
    EXPECT_EQ(frame->statusBar()->toolTip(), frame->statusBar()->currentMessage());  // a long path is read here
    EXPECT_TRUE(host.prompts.Shown().empty());  // no message box
    // The note is kept for the day the scan is back, and can still be removed.
    EXPECT_TRUE(QFile::exists(Sidecar()));
    EXPECT_TRUE(Enabled(kRemoveScanBackground));

    frame->ShowCommandPrompt(kScanFade);
    EXPECT_TRUE(frame->statusBar()->toolTip().isEmpty());

    // A damaged note is as quiet.
    WriteAll(Sidecar(), "archivo=a.png\natenuacion=500\n");
    delete frame;
    frame = MakeFrame();
    frame->LoadFromPath(formatPath.toStdString());
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("Forma.fmt.fondo")));
    EXPECT_TRUE(host.prompts.Shown().empty());
}

TEST_F(ScanFrameTest, APictureWithoutResolutionAsksAndCancelChangesNothing)
{
    const QString bare = dir.filePath("sin.png");
    WriteAll(bare, WithoutPngResolution(ReadAll(scanPath)));
    frame->LoadFromPath(formatPath.toStdString());
    chosenScan = bare;
    givenDpi.reset();
    frame->HandleCommand(kScanBackground);
    EXPECT_EQ(askedResolution, bare + QStringLiteral(" 600x600"));
    EXPECT_FALSE(frame->ScanUnder().HasScan());
    EXPECT_FALSE(QFile::exists(Sidecar()));

    givenDpi = 300;
    frame->HandleCommand(kScanBackground);
    ASSERT_TRUE(frame->ScanUnder().HasScan());
    EXPECT_NEAR(frame->ScanUnder().Scan().widthMm, 50.8, 0.01);
    EXPECT_TRUE(ReadAll(Sidecar()).contains("resolucion=300"));

    // An unreadable choice is an error box and keeps the scan shown.
    const QString text = dir.filePath("texto.jpg");
    WriteAll(text, "hola");
    chosenScan = text;
    frame->HandleCommand(kScanBackground);
    ASSERT_EQ(host.prompts.Shown().size(), 1u);
    EXPECT_NE(host.prompts.Shown()[0].find("texto.jpg"), std::string::npos);
    EXPECT_EQ(frame->ScanUnder().Scan().path, bare);
}

TEST_F(ScanFrameTest, ANewFormatNotesItsScanOnItsFirstSaveAndSaveAsCarriesIt)
{
    chosenScan = scanPath;
    frame->HandleCommand(kScanBackground);
    ASSERT_TRUE(frame->ScanUnder().HasScan());
    EXPECT_FALSE(frame->IsModified());
    frame->Document().InsertAt(kKindRectangulo, 100, -100);
    frame->GestureChanged();

    savePath = dir.filePath("Nueva.fmt").toStdString();
    ASSERT_TRUE(frame->Save());
    const QString first = ScanSidecarPath(QString::fromStdString(savePath));
    EXPECT_TRUE(ReadAll(first).contains("archivo=fondo.png"));

    QTemporaryDir other;
    savePath = other.filePath("Copia.fmt").toStdString();
    ASSERT_TRUE(frame->SaveAs());
    const QByteArray copy = ReadAll(ScanSidecarPath(QString::fromStdString(savePath)));
    // In another folder the scan is noted by its full path.
    EXPECT_TRUE(copy.contains(("archivo=" + scanPath).toUtf8())) << copy.toStdString();
    EXPECT_TRUE(QFile::exists(first));

    // Saved under a new name without a scan, a note left there by an older format goes.
    frame->HandleCommand(kRemoveScanBackground);
    EXPECT_FALSE(QFile::exists(ScanSidecarPath(QString::fromStdString(savePath))));
    savePath = dir.filePath("Nueva.fmt").toStdString();
    ASSERT_TRUE(frame->SaveAs());
    EXPECT_FALSE(QFile::exists(first));
}

TEST_F(ScanFrameTest, OpeningAnotherFormatIntoTheFrameBringsItsOwnScanOrNone)
{
    frame->LoadFromPath(formatPath.toStdString());
    chosenScan = scanPath;
    frame->HandleCommand(kScanBackground);
    ASSERT_TRUE(frame->ScanUnder().HasScan());

    const std::string other = dir.filePath("Otra.fmt").toStdString();
    ASSERT_TRUE(QFile::copy(formatPath, QString::fromStdString(other)));
    openPath = other;
    frame->HandleCommand(kOpenDesign);
    ASSERT_EQ(frame->Path(), other);
    EXPECT_FALSE(frame->ScanUnder().HasScan());
    EXPECT_FALSE(frame->CommandState(kRemoveScanBackground)->enabled);

    openPath = formatPath.toStdString();
    frame->HandleCommand(kOpenDesign);
    EXPECT_TRUE(frame->ScanUnder().HasScan());
    EXPECT_TRUE(host.prompts.Shown().empty());
}

}  // namespace
