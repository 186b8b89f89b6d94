#include "window_fixture.h"

#include <QScrollBar>

TEST_F(TablaWndTest, TypingIntoTheNewRecordLineAndEnterAppendsTheRecord)
{
    AddRecord(10, "Ana");
    AddRecord(20, "Beto");
    EXPECT_EQ(editor.RowCount(), 3);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ana", "Beto"}));
    EXPECT_EQ(editor.CurRow(), 3) << "the cursor is on the new record line";
    EXPECT_EQ(editor.CurCol(), 1);
    EXPECT_FALSE(wnd->CellEdit()->isVisible());
    EXPECT_TRUE(wnd->hasFocus());
}

TEST_F(TablaWndTest, EnterAndF2EditTheCurrentTextAndEscapeRestoresIt)
{
    AddRecord(10, "Ana");
    QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, CellCenter(1, 2));
    QTest::keyClick(wnd, Qt::Key_F2);
    ASSERT_TRUE(wnd->CellEdit()->isVisible());
    EXPECT_EQ(wnd->CellEdit()->text(), "Ana");
    EXPECT_EQ(wnd->CellEdit()->cursorPosition(), 3);
    QTest::keyClicks(wnd->CellEdit(), "lia");
    QTest::keyClick(wnd->CellEdit(), Qt::Key_Escape);
    EXPECT_EQ(editor.CellText(1, 2), "Ana");

    QTest::keyClick(wnd, Qt::Key_Return);
    QTest::keyClicks(wnd->CellEdit(), "lia");
    QTest::keyClick(wnd->CellEdit(), Qt::Key_Down);
    EXPECT_EQ(editor.CellText(1, 2), "Analia");
    EXPECT_EQ(editor.CurRow(), 2) << "Down ends an edit of a record row and moves";
}

TEST_F(TablaWndTest, TypingIntoAnIndexedFieldOfARecordRowRestoresTheOldText)
{
    AddRecord(10, "Ana");
    TypeInto(1, 1, "99");
    EXPECT_EQ(editor.CellText(1, 1), "10");
    ASSERT_EQ(table.GoToRecord(1), 1);
    EXPECT_EQ(table.GetText(0), "10");
}

TEST_F(TablaWndTest, DraggingOverRowHeadersTwoToFourAndDeleteLeavesTheFirstAndLast)
{
    for (int i = 1; i <= 5; ++i)
        AddRecord(i * 10, QString("Cliente %1").arg(i));
    QTest::mousePress(wnd, Qt::LeftButton, Qt::NoModifier, RowHeaderCenter(2));
    DragTo(RowHeaderCenter(4));
    QTest::mouseRelease(wnd, Qt::LeftButton, Qt::NoModifier, RowHeaderCenter(4));
    EXPECT_EQ(std::make_pair(editor.SelFirst(), editor.SelLast()), std::make_pair(2, 4));

    prompts.QueueAnswer(true);
    QTest::keyClick(wnd, Qt::Key_Delete);
    ASSERT_FALSE(prompts.Shown().empty());
    EXPECT_EQ(prompts.Shown().back(), CTablaEditor::kAskDeleteSelection);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Cliente 1", "Cliente 5"}));
    EXPECT_FALSE(editor.HasSelection());
}

TEST_F(TablaWndTest, ClickingASelectedRowHeaderClearsTheSelection)
{
    AddRecord(10, "Ana");
    AddRecord(20, "Beto");
    QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, RowHeaderCenter(2));
    EXPECT_TRUE(editor.IsRowSelected(2));
    QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, RowHeaderCenter(2));
    EXPECT_FALSE(editor.HasSelection());
    QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, RowHeaderCenter(3));
    EXPECT_FALSE(editor.HasSelection()) << "the new record line is never selected";
}

TEST_F(TablaWndTest, CurrencyColumnShowsANegativeAmountInRedAndCyanWhenSelected)
{
    AddRecord(10, "Ana");
    TypeInto(1, 3, "-1234.5");
    const QPoint header(wnd->CellRectPx(1, 3).center().x(), CTablaWnd::kHeaderHeight / 2);
    QStringList seen;
    ChooseFromNextMenu("Formato de moneda", &seen);
    QTest::mouseClick(wnd, Qt::RightButton, Qt::NoModifier, header);
    EXPECT_EQ(seen, (QStringList{"Ordenar por esta columna", "Formato de moneda", "Alinear Izquierda",
                                 "Alinear Derecha", "Alinear Centrado", "Rótulo de Columna"}));
    EXPECT_EQ(editor.CellDisplay(1, 3).text, "-$ 1,234.50");

    auto count = [this](const QColor& colour) {
        wnd->Render();
        const QImage image = wnd->Bitmap().convertToFormat(QImage::Format_RGB32);
        const QRect cell = wnd->CellRectPx(1, 3);
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    };
    EXPECT_GT(count(QColor(255, 0, 0)), 20) << "the amount is drawn in red";
    QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, RowHeaderCenter(1));
    EXPECT_EQ(count(QColor(255, 0, 0)), 0);
    EXPECT_GT(count(QColor(0, 255, 255)), 20) << "cyan in a selected row";

    seen.clear();
    ChooseFromNextMenu("Sin formato", &seen);
    QTest::mouseClick(wnd, Qt::RightButton, Qt::NoModifier, header);
    EXPECT_TRUE(seen.contains("Sin formato"));
    EXPECT_EQ(editor.CellDisplay(1, 3).text, "-1234.5");
}

