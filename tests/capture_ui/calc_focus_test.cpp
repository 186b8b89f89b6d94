// The clerk's real moves decide when calculated fields compute: printing, previewing, a
// menu, another window never change a value, and a text that is no amount is named on
// the field it was typed into.
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "capture_fixture.h"
#include "model/element_factory.h"
#include "model/format_file.h"
#include "model/textline_var.h"
#include "platform/command_ids.h"

namespace {

using namespace CommandId;

class SelfFormulaFixture : public CaptureFixture {
protected:
    void SetUp() override
    {
        CaptureFixture::SetUp();
        // PRECIO*1.15 on PRECIO itself, a field it feeds, and one to move to.
        Format format;
        format.title = "Precios";
        int y = 20;
        for (const auto& [name, formula] : {std::pair{"PRECIO", "PRECIO*1.15"}, std::pair{"DOBLE", "PRECIO*2"},
                                            std::pair{"NOTA", ""}}) {
            auto element = CreateElementAt(kKindTextlineVar, 100, -100);
            element->m_text = name;
            static_cast<CTextlineVar&>(*element).m_formula = formula;
            element->m_rcScreen = {120, y, 300, y + 22};
            element->m_screenPlaced = 1;
            format.elements.push_back(std::move(element));
            y += 40;
        }
        const std::string path = TempPath("precios.fmt");
        std::string message;
        ASSERT_TRUE(SaveFormatFile(path, format, FormatWriter::Design, message)) << message;
        frame = static_cast<CFmtcapturaFrm*>(app.OpenForCapture(path));
        ASSERT_NE(frame, nullptr);
        view = frame->View();
        Settle();
    }

    // Clicks the toolbar button of a command, as the clerk does.
    void ClickTool(int command)
    {
        QAction* action = frame->ToolAction(command);
        ASSERT_NE(action, nullptr);
        QWidget* button = frame->ToolBar()->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
    }
};

}  // namespace

TEST_F(SelfFormulaFixture, PrintPreviewMenusAndOtherWindowsNeverComputeAFieldAgain)
{
    TypeInto("PRECIO", "100");
    ASSERT_EQ(Text("PRECIO"), "115.00");
    ASSERT_EQ(Text("DOBLE"), "230.00");
    view->Session().MarkSaved();
    // Back into the field with a click, then everything that takes the focus away from
    // it for a while.
    QTest::mouseClick(Control("PRECIO"), Qt::LeftButton);
    ASSERT_EQ(FocusedId(), Id("PRECIO"));

    WhenModalOpens([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ClickTool(kPrintFormat);
    WhenModalOpens([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ClickTool(kPrintPreview);

    QMenuBar* bar = app.MainFrame()->menuBar();
    QAction* first = bar->actions().front();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(first).center());
    Settle();
    if (QWidget* popup = QApplication::activePopupWidget())
        QTest::keyClick(popup, Qt::Key_Escape);
    Settle();

    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    Settle();
    QApplication::setActiveWindow(app.MainFrame());
    Settle();

    // Then a real move away: the field was not edited, so it is not computed again.
    QTest::mouseClick(Control("NOTA"), Qt::LeftButton);
    EXPECT_EQ(Text("PRECIO"), "115.00");
    EXPECT_EQ(Text("DOBLE"), "230.00");
    EXPECT_FALSE(view->Session().IsModified()) << "closing asks nothing";

    // While the clerk is still typing, another window taking the keyboard computes
    // nothing under the clerk's hands; Tab then computes the edit once.
    QTest::mouseClick(Control("PRECIO"), Qt::LeftButton);
    static_cast<QLineEdit*>(Control("PRECIO"))->selectAll();
    QTest::keyClicks(Control("PRECIO"), "300");
    QApplication::setActiveWindow(&other);
    Settle();
    EXPECT_EQ(Text("PRECIO"), "300");
    QApplication::setActiveWindow(app.MainFrame());
    Settle();
    ASSERT_EQ(FocusedId(), Id("PRECIO"));
    QTest::keyClick(Control("PRECIO"), Qt::Key_Tab);
    EXPECT_EQ(Text("PRECIO"), "345.00");

    // An edit pending when Imprimir is clicked counts once, and only once.
    QTest::mouseClick(Control("PRECIO"), Qt::LeftButton);
    static_cast<QLineEdit*>(Control("PRECIO"))->selectAll();
    QTest::keyClicks(Control("PRECIO"), "200");
    WhenModalOpens([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ClickTool(kPrintFormat);
    EXPECT_EQ(Text("PRECIO"), "230.00");
    QTest::keyClick(Control("PRECIO"), Qt::Key_Tab);
    EXPECT_EQ(Text("PRECIO"), "230.00");
    EXPECT_EQ(Text("DOBLE"), "460.00");
}

TEST_F(SelfFormulaFixture, ATextThatIsNoAmountIsNamedOnItsFieldAndInTheStatusBar)
{
    TypeInto("PRECIO", "$1,000.00");
    EXPECT_EQ(Text("PRECIO"), "1150.00");
    TypeInto("PRECIO", "abc");
    EXPECT_EQ(Text("PRECIO"), "abc");
    EXPECT_EQ(Text("DOBLE"), "") << "a field computed from it waits for an amount";
    auto* edit = qobject_cast<CCalcEdit*>(Control("PRECIO"));
    ASSERT_NE(edit, nullptr);
    const QString problem = QString::fromUtf8("«abc» no es una cantidad: escriba en «PRECIO» solo el número, por ejemplo 1,234.50.");
    EXPECT_EQ(edit->Problem(), problem);
    EXPECT_EQ(edit->toolTip(), problem);
    EXPECT_EQ(frame->statusBar()->currentMessage(), problem);

    TypeInto("PRECIO", "10");
    EXPECT_EQ(Text("DOBLE"), "23.00");
    EXPECT_TRUE(edit->Problem().isEmpty());
}
