// The table element's window on the capture screen, driven by real key events.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "model/grid_capture.h"
#include "tables/ui/grid_entry_factory.h"
#include "tables/ui/grid_tabla_wnd.h"
#include "grid_test_support.h"
#include "base/recording_dc.h"
#include "tables/tabla.h"

namespace {

std::unique_ptr<CFmtGrid> PriceGrid()
{
    auto g = DesignedGrid();
    g->m_columns[0].title = "Cantidad";
    g->m_columns[0].type = kGridNumber;
    g->m_columns[1].title = "Precio";
    g->m_columns[1].type = kGridCurrency;
    g->m_columns[2].title = "Importe";
    g->m_columns[2].type = kGridCurrencyCalc;
    g->m_columns[2].formula = "C1*C2";
    g->m_columns[3].title = "Nota";
    for (GridColumn& c : g->m_columns)
        c.screenWidth = 110;
    g->m_screenPlaced = 1;
    g->m_rcScreen = {10, 30, 480, 210};
    return g;
}

// Types into the cursor cell as a user does: the first character opens the cell edit,
// which then has the focus and takes the rest, and Enter ends it.
void TypeCell(CGridTablaWnd* window, const std::string& text)
{
    QTest::keyClick(window, text[0]);
    QLineEdit* edit = window->CellEdit();
    ASSERT_TRUE(edit->isVisible());
    QTest::keyClicks(edit, QString::fromStdString(text.substr(1)));
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

TEST(GridWindow, TypedCellsComputeTheProductAndTellTheCaptureScreen)
{
    QWidget form;
    form.resize(520, 260);
    CGridEntryFactory factory(&form);
    QSignalSpy changed(&factory, &CGridEntryFactory::gridChanged);
    auto g = PriceGrid();
    RecordingDc dc;
    ASSERT_EQ(g->CreateEntryControl(dc, factory, 1181, LogFont{}), 1);
    auto* entry = dynamic_cast<GridTableEntry*>(g->TableWindow());
    ASSERT_NE(entry, nullptr);
    CGridTablaWnd* window = entry->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->geometry(), QRect(12, 32, 466, 176));
    form.show();
    window->setFocus();
    QApplication::setActiveWindow(&form);

    TypeCell(window, "2");
    EXPECT_EQ(window->Editor().CurCol(), 2) << "the cursor moved right after the edit";
    TypeCell(window, "3.5");
    EXPECT_EQ(window->Editor().CurCol(), 3);
    CGridCapture& capture = *g->Capture();
    EXPECT_DOUBLE_EQ(g->ColumnTotal(3), 7.0);
    EXPECT_EQ(capture.CellDisplay(1, 3).align, TablaColumn::kAlignRight) << "currency column";
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).toInt(), 1181);

    // Esc keeps the typed text in the grid.
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Left);
    ASSERT_EQ(window->Editor().CurRow(), 2);
    ASSERT_EQ(window->Editor().CurCol(), 1);
    QTest::keyClick(window, '4');
    QTest::keyClick(window->CellEdit(), Qt::Key_Escape);
    EXPECT_EQ(capture.CellText(2, 1), "4");
    EXPECT_EQ(window->Editor().CurCol(), 2);

    // The new record line never becomes a record.
    QTest::keyClick(window, Qt::Key_End);
    TypeCell(window, "9");
    EXPECT_EQ(capture.Table()->SlotCount(), 7);
}

TEST(GridWindow, ClearingAndLoadingResetTheWindow)
{
    QWidget form;
    CGridEntryFactory factory(&form);
    auto g = PriceGrid();
    RecordingDc dc;
    g->CreateEntryControl(dc, factory, 1181, LogFont{});
    CGridCapture& capture = *g->Capture();
    capture.TypeCell(3, 1, "5");
    capture.MoveCursor(4, 3);
    g->ClearValue();
    EXPECT_EQ(capture.CurRow(), 1);
    EXPECT_EQ(capture.CurCol(), 1);
    EXPECT_EQ(capture.CellText(3, 1), "0.00");
    EXPECT_FALSE(capture.CellDisplay(3, 1).text.size()) << "unfilled cells show nothing";
}
