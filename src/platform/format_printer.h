#pragma once
// The capture screen's printout on Qt's printing: a QPrinter (a CUPS printer or "print
// to PDF", as the print dialog left it) or a PDF file written directly. Both run the one
// print job of the capture session (capture/print_job.h) on a QtDc whose origin is the
// sheet's top-left corner, so the print dialog, the print preview and `ordexa-cli print`
// cannot differ.
#include <QByteArray>
#include <QString>
#include <functional>
#include <string>

#include "capture/print_job.h"
#include "model/format_file.h"

// The resolution of a printout to PDF, single or batch: fine enough that a 0.1 mm
// position lands within 0.03 mm.
inline constexpr int kPdfResolution = 1200;

class QPainter;
class QPrinter;

// Paper sizes ordexa-cli offers; the print dialog chooses any other on a printer.
enum class PaperSize { Letter, A4, Legal };

// What a sheet shows, drawn through a surface whose device origin is the sheet's top-left
// corner (the routine sets its own mapping), with the sheet's size in 0.1 mm. The
// format's printout is one; the calibration sheet and the field outlines are others,
// and all of them reach the printer and the PDF by the same routines below.
using SheetPainter = std::function<void(Dc& sheet, int sheetWidthUnits, int sheetHeightUnits)>;
// A picture put under the page before it is drawn, on the painter in device pixels with
// the sheet's corner at (0, 0) and `dpi` pixels per inch. Only the print preview passes
// one (the scanned form): a printout never carries it.
using SheetUnderlay = std::function<void(QPainter& painter, double dpi)>;

// Draws one sheet on a painter whose origin is the sheet's top-left corner and whose
// device has `dpi` pixels per inch; the underlay, when given, goes first.
void PaintSheet(QPainter& painter, double dpi, int sheetWidthUnits, int sheetHeightUnits, const SheetPainter& paint,
                const SheetUnderlay& underlay = {});

// The format's printout as a SheetPainter: every element prints, page (0, 0) moved by the
// offsets.
SheetPainter FormatSheet(const ElementList& elements, PrintOffsets offsets);

// Draws the one page on a painter whose origin is the sheet's top-left corner and whose
// device has `dpi` pixels per inch (the printer's resolution).
void PaintPrintPage(QPainter& painter, double dpi, const ElementList& elements, PrintOffsets offsets);

// The sheet's size in 0.1 mm: of a paper size, and of a printer's current paper.
void SheetSizeUnits(PaperSize paper, int& widthUnits, int& heightUnits);
void SheetSizeUnits(const QPrinter& printer, int& widthUnits, int& heightUnits);

// The name of a print job (and of the PDF's title) for a format: its file's name without
// the folder and extension ("Factura" for .../Factura.fmt); "Ordexa" without a format.
QString PrintJobName(const std::string& formatPath);

// Prints one sheet on a printer (full page, job named `jobName`, "Ordexa" when empty), as
// PrintOnPrinter does for the format; the underlay is the print preview's. False with a
// Spanish message when the printer cannot be started.
bool PrintSheetOnPrinter(QPrinter& printer, const SheetPainter& paint, std::string& message,
                         const SheetUnderlay& underlay = {}, const QString& jobName = {});
// One sheet as the bytes of a one-page PDF, or written to a PDF file atomically, as
// PrintToPdfBytes and PrintToPdfFile do for the format.
QByteArray SheetToPdfBytes(PaperSize paper, const SheetPainter& paint);
bool SheetToPdfFile(const std::string& path, PaperSize paper, const SheetPainter& paint, std::string& message);

// Prints one page on a printer set up by the print dialog (or by the caller): full page
// on, so that the page origin is the sheet's corner whatever the printer's unprintable
// margin; the job (and a PDF's title) is named after the format at `formatPath`. False
// with a Spanish message when the printer cannot be started (nothing printed).
bool PrintOnPrinter(QPrinter& printer, const ElementList& elements, PrintOffsets offsets, std::string& message,
                    const std::string& formatPath = {});

// The printout as the bytes of a one-page PDF on a sheet of the given paper, on a
// printer whose printable area starts at the sheet's corner. Empty when the PDF could
// not be made.
QByteArray PrintToPdfBytes(PaperSize paper, const ElementList& elements, PrintOffsets offsets);

// Writes the printout as a one-page PDF file on a sheet of the given paper, completely or
// not at all (a temporary file in the same folder, renamed over the target). False with
// a Spanish message naming the file on failure.
bool PrintToPdfFile(const std::string& path, PaperSize paper, const ElementList& elements, PrintOffsets offsets,
                    std::string& message);

// When the printer writes a PDF file (no printer installed, or "print to file" chosen
// before), the print dialog offers "<format's name><suffix>.pdf" in the folder of the
// last PDF printed (the format's own folder the first time), rather than a file named
// after the program in the working folder, or the last file again. On a real printer
// only the document is named so, which is the name the dialog proposes should the clerk
// switch to "print to file" there.
void ProposePdfFileName(QPrinter& printer, const std::string& formatPath, const char* suffix = "");
