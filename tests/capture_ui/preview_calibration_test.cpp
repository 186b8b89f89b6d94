// "Vista preliminar" and "Hoja de calibración" on the capture screen, opened from the menu
// on the offscreen platform and driven with real keys and clicks.
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QToolBar>

#include "capture/ui/calibration_dialog.h"
#include "capture/ui/print_preview_dlg.h"
#include "capture_fixture.h"
#include "platform/command_ids.h"
#include "platform/format_printer.h"
#include "platform/scan_background.h"
#include "pdf_words.h"

using namespace CommandId;

namespace {

// Pixels that are clearly red (the test scan), in a picture.
int RedPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 120 && c.blue() < 120;
        }
    return n;
}

void AnswerPrintDialogOk()
{
    WhenModalOpens([](QWidget* w) {
        auto* dialog = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        for (auto* box : dialog->findChildren<QDialogButtonBox*>())
            if (box->window() == dialog && box->button(QDialogButtonBox::Ok)) {
                QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
                return;
            }
        dialog->accept();
    });
}

// The item of the active mode's menus with this text, as the clerk would choose it.
QAction* MenuItem(COrdexaApp& app, const QString& text)
{
    for (QAction* top : app.MainFrame()->menuBar()->actions())
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                if (item->text() == text)
                    return item;
    return nullptr;
}

void TypeMeasure(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

}  // namespace

TEST_F(CaptureFixture, PreviewOpensFromTheMenuAndPaintsThePrintoutWithTheOffsets)
{
    QAction* previewItem = MenuItem(app, QStringLiteral("&Vista preliminar"));
    ASSERT_NE(previewItem, nullptr);
    EXPECT_NE(MenuItem(app, QStringLiteral("&Hoja de calibración...")), nullptr);
    QAction* button = frame->ToolAction(kPrintPreview);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), QStringLiteral("Vista preliminar"));
    EXPECT_FALSE(button->icon().isNull());

    settings.WriteInt("FacX", 100);
    settings.WriteInt("FacY", 50);
    TypeInto("NOMBRE", "Juan");
    const QString fromPreview = QString::fromStdString(TempPath("desde_vista.pdf"));
    bool opened = false;
    WhenModalOpens([&](QWidget* w) {
        auto* preview = qobject_cast<CPrintPreviewDlg*>(w);
        ASSERT_NE(preview, nullptr) << w->metaObject()->className();
        opened = true;
        EXPECT_EQ(preview->windowTitle(), QStringLiteral("Vista preliminar - factura_sencilla.fmt"));
        EXPECT_GE(preview->PreviewPaints(), 1);
        EXPECT_FALSE(preview->ShowsScan());
        // What the preview's own print button sends: the page painted on a real printer.
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(fromPreview);
        emit preview->paintRequested(&pdf);
        EXPECT_EQ(preview->PrintedPages(), 1);
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    previewItem->trigger();
    ASSERT_TRUE(opened);
    EXPECT_TRUE(prompts.Shown().empty());

    // The same page as "&Imprimir formato" prints with the offsets, and 10 mm right and
    // 5 mm lower than without them.
    const auto& elements = view->Session().Elements();
    const QString printed = QString::fromStdString(TempPath("impreso.pdf"));
    const QString unshifted = QString::fromStdString(TempPath("sin_desfase.pdf"));
    std::string message;
    ASSERT_TRUE(PrintToPdfFile(printed.toStdString(), PaperSize::Letter, elements, {100, 50}, message));
    ASSERT_TRUE(PrintToPdfFile(unshifted.toStdString(), PaperSize::Letter, elements, {0, 0}, message));
    double xp = 0, yp = 0, xq = 0, yq = 0, x0 = 0, y0 = 0;
    ASSERT_TRUE(PdfWordAt(fromPreview, "Juan", xp, yp));
    ASSERT_TRUE(PdfWordAt(printed, "Juan", xq, yq));
    ASSERT_TRUE(PdfWordAt(unshifted, "Juan", x0, y0));
    EXPECT_NEAR(xp, xq, 0.05);
    EXPECT_NEAR(yp, yq, 0.05);
    EXPECT_NEAR(xp - x0, 10 * 72 / 25.4, 0.05);
    EXPECT_NEAR(yp - y0, 5 * 72 / 25.4, 0.05);
}

TEST_F(CaptureFixture, TheScannedFormLiesUnderThePreviewButNeverPrints)
{
    // A red scan 100 mm square beside a copy of the format.
    const QString format = QString::fromStdString(TempPath("factura.fmt"));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(SamplePath("factura_sencilla.fmt")), format));
    QImage red(200, 200, QImage::Format_RGB32);
    red.fill(QColor(230, 0, 0));
    const QString scanPath = QString::fromStdString(TempPath("escaneo.png"));
    ASSERT_TRUE(red.save(scanPath));
    ScanSidecar sidecar;
    sidecar.scanPath = scanPath;
    sidecar.dpi = 50.8;  // 200 pixels: 100 mm
    sidecar.fadePercent = 0;
    ASSERT_TRUE(WriteScanSidecar(format, sidecar));

    QPrinter printer;
    const auto& elements = view->Session().Elements();
    for (const bool withScan : {true, false}) {
        const std::string path = withScan ? format.toStdString() : SamplePath("factura_sencilla.fmt");
        CPrintPreviewDlg preview(printer, elements, {0, 0}, path, prompts);
        preview.show();
        QApplication::processEvents();
        EXPECT_EQ(preview.ShowsScan(), withScan);
        EXPECT_GE(preview.PreviewPaints(), 1);
        auto* widget = preview.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        const int red = RedPixels(widget->grab().toImage());
        if (withScan)
            EXPECT_GT(red, 1000) << "the scan shows under the page";
        else
            EXPECT_EQ(red, 0);

        // Printed from the preview: the page without the scan.
        const QString pdf = QString::fromStdString(TempPath("desde_vista.pdf"));
        QPrinter real(QPrinter::HighResolution);
        real.setOutputFormat(QPrinter::PdfFormat);
        real.setOutputFileName(pdf);
        emit preview.paintRequested(&real);
        QProcess render;
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"),
                                                  QStringLiteral("-singlefile"), pdf,
                                                  QString::fromStdString(TempPath("pagina"))});
        ASSERT_TRUE(render.waitForFinished(20000));
        const QImage page(QString::fromStdString(TempPath("pagina.png")));
        ASSERT_FALSE(page.isNull());
        EXPECT_EQ(RedPixels(page), 0);
        preview.close();
    }
}

