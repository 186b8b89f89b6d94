#include "platform/format_printer.h"

#include "platform/file_folders.h"

#include <QDir>
#include <QFileInfo>

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "base/atomic_file.h"
#include "platform/qt_dc.h"

namespace {

QPageSize::PageSizeId PageSizeOf(PaperSize paper)
{
    switch (paper) {
    case PaperSize::A4: return QPageSize::A4;
    case PaperSize::Legal: return QPageSize::Legal;
    case PaperSize::Letter: break;
    }
    return QPageSize::Letter;
}

}  // namespace

void PaintSheet(QPainter& painter, double dpi, int sheetWidthUnits, int sheetHeightUnits, const SheetPainter& paint,
                const SheetUnderlay& underlay)
{
    if (underlay) {
        painter.save();
        underlay(painter, dpi);
        painter.restore();
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QtDc dc(painter, dpi);
    paint(dc, sheetWidthUnits, sheetHeightUnits);
}

SheetPainter FormatSheet(const ElementList& elements, PrintOffsets offsets)
{
    return [&elements, offsets](Dc& sheet, int, int) { PrintElements(elements, sheet, offsets); };
}

void PaintPrintPage(QPainter& painter, double dpi, const ElementList& elements, PrintOffsets offsets)
{
    PaintSheet(painter, dpi, 0, 0, FormatSheet(elements, offsets));
}

void SheetSizeUnits(PaperSize paper, int& widthUnits, int& heightUnits)
{
    const QSizeF mm = QPageSize(PageSizeOf(paper)).size(QPageSize::Millimeter);
    widthUnits = qRound(mm.width() * 10);
    heightUnits = qRound(mm.height() * 10);
}

void SheetSizeUnits(const QPrinter& printer, int& widthUnits, int& heightUnits)
{
    const QRectF mm = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    widthUnits = qRound(mm.width() * 10);
    heightUnits = qRound(mm.height() * 10);
}

QString PrintJobName(const std::string& formatPath)
{
    const QString name = QFileInfo(QString::fromStdString(formatPath)).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Ordexa") : name;
}

bool PrintOnPrinter(QPrinter& printer, const ElementList& elements, PrintOffsets offsets, std::string& message,
                    const std::string& formatPath)
{
    return PrintSheetOnPrinter(printer, FormatSheet(elements, offsets), message, {}, PrintJobName(formatPath));
}

bool PrintSheetOnPrinter(QPrinter& printer, const SheetPainter& paint, std::string& message,
                         const SheetUnderlay& underlay, const QString& jobName)
{
    // With the full page the painter's origin is the sheet's corner, not the corner of
    // the printable area: the printer's unprintable margin no longer shifts anything.
    printer.setFullPage(true);
    // The name the print queue shows, and the title of a PDF printed to a file.
    printer.setDocName(jobName.isEmpty() ? QStringLiteral("Ordexa") : jobName);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                            : printer.printerName();
        message = "No se pudo iniciar la impresión en \"" + name.toStdString() +
                  "\": revise que la impresora esté disponible o que el archivo se pueda escribir.";
        return false;
    }
    int width = 0, height = 0;
    SheetSizeUnits(printer, width, height);
    PaintSheet(painter, printer.resolution(), width, height, paint, underlay);
    if (!painter.end()) {
        message = "La impresión no se pudo terminar.";
        return false;
    }
    return true;
}

QByteArray PrintToPdfBytes(PaperSize paper, const ElementList& elements, PrintOffsets offsets)
{
    return SheetToPdfBytes(paper, FormatSheet(elements, offsets));
}

QByteArray SheetToPdfBytes(PaperSize paper, const SheetPainter& paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Ordexa"));
        writer.setTitle(QStringLiteral("Ordexa"));
        writer.setResolution(kPdfResolution);
        // A printer whose printable area starts at the sheet's corner.
        writer.setPageLayout(QPageLayout(QPageSize(PageSizeOf(paper)), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return QByteArray();
        int width = 0, height = 0;
        SheetSizeUnits(paper, width, height);
        PaintSheet(painter, writer.resolution(), width, height, paint);
        if (!painter.end())
            return QByteArray();
    }
    return buffer.data();
}

bool PrintToPdfFile(const std::string& path, PaperSize paper, const ElementList& elements, PrintOffsets offsets,
                    std::string& message)
{
    return SheetToPdfFile(path, paper, FormatSheet(elements, offsets), message);
}

bool SheetToPdfFile(const std::string& path, PaperSize paper, const SheetPainter& paint, std::string& message)
{
    const QByteArray pdf = SheetToPdfBytes(paper, paint);
    if (pdf.isEmpty()) {
        message = "No se pudo preparar la impresión del archivo \"" + path + "\".";
        return false;
    }
    return WriteFileAtomically(path,
                               std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(pdf.constData()),
                                                        size_t(pdf.size())),
                               &message);
}

void ProposePdfFileName(QPrinter& printer, const std::string& formatPath, const char* suffix)
{
    if (formatPath.empty())
        return;
    const QFileInfo format(QString::fromStdString(formatPath));
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        printer.setDocName(format.completeBaseName() + QString::fromUtf8(suffix));
        return;
    }
    // The folder the clerk last printed into (this session, else as remembered).
    const QString previous = printer.outputFileName();
    const QDir folder = previous.isEmpty() ? QDir(StartFolder(FileKind::Pdf)) : QFileInfo(previous).absoluteDir();
    printer.setOutputFileName(folder.filePath(format.completeBaseName() + QString::fromUtf8(suffix) +
                                              QStringLiteral(".pdf")));
}
