#pragma once
// "Vista preliminar": the sheet exactly as "&Imprimir formato" prints it, on the
// application's printer (its paper, its resolution) with the current print offsets. The
// page is painted by the printout's own routine, so the preview cannot differ from the
// paper. When the format has a scanned form beside it, the scan is shown under the page
// here only: printing from the preview sends the page without it.
#include <QPrintPreviewDialog>
#include <string>

#include "capture/print_job.h"
#include "model/format_file.h"
#include "platform/scan_background.h"

class Prompts;

class CPrintPreviewDlg : public QPrintPreviewDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Vista preliminar - %s";

    // `elements` and `printer` are lent for the dialog's life; `formatPath` finds the
    // scanned form's sidecar; messages go to `prompts`.
    CPrintPreviewDlg(QPrinter& printer, const ElementList& elements, PrintOffsets offsets,
                     const std::string& formatPath, Prompts& prompts, QWidget* parent = nullptr);

    // True when a scanned form was found and is drawn under the page.
    bool ShowsScan() const { return !m_scan.IsEmpty(); }
    // How many times the page was painted for the preview, and sent to a printer.
    int PreviewPaints() const { return m_previewPaints; }
    int PrintedPages() const { return m_printedPages; }

private:
    void PaintRequested(QPrinter* printer);

    const ElementList& m_elements;
    PrintOffsets m_offsets;
    QString m_jobName;  // the print job's, after the format
    Prompts& m_prompts;
    ScanBackground m_scan;
    ScanDrawCache m_scanCache;
    int m_previewPaints = 0;
    int m_printedPages = 0;
};