TEST_F(CaptureFixture, CalibrationDialogStoresOffsetsCorrectedFromTheTypedMeasures)
{
    settings.WriteInt("FacX", 28);
    settings.WriteInt("FacY", -7);
    bool opened = false;
    WhenModalOpens([&](QWidget* w) {
        auto* dialog = qobject_cast<CCalibrationDlg*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        opened = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Hoja de calibración"));
        EXPECT_TRUE(dialog->CurrentLabel()->text().contains(QStringLiteral("FacX 28, FacY -7")))
            << dialog->CurrentLabel()->text().toStdString();
        // Cross 1 found 1.5 mm right and 3 mm high, cross 2 the same; one measure missing.
        TypeMeasure(dialog->MeasureEdit(0, false), "31,5");
        TypeMeasure(dialog->MeasureEdit(0, true), "27");
        TypeMeasure(dialog->MeasureEdit(1, false), "181.5");
        TypeMeasure(dialog->MeasureEdit(1, true), "dos");
        QTest::keyClick(dialog->MeasureEdit(1, true), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown().back(),
                  "Escriba la medida vertical (y) de la cruz 2 en milímetros, por ejemplo 30,5.");
        // The dialog's own focus child: the application's focus follows it only once the
        // window manager has activated the dialog, which a loaded machine may not have done yet.
        EXPECT_EQ(dialog->focusWidget(), dialog->MeasureEdit(1, true));

        // A measure 50 mm off is refused with the cross named, and nothing is stored.
        TypeMeasure(dialog->MeasureEdit(1, true), "310");
        QTest::keyClick(dialog->MeasureEdit(1, true), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(prompts.Shown().size(), 2u);
        EXPECT_NE(prompts.Shown().back().find("vertical de la cruz 2"), std::string::npos) << prompts.Shown().back();

        TypeMeasure(dialog->MeasureEdit(1, true), "247");
        EXPECT_TRUE(dialog->ResultLabel()->text().contains(QStringLiteral("FacX 13, FacY 23")))
            << dialog->ResultLabel()->text().toStdString();
        QTest::keyClick(dialog->MeasureEdit(1, true), Qt::Key_Return);
    });
    QAction* calibrationItem = MenuItem(app, QStringLiteral("&Hoja de calibración..."));
    ASSERT_NE(calibrationItem, nullptr);
    calibrationItem->trigger();
    ASSERT_TRUE(opened);
    EXPECT_EQ(settings.ReadInt("FacX", 0), 13);
    EXPECT_EQ(settings.ReadInt("FacY", 0), 23);
}

TEST_F(CaptureFixture, CalibrationDialogPrintsTheSheetAndTheFieldOutlinesWithTheOffsets)
{
    settings.WriteInt("FacX", 100);
    settings.WriteInt("FacY", 0);
    TypeInto("NOMBRE", "Juan");
    QPrinter& printer = app.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString sheet = QString::fromStdString(TempPath("calibracion.pdf"));
    const QString outlines = QString::fromStdString(TempPath("contornos.pdf"));
    WhenModalOpens([&](QWidget* w) {
        auto* dialog = qobject_cast<CCalibrationDlg*>(w);
        ASSERT_NE(dialog, nullptr);
        printer.setOutputFileName(sheet);
        AnswerPrintDialogOk();
        QTest::mouseClick(dialog->PrintSheetButton(), Qt::LeftButton);
        printer.setOutputFileName(outlines);
        AnswerPrintDialogOk();
        QTest::mouseClick(dialog->PrintOutlinesButton(), Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    app.OnCommand(kCalibrationSheet);
    EXPECT_TRUE(prompts.Shown().empty());

    // The first cross's label starts 20 mm from the left edge, moved 10 mm by the offset.
    double x = 0, y = 0;
    ASSERT_TRUE(PdfWordAt(sheet, QStringLiteral("Cruz"), x, y));
    EXPECT_NEAR(x, 30 * 72 / 25.4, 1.0);
    // The outlines carry the typed value and the names of the empty fields.
    EXPECT_TRUE(PdfWordAt(outlines, QStringLiteral("Juan"), x, y));
    EXPECT_TRUE(PdfWordAt(outlines, QStringLiteral("DOMICILIO"), x, y));
}
