// The table element's window on the capture screen, driven by real key events.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <QScrollBar>

#include "model/grid_capture.h"
#include "tables/ui/grid_entry_factory.h"
#include "tables/ui/grid_tabla_wnd.h"
#include "grid_screen_support.h"
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

// The capture screen's factory with its messages answered by a script and the Spanish
// (Mexico) locale, whatever the machine's.
class ScriptedGridFactory : public CGridEntryFactory {
public:
    using CGridEntryFactory::CGridEntryFactory;
    Prompts* TablePrompts() override { return &prompts; }
    const Locale* TableLocale() override { return &locale; }

    ScriptedPrompts prompts;
    QtLocale locale{QLocale(QLocale::Spanish, QLocale::Mexico)};
};

// The capture screen's form with one table element's window on it, focused.
struct CaptureForm {
    QWidget form;
    ScriptedGridFactory factory{&form};
    std::unique_ptr<CFmtGrid> grid;
    CGridTablaWnd* window = nullptr;

    explicit CaptureForm(std::unique_ptr<CFmtGrid> g) : grid(std::move(g))
    {
        form.resize(900, 500);
        RecordingDc dc;
        EXPECT_EQ(grid->CreateEntryControl(dc, factory, 1181, LogFont{}), 1);
        window = dynamic_cast<GridTableEntry&>(*grid->TableWindow()).Window();
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        window->setFocus();
    }
    CGridCapture& Capture() { return *grid->Capture(); }
    QScrollBar* Bar(int id) const { return window->findChild<QScrollBar*>(QString::number(id)); }
};

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

    // The new record line is not offered: End stays on the grid's last row, and what is
    // typed there is kept in that row, never in a record of its own.
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(window->Editor().CurRow(), 6);
    TypeCell(window, "9");
    EXPECT_EQ(capture.Table()->SlotCount(), 7);
    EXPECT_EQ(capture.CellText(6, 1), "9");
    // Down from the last row stays there, and says so instead of letting the next entry
    // silently replace that row's cells.
    QSignalSpy full(window, &CGridTablaWnd::statusMessage);
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(full.count(), 0);
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(full.count(), 0);
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(window->Editor().CurRow(), 6);
    ASSERT_EQ(full.count(), 1);
    EXPECT_EQ(full.last().at(0).toString(),
              QString::fromUtf8("La tabla «") + QString::fromStdString(g->m_text) + QString::fromUtf8("» tiene 6 renglones y no caben más."));
}

TEST(GridWindow, EveryColumnTheScreenLayoutSizedIsWhollyVisibleAndNeverScrollsSideways)
{
    const std::pair<const char*, std::function<std::unique_ptr<CFmtGrid>()>> cases[] = {
        {"invoice", InvoiceOnScreen},
        {"report card", ReportCardOnScreen},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        CaptureForm screen(make());
        CGridTablaWnd* window = screen.window;
        const QRect grid = window->GridRect();
        const int last = screen.Capture().ColumnCount() - 1;
        for (int col = 1; col <= last; ++col) {
            const QRect cell = window->CellRectPx(1, col);
            EXPECT_EQ(cell.width(), screen.grid->m_columns[size_t(col - 1)].screenWidth) << "column " << col;
            EXPECT_LE(cell.right(), grid.right()) << "column " << col << " is cut";
        }
        QScrollBar* vertical = screen.Bar(CTablaWnd::kIdVScroll);
        ASSERT_TRUE(vertical->isVisible()) << "the rows do not fit: they scroll";
        EXPECT_GT(vertical->geometry().left(), window->CellRectPx(1, last).right()) << "the bar covers no column";
        EXPECT_FALSE(screen.Bar(CTablaWnd::kIdHScroll)->isVisible()) << "the columns fit";

        for (int i = 0; i < last + 2; ++i)
            QTest::keyClick(window, Qt::Key_Right);
        EXPECT_EQ(window->Editor().CurCol(), last);
        EXPECT_EQ(window->Editor().FirstCol(), 1) << "nothing scrolled sideways";
        EXPECT_FALSE(window->CellRectPx(1, 1).isEmpty()) << "the first column is still shown";
        EXPECT_LE(window->CellRectPx(1, last).right(), grid.right());
    }
}