TEST_F(TablaWndTest, ColumnMenuAlignsAndSortsAndCornerMenuOffersExportAndPrint)
{
    AddRecord(30, "Carla");
    AddRecord(10, "Ana");
    AddRecord(20, "Beto");
    const QPoint nameHeader(wnd->CellRectPx(1, 2).center().x(), 10);
    ChooseFromNextMenu("Alinear Centrado");
    QTest::mouseClick(wnd, Qt::RightButton, Qt::NoModifier, nameHeader);
    EXPECT_EQ(editor.Column(2).align, TablaColumn::kAlignCenter);

    ChooseFromNextMenu("Ordenar por esta columna");
    QTest::mouseClick(wnd, Qt::RightButton, Qt::NoModifier, nameHeader);
    EXPECT_FALSE(editor.IsSorted()) << "the name has no index";
    const QPoint keyHeader(wnd->CellRectPx(1, 1).center().x(), 10);
    ChooseFromNextMenu("Ordenar por esta columna");
    QTest::mouseClick(wnd, Qt::RightButton, Qt::NoModifier, keyHeader);
    EXPECT_TRUE(editor.IsSorted());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ana", "Beto", "Carla"}));

    QStringList seen;
    ChooseFromNextMenu("", &seen);
    QTest::mouseClick(wnd, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(seen, (QStringList{"Exportar tabla", "Imprimir tabla"}));
}

TEST_F(TablaWndTest, DraggingAColumnEdgeInTheHeaderResizesItNeverBelowFourPixels)
{
    const int edge = wnd->CellRectPx(1, 2).right() + 1;
    QTest::mousePress(wnd, Qt::LeftButton, Qt::NoModifier, QPoint(edge, 10));
    DragTo(QPoint(edge + 30, 10));
    QTest::mouseRelease(wnd, Qt::LeftButton, Qt::NoModifier, QPoint(edge + 30, 10));
    EXPECT_EQ(editor.Column(2).widthPx, 150);

    QTest::mousePress(wnd, Qt::LeftButton, Qt::NoModifier, QPoint(edge + 30, 10));
    DragTo(QPoint(0, 10));
    QTest::mouseRelease(wnd, Qt::LeftButton, Qt::NoModifier, QPoint(0, 10));
    EXPECT_EQ(editor.Column(2).widthPx, CTablaWnd::kMinColumnWidth);
}

TEST_F(TablaWndTest, TabMovesTheFocusToTheParentsNextControl)
{
    QTest::keyClick(wnd, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
}

TEST_F(TablaWndTest, ArrowKeysMoveTheCursorAndTheMarkerFollowsIt)
{
    for (int i = 1; i <= 3; ++i)
        AddRecord(i, QString("N%1").arg(i));
    QTest::keyClick(wnd, Qt::Key_Home);
    QTest::keyClick(wnd, Qt::Key_Right);
    QTest::keyClick(wnd, Qt::Key_Down);
    EXPECT_EQ(std::make_pair(editor.CurRow(), editor.CurCol()), std::make_pair(2, 2));
    auto* marker = wnd->findChild<QFrame*>(QString::number(CTablaWnd::kIdMarker));
    ASSERT_NE(marker, nullptr);
    EXPECT_TRUE(marker->isVisible());
    EXPECT_TRUE(marker->geometry().contains(CellCenter(2, 2)));
    QTest::keyClick(wnd, Qt::Key_End);
    EXPECT_EQ(std::make_pair(editor.CurRow(), editor.CurCol()), std::make_pair(4, 1));
}

TEST_F(TablaWndTest, ScrollBarsAppearOnlyWhenTheContentDoesNotFit)
{
    // Row header 60, then 60, 120 and 110: 350 pixels of columns, one line.
    auto* vertical = wnd->findChild<QScrollBar*>(QString::number(CTablaWnd::kIdVScroll));
    auto* horizontal = wnd->findChild<QScrollBar*>(QString::number(CTablaWnd::kIdHScroll));
    EXPECT_FALSE(vertical->isVisible());
    EXPECT_FALSE(horizontal->isVisible());
    EXPECT_EQ(wnd->GridRect(), wnd->rect());

    wnd->resize(300, 220);
    EXPECT_TRUE(horizontal->isVisible());
    EXPECT_FALSE(vertical->isVisible());
    // On the last column the view scrolls only as far as the last column needs.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(wnd, Qt::Key_Right);
    EXPECT_EQ(editor.CurCol(), 3);
    EXPECT_EQ(editor.FirstCol(), 2) << "Nombre and Importe fit together in 240 pixels";
    wnd->resize(440, 220);
    EXPECT_EQ(editor.FirstCol(), 1) << "everything fits again: nothing stays scrolled";
    EXPECT_FALSE(horizontal->isVisible());
}

TEST_F(TablaWndTest, ManyRecordsScrollWithTheCursor)
{
    for (int i = 1; i <= 15; ++i)
        AddRecord(i, QString("N%1").arg(i));
    EXPECT_EQ(editor.CurRow(), 16);
    EXPECT_GT(editor.FirstRow(), 1);
    EXPECT_TRUE(wnd->CellRectPx(16, 1).bottom() <= wnd->GridRect().bottom()) << "the new record line is in view";
    auto* vertical = wnd->findChild<QScrollBar*>(QString::number(CTablaWnd::kIdVScroll));
    ASSERT_NE(vertical, nullptr);
    EXPECT_TRUE(vertical->isVisible()) << "16 rows do not fit";
    EXPECT_GT(vertical->geometry().left(), wnd->CellRectPx(16, 3).right()) << "the bar covers no column";
    EXPECT_FALSE(wnd->findChild<QScrollBar*>(QString::number(CTablaWnd::kIdHScroll))->isVisible()) << "the columns fit";
    QTest::keyClick(wnd, Qt::Key_Home);
    EXPECT_EQ(editor.FirstRow(), 1);
}
