#pragma once
// The capture screen's printout on Qt's printing: a QPrinter (a CUPS printer or "print
// to PDF", as the print dialog left it) or a PDF file written directly. Both run the one
// print job of the capture session (capture/print_job.h) on a QtDc whose origin is the
// sheet's top-left corner, so the print dialog, the print preview and `ordexa-cli print`
// cannot differ.
#include <QByteArray>
#include <string>

#include "capture/print_job.h"
#include "model/format_file.h"

class QPainter;
class QPrinter;

// Paper sizes ordexa-cli offers; the print dialog chooses any other on a printer.
enum class PaperSize { Letter, A4, Legal };

// Draws the one page on a painter whose origin is the sheet's top-left corner and whose
// device has `dpi` pixels per inch (the printer's resolution).
void PaintPrintPage(QPainter& painter, double dpi, const ElementList& elements, PrintOffsets offsets);

// Prints one page on a printer set up by the print dialog (or by the caller): full page
// on, so that the page origin is the sheet's corner whatever the printer's unprintable
// margin; job name "Ordexa". False with a Spanish message when the printer cannot be
// started (nothing printed).
bool PrintOnPrinter(QPrinter& printer, const ElementList& elements, PrintOffsets offsets, std::string& message);

// The printout as the bytes of a one-page PDF on a sheet of the given paper, on a
// printer whose printable area starts at the sheet's corner. Empty when the PDF could
// not be made.
QByteArray PrintToPdfBytes(PaperSize paper, const ElementList& elements, PrintOffsets offsets);

// Writes the printout as a one-page PDF file on a sheet of the given paper, completely or
// not at all (a temporary file in the same folder, renamed over the target). False with
// a Spanish message naming the file on failure.
bool PrintToPdfFile(const std::string& path, PaperSize paper, const ElementList& elements, PrintOffsets offsets,
                    std::string& message);