TEST(GridWindow, AWindowWhoseRowsFitShowsNoScrollBarAndColumnsBeyondTheLayoutScroll)
{
    // Four rows fit under the header: no bar at all.
    CaptureForm fits(DesignedOnScreen({{"Clave", kGridText, 300, ""}, {"Monto", kGridCurrency, 300, ""}}, 4, 120));
    EXPECT_FALSE(fits.Bar(CTablaWnd::kIdVScroll)->isVisible());
    EXPECT_FALSE(fits.Bar(CTablaWnd::kIdHScroll)->isVisible());
    EXPECT_LE(fits.window->CellRectPx(4, 2).bottom(), fits.window->GridRect().bottom());

    // The designer narrowed the rectangle on the screen layout: the columns beyond it
    // scroll into view, and scrolling stops where the last column ends.
    auto narrowed = InvoiceOnScreen();
    narrowed->m_screenPlaced = 1;
    narrowed->m_rcScreen.right = narrowed->m_rcScreen.left + 20 + narrowed->m_columns[0].screenWidth +
                                 narrowed->m_columns[1].screenWidth;
    CaptureForm screen(std::move(narrowed));
    ASSERT_TRUE(screen.Bar(CTablaWnd::kIdHScroll)->isVisible());
    QTest::keyClick(screen.window, Qt::Key_Right);
    EXPECT_EQ(screen.window->Editor().FirstCol(), 1) << "the second column is inside the rectangle";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(screen.window, Qt::Key_Right);
    EXPECT_EQ(screen.window->Editor().CurCol(), 4);
    const int firstCol = screen.window->Editor().FirstCol();
    EXPECT_GT(firstCol, 1);
    EXPECT_LE(screen.window->CellRectPx(1, 4).right(), screen.window->GridRect().right());
    // Scrolled one column back, the last one would no longer fit: no blank space opened.
    int used = 0;
    for (int c = firstCol - 1; c <= 4; ++c)
        used += screen.window->Editor().Column(c).widthPx;
    EXPECT_GT(used + screen.window->Editor().Column(0).widthPx, screen.window->GridRect().width());
}

TEST(GridWindow, ACalculatedColumnIsNotTypedIntoAndAnUnchangedCommitRecalculatesNothing)
{
    CaptureForm screen(InvoiceOnScreen());
    CGridTablaWnd* window = screen.window;
    CGridCapture& capture = screen.Capture();
    QSignalSpy changed(&screen.factory, &CGridEntryFactory::gridChanged);

    // Typing into the amount, computed from quantity and price, opens no edit.
    capture.MoveCursor(1, 4);
    QTest::keyClick(window, '9');
    EXPECT_FALSE(window->CellEdit()->isVisible());
    ASSERT_EQ(screen.factory.prompts.Shown().size(), 1u);
    EXPECT_EQ(screen.factory.prompts.Shown()[0], "«Importe» se calcula sola con C1*C3: escriba en las columnas de las que sale.");
    EXPECT_EQ(capture.CellDisplay(1, 4).text, "");

    QTest::keyClick(window, Qt::Key_Home);
    TypeCell(window, "2");
    QTest::keyClick(window, Qt::Key_Right);
    TypeCell(window, "451.50");
    EXPECT_EQ(capture.CellDisplay(1, 4).text, "$903.00");
    EXPECT_EQ(capture.CellDisplay(1, 3).text, "$451.50");
    const int told = changed.count();
    EXPECT_GE(told, 1);

    // Enter, Enter on the quantity: the edit opens on "2" and closes unchanged.
    QTest::keyClick(window, Qt::Key_Home);
    QTest::keyClick(window, Qt::Key_Return);
    ASSERT_TRUE(window->CellEdit()->isVisible());
    QTest::keyClick(window->CellEdit(), Qt::Key_Return);
    EXPECT_EQ(capture.CellDisplay(1, 4).text, "$903.00");
    EXPECT_EQ(changed.count(), told) << "nothing was recalculated";
    EXPECT_EQ(window->Editor().CurCol(), 2) << "the cursor moved on";

    // Enter on the amount passes over it.
    capture.MoveCursor(1, 3);
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window->CellEdit(), Qt::Key_Return);
    EXPECT_EQ(window->Editor().CurCol(), 4);
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_FALSE(window->CellEdit()->isVisible());
    EXPECT_EQ(screen.factory.prompts.Shown().size(), 1u) << "Enter is no typing: no message";
}

