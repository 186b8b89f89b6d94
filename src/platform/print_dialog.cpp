#include "platform/print_dialog.h"

PrintDialog::PrintDialog(QPrinter& printer, QWidget* parent) : PrintDialog(printer, ChoiceOf(printer), parent) {}

PrintDialog::Choice PrintDialog::ChoiceOf(const QPrinter& printer)
{
    return {printer.outputFormat(), printer.outputFileName(), printer.printerName()};
}

// `before` is read before the base dialog is built, which is what changes the printer.
PrintDialog::PrintDialog(QPrinter& printer, const Choice& before, QWidget* parent) : QPrintDialog(&printer, parent)
{
    if (before.format == QPrinter::PdfFormat) {
        // The dialog selects its file entry when it is shown on a printer writing a PDF.
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (!before.fileName.isEmpty())
            printer.setOutputFileName(before.fileName);
    } else if (!before.printerName.isEmpty()) {
        // A queue that has gone since is left to the dialog's own choice.
        printer.setPrinterName(before.printerName);
    }
}
