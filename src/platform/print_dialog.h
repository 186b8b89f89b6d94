#pragma once
// PrintDialog: the program's print dialog. It opens on the choice the clerk made last in
// this session: "print to file (PDF)" with the file, or the printer by name.
//
// Qt's dialog on Unix selects the system's default printer while it is built, and in
// doing so switches the printer it was given to that printer: a QPrinter left on PDF
// output came back as the default queue before the dialog was shown, so the clerk had to
// choose the file again every time. The dialog puts back what the printer held before it
// was built, which is what the dialog then shows.
#include <QPrintDialog>
#include <QPrinter>
#include <QString>

class PrintDialog : public QPrintDialog {
public:
    PrintDialog(QPrinter& printer, QWidget* parent);

private:
    // What the print dialog shows as chosen: the output, the PDF file, the queue.
    struct Choice {
        QPrinter::OutputFormat format;
        QString fileName;
        QString printerName;
    };
    static Choice ChoiceOf(const QPrinter& printer);
    PrintDialog(QPrinter& printer, const Choice& before, QWidget* parent);
};
