#include "tables/table_print.h"

#include "tables/number_text.h"
#include "tables/tabla.h"
#include "tables/table_editor.h"

#include <algorithm>

LogFont TablePrintFont()
{
    LogFont font;
    font.height = -36;
    font.weight = 400;
    font.pitchAndFamily = 0x31;  // fixed pitch, modern family
    font.face = "Courier New";
    return font;
}

TablePrintPages PlanTablePages(int printableHeightUnits, int lineHeightUnits, int recordCount)
{
    TablePrintPages plan;
    plan.linesPerPage = lineHeightUnits > 0 ? printableHeightUnits / lineHeightUnits : 0;
    // The header and the empty line under it take two lines of every page.
    plan.recordsPerPage = std::max(1, plan.linesPerPage - 2);
    plan.pageCount = std::max(1, (recordCount + plan.recordsPerPage - 1) / plan.recordsPerPage);
    return plan;
}

std::vector<int> ColumnShares(const CTablaEditor& editor, int left, int widthUnits)
{
    std::vector<int> edges;
    int64_t total = 0;
    for (int c = 1; c < editor.ColumnCount(); ++c)
        total += std::max(0, editor.Column(c).widthPx);
    int64_t running = 0;
    edges.push_back(left);
    for (int c = 1; c < editor.ColumnCount(); ++c) {
        running += std::max(0, editor.Column(c).widthPx);
        edges.push_back(left + int(total > 0 ? running * widthUnits / total : 0));
    }
    return edges;
}

namespace {

void PrintLine(Dc& dc, const std::vector<int>& edges, int top, int lineHeight,
               const std::vector<std::string>& cells)
{
    for (size_t i = 0; i < cells.size() && i + 1 < edges.size(); ++i) {
        if (edges[i + 1] <= edges[i] || cells[i].empty())
            continue;
        const Rect clip{edges[i], top, edges[i + 1], top - lineHeight};
        dc.TextOutClipped(edges[i], top, clip, cells[i]);
    }
}

}  // namespace

int PrintTable(Dc& dc, CTablaEditor& editor, const Rect& area, const std::function<bool()>& newPage)
{
    dc.SelectFont(TablePrintFont());
    dc.SetTextColor(Rgb(0, 0, 0));
    dc.SetBkTransparent(true);
    dc.SetTextAlign(TextAlign::kLeft);
    Rect measure{0, 0, 1000, 0};
    const int lineHeight = std::max(1, dc.DrawText("Xg", measure, DrawTextFlag::kCalcRect | DrawTextFlag::kSingleLine));
    const int records = std::max(0, editor.RowCount() - 1);
    const TablePrintPages plan = PlanTablePages(area.top - area.bottom, lineHeight, records);
    const std::vector<int> edges = ColumnShares(editor, area.left, area.right - area.left);

    std::vector<std::string> header;
    for (int c = 1; c < editor.ColumnCount(); ++c)
        header.push_back(editor.Column(c).fieldName);

    int pages = 0;
    int row = 1;
    do {
        if (pages > 0 && !newPage())
            break;
        ++pages;
        int top = area.top;
        PrintLine(dc, edges, top, lineHeight, header);
        top -= 2 * lineHeight;  // the header and one empty line
        for (int n = 0; n < plan.recordsPerPage && row <= records; ++n, ++row) {
            std::vector<std::string> cells;
            for (int c = 1; c < editor.ColumnCount(); ++c) {
                std::string text = editor.CellText(row, c);
                if (editor.Column(c).Has(TablaColumn::kCurrency))
                    text = FormatPesos(text);
                cells.push_back(std::move(text));
            }
            PrintLine(dc, edges, top, lineHeight, cells);
            top -= lineHeight;
        }
    } while (row <= records);
    return pages;
}
