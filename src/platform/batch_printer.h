#pragma once
// Batch printing on Qt's printing: every row of a spreadsheet becomes one page of ONE
// print job, drawn through PaintPrintPage like the single printout, with a new page
// between rows. The job goes to a printer chosen in the print dialog or into a PDF file
// written completely or not at all (a temporary file beside the target, renamed once the
// last page is done; nothing is left behind on a failure, a cancel or when no row could
// be printed). Pages stream out as they are drawn: nothing is kept per page.
#include <QPageLayout>
#include <functional>
#include <string>

#include "capture/batch_print.h"
#include "capture/print_job.h"
#include "platform/format_printer.h"

class QPrinter;

// Called before each row with the rows done so far and the rows in the file: false
// cancels the batch there.
using BatchProgress = std::function<bool(long done, long total)>;

// The page of a PDF on `paper` whose printable area starts at the sheet's corner.
QPageLayout FullSheetLayout(PaperSize paper);

// Prints the batch on a printer set up by the print dialog (full page, so page (0, 0) is
// the sheet's corner; job name "Ordexa"). The job starts with the first page that can be
// printed: a batch that prints nothing sends nothing. A cancel aborts the job. False
// with a Spanish message when the printer cannot be started or the job not finished;
// `outcome` tells what was printed and which rows were left out.
bool PrintBatchOnPrinter(QPrinter& printer, BatchPrint& batch, PrintOffsets offsets, const BatchProgress& progress,
                         BatchOutcome& outcome, std::string& message);

// Writes the batch as one PDF file of one page per printed row. False with a Spanish
// message naming the file when it could not be written, when the batch was cancelled or
// stopped, or when no row could be printed; the target is then left as it was.
bool PrintBatchToPdfFile(const std::string& path, const QPageLayout& layout, BatchPrint& batch, PrintOffsets offsets,
                         const BatchProgress& progress, BatchOutcome& outcome, std::string& message);
