// The table window's export and print commands: the dialogs, the wait cursor and the
// printer; what is written and drawn comes from the core.
#include "tables/ui/tabla_wnd.h"

#include "platform/qt_dc.h"
#include "platform/qt_locale.h"
#include "platform/qt_prompts.h"
#include "tables/table_export.h"
#include "tables/table_print.h"

#include <QApplication>
#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr const char* kExportFilter =
    "Texto separado por tabulaciones (*.txt);;dBase III plus(*.dbf);;Kalbase (*.dat)";

constexpr const char* kPrinterNotStarted = "No se pudo iniciar la impresora %1: la tabla no se imprimió.";
constexpr const char* kNoPrinter = "No se pudo iniciar la impresora: no hay ninguna impresora disponible y la tabla no "
                                   "se imprimió.";
constexpr const char* kPrintFileNotStarted = "No se pudo crear el archivo %1: la tabla no se imprimió.";

// Why a printer did not start, in the clerk's words: the file it was to write, or the
// printer by name.
QString PrinterFailure(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return QString::fromUtf8(kPrintFileNotStarted).arg(printer.outputFileName());
    if (printer.printerName().isEmpty())
        return QString::fromUtf8(kNoPrinter);
    return QString::fromUtf8(kPrinterNotStarted).arg(printer.printerName());
}

}  // namespace

void CTablaWnd::ExportTable()
{
    if (!m_editor->IsAttached())
        return;
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("txt");
    dialog.setNameFilter(QString::fromUtf8(kExportFilter));
    // The suffix follows the chosen filter, so that choosing "dBase" and typing a bare
    // name writes a .dbf.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const int open = int(filter.lastIndexOf("*."));
        if (open >= 0)
            dialog.setDefaultSuffix(filter.mid(open + 2, 3));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string path = dialog.selectedFiles().first().toStdString();

    QtLocale locale;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ::ExportTable(*m_editor, path, WindowPrompts(), locale);
    QApplication::restoreOverrideCursor();
    m_editor->GoToRow(m_editor->CurRow());
    update();
}

void CTablaWnd::PrintTable()
{
    if (!m_editor->IsAttached())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QApplication::applicationDisplayName());
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTableTo(printer);
}

int CTablaWnd::PrintTableTo(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        WindowPrompts().Message(PrinterFailure(printer).toStdString(), PromptIcon::Error);
        return 0;
    }
    // The painter's origin is the corner of the printable area; in 0.1 mm with y upward
    // the area runs from 0 down to minus its height.
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const Rect area{0, 0, int(paint.width() * 10), -int(paint.height() * 10)};
    QtDc dc(painter, printer.resolution());
    dc.SetMapMode(MapMode::LoMetric);
    const int pages = ::PrintTable(dc, *m_editor, area, [&printer]() { return printer.newPage(); });
    painter.end();
    m_editor->GoToRow(m_editor->CurRow());
    return pages;
}
