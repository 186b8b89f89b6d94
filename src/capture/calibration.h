#pragma once
// Calibrating the printer to the paper without guessing: a sheet with two crosses at known
// places and millimetre scales along its top and left edges, printed on plain paper with
// the current print offsets; the clerk measures where the crosses landed and the offsets
// are corrected by what is still wrong. A second sheet shows where the format's fields
// fall (their outlines and sample values), to lay over the real form against the light.
//
// Both sheets draw through Dc exactly as the print job does: 0.1 mm, y up, page (0, 0) on
// the sheet's top-left corner moved by the offsets. Measurements are in millimetres from
// the sheet's left and top edges, the way a ruler reads them.
#include <array>
#include <string>

#include "base/dc.h"
#include "capture/print_job.h"
#include "model/format_file.h"

// A place on the sheet in 0.1 mm from its left edge (x) and its top edge (y, downward).
struct SheetMark {
    int xUnits = 0;
    int yUnits = 0;
};

// Where the crosses' centres belong: far apart, so that their average is a good measure,
// and inside letter, A4 and legal paper whatever a printer's unprintable margin.
inline constexpr std::array<SheetMark, 2> kCalibrationCrosses{{{300, 300}, {1800, 2500}}};

// A measurement farther than this from where the cross belongs is taken as a misreading
// (the wrong edge, centimetres for millimetres), not as an offset.
inline constexpr double kMaxCrossErrorMm = 50;
// The largest offset either way, in 0.1 mm: as much as the margins dialog accepts.
inline constexpr int kMaxCalibratedOffsetUnits = 10000;

// Draws the calibration sheet on a surface whose device origin is the sheet's corner,
// for a sheet of the given size (0.1 mm), printed with `offsets` applied: the crosses and
// the scales land where the format's elements of the same coordinates would.
void DrawCalibrationSheet(Dc& sheet, int sheetWidthUnits, int sheetHeightUnits, PrintOffsets offsets);

// Draws the outlines of the format's variable elements as they print (each box of a boxed
// field, each cell of a table), with the value each would print or, where there is none,
// its name; page (0, 0) moved by the offsets, as the print job places it.
void DrawFieldOutlines(Dc& sheet, const ElementList& elements, PrintOffsets offsets);

// Where the clerk found a cross's centre, in mm from the sheet's left and top edges.
struct CrossMeasure {
    double xMm = 0;
    double yMm = 0;
};

struct CalibrationResult {
    PrintOffsets offsets;    // the corrected "FacX" / "FacY"
    double errorXMm = 0;     // the average remaining error: positive when the printout
    double errorYMm = 0;     // still lies right of (below) where it belongs
    double spreadMm = 0;     // how far the two crosses disagree (the larger of x and y)
};

// The corrected offsets from the two crosses as measured on a sheet printed with
// `current`: each offset moves back by the crosses' average error, converted to 0.1 mm
// and truncated toward zero as the margins dialog truncates a typed offset. False with a
// Spanish message when a measure is negative or lies farther than kMaxCrossErrorMm from
// its cross, or when the result would pass kMaxCalibratedOffsetUnits.
bool ComputeCalibration(PrintOffsets current, const std::array<CrossMeasure, 2>& measured, CalibrationResult& result,
                        std::string& message);

// Two crosses that disagree by more than this point at a printer that stretches or
// skews the sheet, which no offset corrects; the clerk is told so.
inline constexpr double kCrossSpreadWarningMm = 1.0;

// A measure as typed: a decimal number with a point or a comma, blanks around it and an
// optional "mm" after it. False for anything else.
bool ParseMillimetres(const std::string& text, double& millimetres);

// A number of millimetres (or centimetres) as the sheet and the dialog show it: up to two
// decimals, a point, no trailing zeros ("3", "-1.5", "0.28").
std::string DecimalText(double value);
