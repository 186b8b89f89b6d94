#include "capture/ui/print_preview_dlg.h"

#include <QFileInfo>
#include <QPaintEngine>
#include <QPrinter>

#include "base/prompts.h"
#include "platform/format_printer.h"

CPrintPreviewDlg::CPrintPreviewDlg(QPrinter& printer, const ElementList& elements, PrintOffsets offsets,
                                   const std::string& formatPath, Prompts& prompts, QWidget* parent)
    : QPrintPreviewDialog(&printer, parent),
      m_elements(elements),
      m_offsets(offsets),
      m_jobName(PrintJobName(formatPath)),
      m_prompts(prompts)
{
    const QString path = QString::fromStdString(formatPath);
    setWindowTitle(QString::fromUtf8(kTitle).replace(QStringLiteral("%s"), QFileInfo(path).fileName()));
    // The preview shows the whole sheet, whatever the printer's unprintable margin.
    printer.setFullPage(true);
    ScanSidecar sidecar;
    if (!path.isEmpty() && ReadScanSidecar(path, sidecar) == SidecarReadStatus::Read) {
        // A scan that cannot be shown leaves the preview without it: the design view is
        // where the clerk hears about it.
        if (LoadScan(sidecar.scanPath, sidecar.dpi, m_scan, sidecar.fadePercent).status != ScanLoadStatus::Loaded)
            m_scan = ScanBackground();
    }
    connect(this, &QPrintPreviewDialog::paintRequested, this, &CPrintPreviewDlg::PaintRequested);
    resize(900, 760);
}

void CPrintPreviewDlg::PaintRequested(QPrinter* printer)
{
    // The preview records the page as pictures; printing from the preview's own button
    // paints on the printer's real engine. Only the preview gets the scan under it.
    const bool preview = printer->paintEngine() && printer->paintEngine()->type() == QPaintEngine::Picture;
    SheetUnderlay underlay;
    if (preview && !m_scan.IsEmpty()) {
        underlay = [this, printer](QPainter& painter, double dpi) {
            const double pixelsPerUnit = dpi / 254.0;
            const QRectF sheet(QPointF(0, 0), printer->pageLayout().fullRectPixels(int(dpi)).size());
            DrawScan(painter, m_scan, QPointF(0, 0), pixelsPerUnit, sheet, m_scanCache);
        };
    }
    std::string message;
    if (!PrintSheetOnPrinter(*printer, FormatSheet(m_elements, m_offsets), message, underlay, m_jobName)) {
        m_prompts.Message(message, PromptIcon::Error);
        return;
    }
    ++(preview ? m_previewPaints : m_printedPages);
}
