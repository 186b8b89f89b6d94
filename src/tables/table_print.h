#pragma once
// The printout of the table window: on every page a header line with the field names, an
// empty line, then as many record lines as the page holds, in the window's order. The
// columns share the printable width in proportion to their widths on the screen.
// Everything is drawn through the drawing surface in 0.1 mm, y upward.
#include "base/dc.h"

#include <functional>
#include <vector>

class CTablaEditor;

// The print font: fixed-pitch, character height 3.6 mm, normal weight.
LogFont TablePrintFont();

// Lines per page and the records each page holds; a page always holds at least one record,
// so that every record is printed however small the page.
struct TablePrintPages {
    int linesPerPage = 0;
    int recordsPerPage = 0;
    int pageCount = 0;
};
TablePrintPages PlanTablePages(int printableHeightUnits, int lineHeightUnits, int recordCount);

// The left edge of each column's share (columns 1 .. count - 1) and the right edge of the
// last one, for a printable width.
std::vector<int> ColumnShares(const CTablaEditor& editor, int left, int widthUnits);

// Prints the rows 1 .. RowCount() - 1 of the window. `area` is the printable area in
// 0.1 mm with y upward (top > bottom); the surface is in that mapping. `newPage` is called
// between pages and may end the job by returning false. Returns the pages printed.
int PrintTable(Dc& dc, CTablaEditor& editor, const Rect& area, const std::function<bool()>& newPage);
