#include "capture/ui/batch_print_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressDialog>
#include <climits>

#include "platform/format_printer.h"
#include "platform/batch_printer.h"
#include "platform/file_folders.h"
#include "platform/frame_host.h"
#include "platform/print_dialog.h"
#include "platform/qt_locale.h"

namespace {

// Refused rows shown in the summary itself; the whole list goes to its details.
constexpr size_t kRowsInSummary = 8;

}  // namespace

CBatchPrintDlg::CBatchPrintDlg(FrameHost& host, const Format& format, const std::string& formatPath,
                               QWidget* parent)
    : m_host(host), m_format(format), m_formatPath(formatPath), m_parent(parent)
{
}

QString CBatchPrintDlg::Run()
{
    QPrinter* printer = m_host.ApplicationPrinter();
    if (!printer)
        return QString();
    const std::string csvPath = AskCsvFile();
    if (csvPath.empty())
        return QString();

    // The user's locale writes the tables' amounts, as on the screen.
    const QtLocale locale;
    BatchPrint batch(locale);
    std::string message;
    if (!batch.CopyFormat(m_format, m_formatPath, message) || !batch.OpenRows(csvPath, message)) {
        m_host.GetPrompts().Message(message, PromptIcon::Warning);
        return QString();
    }
    const QString file = QFileInfo(QString::fromStdString(csvPath)).fileName();
    const long count = batch.RowCount();
    QString confirm = (count == 1 ? QString::fromUtf8(kConfirmOneText) : QString::fromUtf8(kConfirmText).arg(count))
                          .replace(QStringLiteral("%2"), file);
    // Columns that fill nothing are named before anything prints, once.
    if (const std::string note = batch.IgnoredColumnsNote(); !note.empty())
        confirm += QStringLiteral("\n\n") + QString::fromStdString(note);
    if (!ConfirmCount(confirm) || !AskPrinter(*printer))
        return QString();

    QProgressDialog progress(QString::fromUtf8(kProgressText).arg(0).arg(count), QString::fromUtf8(kCancelText), 0,
                             int(std::min<long>(count, INT_MAX)), m_parent);
    progress.setWindowTitle(QString::fromUtf8(kTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const BatchProgress onRow = [&](long done, long total) {
        progress.setLabelText(QString::fromUtf8(kProgressText).arg(std::min(done + 1, total)).arg(total));
        progress.setValue(int(std::min<long>(done, INT_MAX)));
        QApplication::processEvents();
        return !progress.wasCanceled();
    };

    bool printed;
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        // "Print to file": the PDF is written whole or not at all.
        const QPageLayout sheet(printer->pageLayout().pageSize(), printer->pageLayout().orientation(), QMarginsF());
        printed = PrintBatchToPdfFile(printer->outputFileName().toStdString(), sheet, batch,
                                      ReadPrintOffsets(m_host.GetSettings()), onRow, m_outcome, message);
    } else {
        printed = PrintBatchOnPrinter(*printer, batch, ReadPrintOffsets(m_host.GetSettings()), onRow, m_outcome,
                                      message);
    }
    progress.close();

    std::string summary = BatchPrint::Summary(m_outcome, file.toStdString());
    if (!printed)
        summary = message + (m_outcome.refusedCount > 0 ? "\n" + summary : std::string());
    // The summary shows the first refused rows; the details hold every one listed.
    const size_t firstBreak = summary.find('\n');
    std::string shortText = summary;
    QString details;
    if (m_outcome.refused.size() > kRowsInSummary) {
        size_t at = firstBreak;
        for (size_t i = 0; i <= kRowsInSummary && at != std::string::npos; ++i)
            at = summary.find('\n', at + 1);
        shortText = summary.substr(0, at) + "\n  … (vea los detalles)";
        details = QString::fromStdString(summary);
    }
    ShowSummary(QString::fromStdString(shortText), details, printed && m_outcome.refusedCount == 0);
    if (!printed)
        return QString();
    const QString where = printer->outputFormat() == QPrinter::PdfFormat ? printer->outputFileName()
                                                                          : printer->printerName();
    return QStringLiteral("Lote de %1 enviado a %2: %3 páginas").arg(file, where).arg(m_outcome.printed);
}

std::string CBatchPrintDlg::AskCsvFile()
{
    const QString path = QFileDialog::getOpenFileName(m_parent, QString::fromUtf8(kTitle), StartFolder(FileKind::Csv),
                                                      QString::fromUtf8(kCsvFilter));
    RememberFolder(FileKind::Csv, path);
    return path.toStdString();
}

bool CBatchPrintDlg::ConfirmCount(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kTitle), text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    box.button(QMessageBox::Cancel)->setText(QString::fromUtf8(kCancelText));
    return box.exec() == QMessageBox::Ok;
}

bool CBatchPrintDlg::AskPrinter(QPrinter& printer)
{
    ProposePdfFileName(printer, m_formatPath, "-lote");
    PrintDialog dialog(printer, m_parent);
    dialog.setWindowTitle(QString::fromUtf8(kTitle));
    // The pages are the rows: no page ranges, no selection; copies go to the printer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        RememberFolder(FileKind::Pdf, printer.outputFileName());
    return true;
}

void CBatchPrintDlg::ShowSummary(const QString& text, const QString& details, bool allPrinted)
{
    QMessageBox box(allPrinted ? QMessageBox::Information : QMessageBox::Warning, QString::fromUtf8(kTitle), text,
                    QMessageBox::Ok, m_parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}
