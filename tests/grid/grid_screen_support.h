#pragma once
// Table elements laid out as the designer leaves them: the columns' screen widths and the
// screen rectangle come from drawing the element in the design view at 96 dots per inch.
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "model/fmt_grid.h"
#include "platform/qt_dc.h"
#include "grid_test_support.h"

struct DesignedColumn {
    const char* title;
    int32_t type;
    int32_t widthUnits;
    const char* formula;
};

inline std::unique_ptr<CFmtGrid> DesignedOnScreen(const std::vector<DesignedColumn>& columns, int rows, int rowUnits)
{
    auto g = DesignedGrid(100, -600);
    g->SetColumnCount(int(columns.size()));
    g->SetRowCount(rows);
    int width = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        GridColumn& c = g->m_columns[i];
        c.title = columns[i].title;
        c.type = columns[i].type;
        c.width = columns[i].widthUnits;
        c.formula = columns[i].formula;
        width += c.width;
    }
    for (GridRow& r : g->m_rows)
        r.height = rowUnits;
    g->m_rcPage.right = g->m_rcPage.left + width;
    g->m_rcPage.bottom = g->m_rcPage.top - rows * rowUnits;
    g->UpdateHandles();
    QImage design(1200, 900, QImage::Format_RGB32);
    QPainter painter(&design);
    QtDc dc(painter, 96);
    dc.SetMapMode(MapMode::LoMetric);
    g->DrawDesign(dc);
    return g;
}

// An invoice's item lines: 12 lines of 4.5 mm, more than the window's 20-pixel rows hold.
inline std::unique_ptr<CFmtGrid> InvoiceOnScreen()
{
    return DesignedOnScreen({{"Cantidad", kGridNumber, 200, ""},
                             {"Descripción", kGridText, 900, ""},
                             {"Precio", kGridCurrency, 300, ""},
                             {"Importe", kGridCurrencyCalc, 300, "C1*C3"}},
                            12, 45);
}

// A report card: a subject and three marks, their sum last.
inline std::unique_ptr<CFmtGrid> ReportCardOnScreen()
{
    return DesignedOnScreen({{"Materia", kGridText, 600, ""},
                             {"P1", kGridNumber, 150, ""},
                             {"P2", kGridNumber, 150, ""},
                             {"SUMA", kGridNumberCalc, 200, "C2+C3"}},
                            8, 50);
}