TEST(GridWindow, LettersInAnAmountKeepTheEditOpenWithTheReason)
{
    CaptureForm screen(InvoiceOnScreen());
    CGridTablaWnd* window = screen.window;
    CGridCapture& capture = screen.Capture();
    capture.MoveCursor(1, 3);
    QTest::keyClick(window, 'a');
    QTest::keyClicks(window->CellEdit(), "bc");
    QTest::keyClick(window->CellEdit(), Qt::Key_Return);
    EXPECT_TRUE(window->CellEdit()->isVisible()) << "the edit stays open";
    EXPECT_TRUE(window->CellEdit()->hasFocus());
    EXPECT_EQ(window->CellEdit()->text(), "abc");
    ASSERT_EQ(screen.factory.prompts.Shown().size(), 1u);
    EXPECT_EQ(screen.factory.prompts.Shown()[0],
              "«abc» no es una cantidad: escriba en «Precio» solo el número, por ejemplo 1,234.50.");
    EXPECT_EQ(window->Editor().CurCol(), 3) << "the cursor stays on the cell";

    // Tab does not leave it either; correcting the text keeps it.
    QTest::keyClick(window->CellEdit(), Qt::Key_Tab);
    EXPECT_TRUE(window->CellEdit()->isVisible());
    EXPECT_EQ(screen.factory.prompts.Shown().size(), 2u);
    window->CellEdit()->selectAll();
    QTest::keyClicks(window->CellEdit(), "$1,250.5");
    QTest::keyClick(window->CellEdit(), Qt::Key_Return);
    EXPECT_FALSE(window->CellEdit()->isVisible());
    EXPECT_EQ(capture.CellDisplay(1, 3).text, "$1,250.50");

    // Esc gives the old text back to a refused edit; a quantity with grouped thousands
    // is read as the locale writes it.
    capture.MoveCursor(1, 3);
    QTest::keyClick(window, 'x');
    QTest::keyClick(window->CellEdit(), '1');
    QTest::keyClick(window->CellEdit(), Qt::Key_Escape);
    EXPECT_FALSE(window->CellEdit()->isVisible());
    EXPECT_EQ(capture.CellDisplay(1, 3).text, "$1,250.50");
    capture.MoveCursor(1, 1);
    TypeCell(window, "1,200");
    EXPECT_DOUBLE_EQ(capture.ColumnTotal(1), 1200.0);
    EXPECT_DOUBLE_EQ(capture.ColumnTotal(4), 1500600.0);
}

TEST(GridWindow, ScreenshotOfAnInvoiceShowsEveryColumn)
{
    CaptureForm screen(InvoiceOnScreen());
    CGridTablaWnd* window = screen.window;
    TypeCell(window, "3");
    TypeCell(window, "Tornillo de acero inoxidable");
    TypeCell(window, "451.50");
    QTest::keyClick(window, Qt::Key_Home);  // the cursor's frame away from the amount
    QApplication::processEvents();
    const QImage shot = window->grab().toImage();
    if (const char* dir = std::getenv("ORDEXA_SCREENSHOTS"))
        shot.save(QString::fromUtf8(dir) + "/grid_invoice.png");
    // The amount's last digit is drawn: ink in the rightmost few pixels of its cell.
    const QRect amount = window->CellRectPx(1, 4).adjusted(0, 2, -CTablaWnd::kCellPadding, -2);
    bool ink = false;
    for (int x = amount.right() - 8; x <= amount.right(); ++x)
        for (int y = amount.top(); y <= amount.bottom(); ++y)
            ink = ink || qGray(shot.pixel(x, y)) < 128;
    EXPECT_TRUE(ink) << "the amount reaches its cell's right edge, in view";
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
