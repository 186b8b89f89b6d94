// The table element on the capture screen itself: the view builds the window from a
// format, and the clerk reaches it with Tab and types into it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "base/prompts.h"
#include "base/settings_store.h"
#include "capture/ui/fmtcapture_view.h"
#include "model/textline_var.h"
#include "platform/frame_host.h"
#include "tables/ui/grid_tabla_wnd.h"
#include "grid_screen_support.h"

namespace {

using TestHost = MemoryFrameHost;

}  // namespace

TEST(GridCaptureScreen, AnInvoicesLinesShowEveryColumnOnTheCaptureScreen)
{
    TestHost host;
    CFmtcaptureView view(host);
    // The invoice's lines, and the customer's name before them in capture order.
    auto name = CTextlineVar::CreateAt(100, -300);
    name->m_text = "Cliente";
    name->m_order = 0;
    name->m_screenPlaced = 1;
    name->m_rcScreen = {20, 30, 320, 50};
    auto lines = InvoiceOnScreen();
    lines->m_order = 1;
    lines->m_text = "Partidas";
    Format& format = view.GetFormat();
    format.elements.push_front(std::move(name));
    format.elements.push_front(std::move(lines));
    format.screenExtent = ScreenExtent(format.elements);
    view.resize(1000, 600);
    view.show();
    view.ShowFormat();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    auto* window = qobject_cast<CGridTablaWnd*>(view.ControlWidget(1174));
    ASSERT_NE(window, nullptr);
    const QRect grid = window->GridRect();
    for (int col = 1; col <= 4; ++col) {
        const QRect cell = window->CellRectPx(1, col).translated(window->pos());
        EXPECT_LE(cell.right() - window->x(), grid.right()) << "column " << col;
        EXPECT_TRUE(view.Form()->rect().contains(cell)) << "column " << col << " inside the form";
    }
    // The window with its scroll bar beside the columns lies inside the form as well.
    EXPECT_TRUE(view.Form()->rect().contains(window->geometry()));

    // Tab from the customer's name into the lines, then a line typed as a clerk does.
    view.ControlWidget(1173)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(window->hasFocus());
    for (const char* text : {"3", "Tornillo de acero inoxidable", "451.50"}) {
        QTest::keyClick(window, text[0]);
        ASSERT_TRUE(window->CellEdit()->isVisible());
        QTest::keyClicks(window->CellEdit(), QString::fromUtf8(text + 1));
        QTest::keyClick(window->CellEdit(), Qt::Key_Return);
    }
    EXPECT_EQ(window->Editor().CurCol(), 4);
    EXPECT_EQ(window->Editor().FirstCol(), 1) << "the last column is reached without scrolling";
    EXPECT_EQ(window->Editor().CellDisplay(1, 4).text, "$1,354.50");
    QTest::keyClick(window, Qt::Key_Home);
    QApplication::processEvents();
    if (const char* dir = std::getenv("ORDEXA_SCREENSHOTS"))
        view.grab().save(QString::fromUtf8(dir) + "/grid_capture_screen.png");
}
