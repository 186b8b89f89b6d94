#pragma once
// "Imprimir lote...": the capture screen's format printed once per row of a spreadsheet.
// The clerk chooses the CSV file, reads how many records will print and confirms, chooses
// the printer, watches the progress (and may cancel), and reads at the end which rows
// were left out and why. The batch fills a capture session of its own: the values typed
// on the screen stay exactly as they were.
//
// Each dialog is a step that tests replace (a file chosen, an answer given).
#include <QString>
#include <string>

#include "capture/batch_print.h"
#include "model/format_file.h"

class FrameHost;
class QPrinter;
class QWidget;

class CBatchPrintDlg {
public:
    static constexpr const char* kTitle = "Imprimir lote";
    static constexpr const char* kCsvFilter = "Hojas de cálculo CSV (*.csv)";
    static constexpr const char* kConfirmText = "Se imprimirán %1 registros de «%2».";
    static constexpr const char* kConfirmOneText = "Se imprimirá 1 registro de «%2».";
    static constexpr const char* kProgressText = "Imprimiendo registro %1 de %2";
    static constexpr const char* kCancelText = "Cancelar";

    CBatchPrintDlg(FrameHost& host, const Format& format, const std::string& formatPath, QWidget* parent);
    virtual ~CBatchPrintDlg() = default;

    // The whole command. Returns a line for the status bar (empty when nothing printed).
    QString Run();

    const BatchOutcome& Outcome() const { return m_outcome; }

protected:
    // The CSV file to print from; empty when the clerk cancels.
    virtual std::string AskCsvFile();
    // "Se imprimirán N registros de «file»." with OK and Cancel; true on OK.
    virtual bool ConfirmCount(const QString& text);
    // The print dialog on the application's printer; true when the clerk prints.
    virtual bool AskPrinter(QPrinter& printer);
    // The summary at the end (printed pages, refused rows and why).
    virtual void ShowSummary(const QString& text, const QString& details, bool allPrinted);

    QWidget* Parent() const { return m_parent; }

private:
    bool PrintRows(QPrinter& printer, std::string& message);

    FrameHost& m_host;
    const Format& m_format;
    std::string m_formatPath;
    QWidget* m_parent;
    BatchOutcome m_outcome;
};
