#include "platform/batch_printer.h"

#include <QFile>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cerrno>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/atomic_writer.h"
#include "base/file_messages.h"

namespace {

// The pages of one job on a painter that is started with the first page: rows refused
// before it start nothing.
class PainterPageSink : public BatchPageSink {
public:
    PainterPageSink(QPagedPaintDevice& device, std::function<bool(QPainter&)> begin, double dpi, PrintOffsets offsets,
                    const BatchProgress& progress)
        : m_device(device), m_begin(std::move(begin)), m_dpi(dpi), m_offsets(offsets), m_progress(progress)
    {
    }

    bool Continue(long done, long total) override { return !m_progress || m_progress(done, total); }

    bool PrintPage(const CaptureSession& session) override
    {
        if (!m_painter.isActive()) {
            if (!m_begin(m_painter)) {
                m_beginFailed = true;
                return false;
            }
        } else if (!m_device.newPage()) {
            m_pageFailed = true;
            return false;
        }
        PaintPrintPage(m_painter, m_dpi, session.GetFormat().elements, m_offsets);
        return true;
    }

    QPainter& Painter() { return m_painter; }
    bool BeginFailed() const { return m_beginFailed; }
    bool PageFailed() const { return m_pageFailed; }

private:
    QPagedPaintDevice& m_device;
    std::function<bool(QPainter&)> m_begin;
    double m_dpi;
    PrintOffsets m_offsets;
    const BatchProgress& m_progress;
    QPainter m_painter;
    bool m_beginFailed = false;
    bool m_pageFailed = false;
};

std::string NothingPrintedMessage(const BatchOutcome& outcome, const std::string& csvLabel)
{
    if (outcome.cancelled)
        return "La impresión en lote se canceló.";
    if (!outcome.failure.empty())
        return outcome.failure;
    return "Ningún renglón de «" + csvLabel + "» se pudo imprimir.";
}

// A temporary file beside the target (locked while the pages are written), removed
// unless it was renamed over the target.
class TemporaryBeside {
public:
    explicit TemporaryBeside(const std::string& target) : m_writer(target) {}
    ~TemporaryBeside() { m_file.close(); }

    bool Opened() const { return m_writer.Opened(); }
    int Error() const { return m_writer.Error(); }
    QFile& File()
    {
        if (!m_file.isOpen())
            m_file.open(m_writer.Fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
        return m_file;
    }

    // Flushes, gives the file the target's permissions and renames it over the target.
    bool Commit()
    {
        m_file.close();
        return m_writer.Commit();
    }

private:
    AtomicWriter m_writer;
    QFile m_file;
};

}  // namespace

QPageLayout FullSheetLayout(PaperSize paper)
{
    const QPageSize::PageSizeId id = paper == PaperSize::A4      ? QPageSize::A4
                                     : paper == PaperSize::Legal ? QPageSize::Legal
                                                                 : QPageSize::Letter;
    return QPageLayout(QPageSize(id), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter,
                       QMarginsF(0, 0, 0, 0));
}

bool PrintBatchOnPrinter(QPrinter& printer, BatchPrint& batch, PrintOffsets offsets, const BatchProgress& progress,
                         BatchOutcome& outcome, std::string& message)
{
    // With the full page the painter's origin is the sheet's corner, not the corner of
    // the printable area.
    printer.setFullPage(true);
    printer.setDocName(PrintJobName(batch.Session().FormatPath()));
    PainterPageSink sink(
        printer, [&printer](QPainter& painter) { return painter.begin(&printer); }, printer.resolution(), offsets,
        progress);
    outcome = batch.Run(sink);
    QPainter& painter = sink.Painter();
    if (sink.BeginFailed()) {
        const QString name = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                            : printer.printerName();
        message = "No se pudo iniciar la impresión en \"" + name.toStdString() +
                  "\": revise que la impresora esté disponible o que el archivo se pueda escribir.";
        return false;
    }
    if (!painter.isActive()) {
        message = NothingPrintedMessage(outcome, batch.RowsLabel());
        return false;
    }
    if (outcome.cancelled || sink.PageFailed()) {
        // The pages drawn so far are thrown away with the job, not sent half done.
        printer.abort();
        painter.end();
        message = sink.PageFailed() ? "La impresión se interrumpió: la impresora no aceptó una página más."
                                    : "La impresión en lote se canceló; no se envió nada a la impresora.";
        return false;
    }
    if (!painter.end()) {
        message = "La impresión no se pudo terminar.";
        return false;
    }
    return true;
}

bool PrintBatchToPdfFile(const std::string& path, const QPageLayout& layout, BatchPrint& batch, PrintOffsets offsets,
                         const BatchProgress& progress, BatchOutcome& outcome, std::string& message)
{
    std::string target;
    if (!ResolveWriteTarget(path, target)) {
        message = FileErrorMessage(FileAction::Write, path, errno);
        return false;
    }
    // A target the clerk should not overwrite (a folder, a read-only file) is refused
    // before any page is drawn.
    if (!CheckReplaceableTarget(path, target, &message))
        return false;
    ReclaimStaleTemporaries(target);
    TemporaryBeside temporary(target);
    if (!temporary.Opened()) {
        message = FileErrorMessage(FileAction::Write, path, temporary.Error());
        return false;
    }
    QFile& file = temporary.File();
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Ordexa"));
    writer.setTitle(PrintJobName(batch.Session().FormatPath()));
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(layout);
    PainterPageSink sink(
        writer, [&writer](QPainter& painter) { return painter.begin(&writer); }, writer.resolution(), offsets,
        progress);
    outcome = batch.Run(sink);
    QPainter& painter = sink.Painter();
    if (sink.BeginFailed()) {
        message = "No se pudo preparar la impresión del archivo \"" + path + "\".";
        return false;
    }
    if (!painter.isActive()) {
        message = NothingPrintedMessage(outcome, batch.RowsLabel());
        return false;
    }
    const bool ended = painter.end();
    if (outcome.cancelled) {
        message = "La impresión en lote se canceló; no se escribió \"" + path + "\".";
        return false;
    }
    if (outcome.stopped) {
        message = outcome.failure.empty() ? "La impresión en lote se interrumpió; no se escribió \"" + path + "\"."
                                          : outcome.failure;
        return false;
    }
    if (!ended || !file.flush() || file.error() != QFileDevice::NoError) {
        message = FileErrorMessage(FileAction::Write, path, errno ? errno : EIO);
        return false;
    }
    if (!temporary.Commit()) {
        message = FileErrorMessage(FileAction::Write, path, temporary.Error());
        return false;
    }
    return true;
}
