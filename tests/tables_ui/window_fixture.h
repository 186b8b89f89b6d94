#pragma once
// A table window over a table of clients (indexed key, name, amount), inside a parent
// with a line edit after it in tab order, shown on the offscreen platform.
#include "tables/tabla.h"
#include "platform/qt_locale.h"
#include "tables/ui/tabla_wnd.h"
#include "tables/table_print.h"
#include "test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

class TablaWndTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScriptedPrompts prompts;
    // The table window shows what the Qt locale writes.
    QtLocale locale{QLocale(QLocale::Spanish, QLocale::Mexico)};
    CTabla table{prompts, locale};
    CTablaEditor editor{prompts, locale};
    QWidget parent;
    CTablaWnd* wnd = nullptr;
    QLineEdit* after = nullptr;

    void SetUp() override
    {
        const CKVField fields[] = {{"Clave", 0, kvInt32, kvIndexUnique | kvIndexDefault},
                                   {"Nombre", 20, kvText},
                                   {"Importe", 0, kvDouble}};
        ASSERT_TRUE(table.Create(dir / "clientes", fields, true));
        parent.resize(460, 260);
        wnd = new CTablaWnd(&parent, 1173, editor, &prompts);
        after = new QLineEdit(&parent);
        after->setGeometry(0, 230, 200, 24);
        ASSERT_TRUE(wnd->Attach(&table));
        wnd->BuildColumns();
        wnd->SetColumnWidth(2, 120);
        wnd->SetColumnWidth(3, 110);
        wnd->Reset();
        wnd->Create(QRect(0, 0, 440, 220));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        parent.activateWindow();
        wnd->setFocus();
        QApplication::processEvents();
    }

    QPoint CellCenter(int row, int col) const { return wnd->CellRectPx(row, col).center(); }
    QPoint RowHeaderCenter(int row) const
    {
        return QPoint(CTablaEditor::kRowHeaderWidthPx / 2, wnd->CellRectPx(row, 1).center().y());
    }
    // Clicks a cell and types text as a user does: the first character opens the edit and
    // the rest go into it; then the ending key.
    void TypeInto(int row, int col, const QString& text, Qt::Key end = Qt::Key_Return)
    {
        QTest::mouseClick(wnd, Qt::LeftButton, Qt::NoModifier, CellCenter(row, col));
        QTest::keyClicks(wnd, text.left(1));
        ASSERT_TRUE(wnd->CellEdit()->isVisible());
        if (text.size() > 1)
            QTest::keyClicks(wnd->CellEdit(), text.mid(1));
        QTest::keyClick(wnd->CellEdit(), end);
    }
    void AddRecord(int key, const QString& name)
    {
        const int line = editor.RowCount();
        TypeInto(line, 2, name, Qt::Key_F3);
        TypeInto(line, 1, QString::number(key));
    }
    // Moves the mouse with the left button held, as a drag does.
    void DragTo(const QPoint& pos)
    {
        QMouseEvent move(QEvent::MouseMove, pos, wnd->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(wnd, &move);
    }
    // Chooses an entry of the context menu that the next right click opens.
    void ChooseFromNextMenu(const QString& text, QStringList* seen = nullptr)
    {
        // The menu opens inside the click's own event loop: poll until it is there.
        auto* timer = new QTimer(wnd);
        timer->setInterval(5);
        int* tries = new int(0);
        QObject::connect(timer, &QTimer::timeout, [timer, tries, text, seen]() {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu && ++*tries < 200)
                return;
            timer->stop();
            timer->deleteLater();
            delete tries;
            if (!menu)
                return;
            QAction* chosen = nullptr;
            for (QAction* a : menu->actions()) {
                if (seen)
                    seen->append(a->text());
                if (a->text() == text)
                    chosen = a;
            }
            if (chosen)
                menu->setActiveAction(chosen);
            if (chosen)
                QTest::keyClick(menu, Qt::Key_Return);
            else
                menu->close();
        });
        timer->start();
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int r = 1; r < editor.RowCount(); ++r)
            names.push_back(editor.CellText(r, 2));
        return names;
    }
};
