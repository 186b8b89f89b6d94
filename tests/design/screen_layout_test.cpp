// The screen layout designer driven as a clerk drives it: real mouse presses, drags and
// releases on its view, its commands, the save into the format file and the question
// before unsaved changes are thrown away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "base/prompts.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "base/settings_store.h"
#include "design/fmtpantalla_frm.h"
#include "design/fmtpantalla_view.h"
#include "design/screen_layout_editor.h"
#include "model/cons_text.h"
#include "model/etiqueta.h"
#include "model/marca_var.h"
#include "model/textline_var.h"
#include "platform/command_ids.h"
#include "platform/frame_host.h"

using namespace CommandId;

namespace {

using TestHost = MemoryFrameHost;

template <typename Kind>
CControles& Add(Format& f, const std::string& name, Rect screen, int order)
{
    auto element = std::make_unique<Kind>();
    element->m_text = name;
    element->m_rcScreen = screen;
    element->m_rcPage = {100, -100, 600, -150};
    element->m_order = order;
    CControles& e = *element;
    f.elements.push_front(std::move(element));
    return e;
}

// Four text lines A..D numbered 1..4 (A first in the file), a check mark, a constant
// text lying under control A, and a label.
Format FourFields()
{
    Format f;
    f.title = "Solicitud";
    Add<CTextlineVar>(f, "A", {100, 30, 260, 50}, 1);
    Add<CTextlineVar>(f, "B", {100, 70, 260, 90}, 2);
    Add<CTextlineVar>(f, "C", {100, 110, 260, 130}, 3);
    Add<CTextlineVar>(f, "D", {100, 150, 260, 170}, 4);
    Add<CMarcaVar>(f, "CASADO", {300, 30, 315, 45}, 5);
    Add<CConsText>(f, "Constante", {100, 30, 260, 50}, 0).m_constant = 1;
    Add<CEtiqueta>(f, "Datos", {300, 110, 380, 126}, 0);
    f.screenExtent = {0, 0, 400, 200};
    return f;
}

CControles* Named(const Format& f, const std::string& name)
{
    for (const auto& e : f.elements)
        if (e->m_text == name)
            return e.get();
    return nullptr;
}

class ScreenLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath("solicitud.fmt").toStdString();
        Format f = FourFields();
        std::string message;
        ASSERT_TRUE(SaveFormatFile(path, f, FormatWriter::Rewrite, message)) << message;
        Open();
    }
    void TearDown() override { delete frame; }

    void Open()
    {
        delete frame;
        frame = new CFmtpantallaFrm(host);
        frame->LoadFromPath(path);
        frame->resize(700, 500);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        view = frame->View();
    }
    const Format& F() const { return frame->GetFormat(); }
    CControles& E(const char* name) const { return *Named(F(), name); }
    QPoint At(int x, int y) const { return view->WidgetPoint({x, y}); }
    void Click(int x, int y) { QTest::mouseClick(view, Qt::LeftButton, {}, At(x, y)); }
    void Drag(Point from, Point to)
    {
        QTest::mousePress(view, Qt::LeftButton, {}, At(from.x, from.y));
        QTest::mouseMove(view, At(to.x, to.y));
        QTest::mouseRelease(view, Qt::LeftButton, {}, At(to.x, to.y));
    }
    std::vector<int> Orders() const
    {
        return {E("A").m_order, E("B").m_order, E("C").m_order, E("D").m_order};
    }
    void Hover(int x, int y) { QTest::mouseMove(view, At(x, y)); }

    QTemporaryDir dir;
    std::string path;
    TestHost host;
    CFmtpantallaFrm* frame = nullptr;
    CFmtpantallaView* view = nullptr;
};

}  // namespace

TEST_F(ScreenLayoutTest, OrderModeNumbersTheControlsInTheOrderTheyAreClicked)
{
    frame->HandleCommand(kCaptureOrder);
    ASSERT_TRUE(frame->CommandState(kCaptureOrder)->checked);
    // C alone: C takes 1, the others keep their relative order behind it.
    Click(120, 120);
    EXPECT_EQ(Orders(), (std::vector<int>{2, 3, 1, 4}));
    Click(120, 160);  // D
    Click(120, 40);   // A
    Click(120, 80);   // B
    EXPECT_EQ(Orders(), (std::vector<int>{3, 4, 1, 2}));
    EXPECT_EQ(F().elements.size(), 7u);
    EXPECT_EQ(frame->View()->Editor().Selection(), nullptr) << "order clicks never select";

    // Undo gives the last change's numbers back and ends order mode. Clicking A and B
    // changed nothing (they already had 3 and 4), so the last change is D's click.
    frame->HandleCommand(kUndo);
    EXPECT_EQ(Orders(), (std::vector<int>{2, 3, 1, 4})) << "before D was clicked";
    EXPECT_FALSE(frame->CommandState(kCaptureOrder)->checked);
    frame->HandleCommand(kRedo);
    EXPECT_EQ(Orders(), (std::vector<int>{3, 4, 1, 2}));
    frame->HandleCommand(kCaptureOrder);

    // A click beside every control leaves the mode; choosing it again restarts at 1.
    Click(30, 190);
    EXPECT_FALSE(frame->CommandState(kCaptureOrder)->checked);
    frame->HandleCommand(kCaptureOrder);
    Click(120, 40);  // A gets 1 again
    EXPECT_EQ(E("A").m_order, 1);
}

TEST_F(ScreenLayoutTest, AControlClickedTwiceInOrderModeNeverSharesItsNumber)
{
    frame->HandleCommand(kCaptureOrder);
    // C double-clicked: press, release, then the double-click event.
    Click(120, 120);
    QTest::mouseDClick(view, Qt::LeftButton, {}, At(120, 120));
    Click(120, 160);  // D
    EXPECT_EQ(Orders(), (std::vector<int>{3, 4, 1, 2}));
    // Clicked again after D, C becomes the last numbered so far.
    Click(120, 120);
    EXPECT_EQ(Orders(), (std::vector<int>{3, 4, 2, 1}));
}

TEST_F(ScreenLayoutTest, RenumberingComparesOrdersAsUnsignedNumbers)
{
    Format f = FourFields();
    // A negative order counts as a very large one: it is neither moved back nor before.
    Named(f, "B")->m_order = -1;
    const int next = ScreenLayoutEditor::Renumber(f.elements, *Named(f, "D"), 1);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(Named(f, "D")->m_order, 1);
    EXPECT_EQ(Named(f, "A")->m_order, 2);
    EXPECT_EQ(Named(f, "C")->m_order, 4);
    EXPECT_EQ(Named(f, "B")->m_order, -1);
}

TEST_F(ScreenLayoutTest, DragsMoveInFourPixelStepsAndConstantsStayPut)
{
    // Control A has its left edge at 100; a 5-pixel drag from x = 103 snaps 100 -> 108,
    // i.e. 8 pixels, while from x = 101 it snaps 100 -> 104.
    Drag({103, 40}, {108, 40});
    EXPECT_EQ(E("A").m_rcScreen.left, 108);
    Drag({109, 40}, {114, 40});
    EXPECT_EQ(E("A").m_rcScreen.left, 112);
    EXPECT_EQ(E("A").m_rcScreen.left % 4, 100 % 4);
    EXPECT_EQ(E("A").m_rcScreen.Width(), 160);

    // The constant under A is not selectable: a press there picks A (front-most
    // arrangeable element) and the constant keeps its place.
    EXPECT_EQ(E("Constante").m_rcScreen, (Rect{100, 30, 260, 50}));

    // The check mark moves but offers no handles: hovering its edge keeps the arrow.
    Drag({305, 40}, {325, 60});
    EXPECT_EQ(E("CASADO").m_rcScreen, (Rect{320, 50, 335, 65}));
    Hover(320, 55);
    EXPECT_EQ(view->Editor().HoverHandle(), 0);
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ScreenLayoutTest, HandlesResizeButNeverBelowFortyOnePixels)
{
    Click(120, 120);  // select C (100..260)
    ASSERT_EQ(view->Editor().Selection(), &E("C"));
    // The right handle sits on the right edge.
    Hover(E("C").m_rcHandle[1].left + 1, E("C").m_rcHandle[1].top + 1);
    ASSERT_EQ(view->Editor().HoverHandle(), kHandleRight);
    EXPECT_EQ(view->cursor().shape(), Qt::SizeHorCursor);
    const Point grip{E("C").m_rcHandle[1].left + 1, E("C").m_rcHandle[1].top + 1};
    Drag(grip, {grip.x + 40, grip.y});
    EXPECT_EQ(E("C").m_rcScreen.right, 300);
    // Pulling the right edge to within 40 pixels of the left one is refused.
    const Point grip2{E("C").m_rcHandle[1].left + 1, E("C").m_rcHandle[1].top + 1};
    Hover(grip2.x, grip2.y);
    Drag(grip2, {grip2.x - 180, grip2.y});
    EXPECT_GE(E("C").m_rcScreen.Width(), 41);
}

TEST_F(ScreenLayoutTest, CaptionSideCommandsFollowTheSelectionAndUndoRestores)
{
    EXPECT_FALSE(frame->CommandState(kCaptionAbove)->enabled);
    Click(120, 80);  // B
    EXPECT_TRUE(frame->CommandState(kCaptionAbove)->enabled);
    frame->HandleCommand(kCaptionAbove);
    EXPECT_EQ(E("B").m_captionLeft, 0);

    Drag({120, 80}, {160, 120});
    EXPECT_EQ(E("B").m_rcScreen.left, 140);
    ASSERT_TRUE(frame->CommandState(kUndo)->enabled);
    frame->HandleCommand(kUndo);
    EXPECT_EQ(E("B").m_rcScreen.left, 100) << "undo of the move";
    EXPECT_EQ(E("B").m_captionLeft, 0);
    frame->HandleCommand(kUndo);
    EXPECT_EQ(E("B").m_captionLeft, 1) << "undo of the caption side";
    frame->HandleCommand(kRedo);
    frame->HandleCommand(kRedo);
    EXPECT_EQ(E("B").m_captionLeft, 0);
    EXPECT_EQ(E("B").m_rcScreen.left, 140);
    // A click without a move records nothing.
    Click(120, 40);
    frame->HandleCommand(kUndo);
    EXPECT_EQ(E("B").m_rcScreen.left, 100);
}

TEST_F(ScreenLayoutTest, SavingMarksControlsPlacedWritesTheExtentAndReopensAsSaved)
{
    Drag({120, 160}, {320, 260});  // D far below the old extent
    frame->HandleCommand(kCaptureOrder);
    Click(320, 256);  // D -> 1
    ASSERT_TRUE(frame->IsModified());
    ASSERT_TRUE(frame->Save());
    EXPECT_FALSE(frame->IsModified());

    Format back;
    std::string message;
    ASSERT_TRUE(LoadFormatFile(path, back, message)) << message;
    EXPECT_EQ(Named(back, "D")->m_rcScreen, (Rect{300, 250, 460, 270}));
    EXPECT_EQ(Named(back, "D")->m_order, 1);
    EXPECT_EQ(Named(back, "A")->m_order, 2);
    for (const auto& e : back.elements)
        EXPECT_EQ(e->m_screenPlaced, e->m_constant ? 0 : 1) << e->m_text;
    EXPECT_EQ(back.screenExtent, (Rect{0, 0, 460, 270}));
    // Orders already running 1..n are kept, and so is the file order.
    std::vector<std::string> names;
    for (auto it = back.elements.rbegin(); it != back.elements.rend(); ++it)
        names.push_back((*it)->m_text);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C", "D", "CASADO", "Constante", "Datos"}));
}

TEST_F(ScreenLayoutTest, ClosingAChangedLayoutAsksAndCancelKeepsTheFrame)
{
    EXPECT_TRUE(frame->QueryClose()) << "nothing changed: no question";
    EXPECT_TRUE(host.prompts.Shown().empty());

    Drag({120, 40}, {140, 40});
    host.prompts.QueueChoice(PromptAnswer::Cancel);
    EXPECT_FALSE(frame->QueryClose());
    ASSERT_EQ(host.prompts.Shown().size(), 1u);
    EXPECT_EQ(host.prompts.Shown()[0], "¿Desea guardar los cambios en " + path + "?");

    host.prompts.QueueChoice(PromptAnswer::Yes);
    EXPECT_TRUE(frame->QueryClose());
    Format back;
    std::string message;
    ASSERT_TRUE(LoadFormatFile(path, back, message));
    EXPECT_EQ(Named(back, "A")->m_rcScreen.left, 120);
}

TEST_F(ScreenLayoutTest, AChangeUndoneAsksNothingAndTheCaptionMarksOnlyRealChanges)
{
    const QString caption = QString::fromStdString("Diseño de pantalla - " + path);
    Drag({120, 40}, {140, 40});
    EXPECT_EQ(frame->windowTitle(), caption + "*");
    frame->HandleCommand(kUndo);
    EXPECT_FALSE(frame->IsModified());
    EXPECT_EQ(frame->windowTitle(), caption);
    EXPECT_TRUE(frame->QueryClose());
    EXPECT_TRUE(host.prompts.Shown().empty());
    // Redo, save, undo: the file holds the redone state, so the layout differs again.
    frame->HandleCommand(kRedo);
    ASSERT_TRUE(frame->Save());
    frame->HandleCommand(kUndo);
    EXPECT_TRUE(frame->IsModified());
}

TEST(ScreenLayoutWindow, CerrarFormatoClosesItsWorkspaceWindow)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("f.fmt").toStdString();
    Format f = FourFields();
    std::string message;
    ASSERT_TRUE(SaveFormatFile(path, f, FormatWriter::Rewrite, message)) << message;
    TestHost host;
    QMdiArea area;
    auto* frame = new CFmtpantallaFrm(host);
    QPointer<QMdiSubWindow> window = area.addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    frame->LoadFromPath(path);
    area.show();
    frame->HandleCommand(kCloseLayout);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST_F(ScreenLayoutTest, CaptionsLeftOfTheFormEdgeAreShownWhole)
{
    // A side caption of control A at x = 100 reaches left of the form's origin when the
    // control is dragged to the edge; the view moves its origin to keep it visible.
    Drag({120, 40}, {20, 40});
    EXPECT_EQ(E("A").m_rcScreen.left, 0);
    const QPoint origin = view->WidgetPoint({0, 0});
    EXPECT_GT(origin.x(), 10) << "the caption \"A:\" needs room left of the form";
    QImage picture = view->grab().toImage();
    // Something is drawn left of the control (the caption), inside the view.
    bool inked = false;
    const QColor face = view->palette().color(QPalette::Button);
    for (int x = 0; x < origin.x() - 2 && !inked; ++x)
        for (int y = origin.y() + 30; y < origin.y() + 50 && !inked; ++y)
            inked = picture.pixelColor(x, y) != face;
    EXPECT_TRUE(inked);
}

TEST_F(ScreenLayoutTest, ToolbarHasTheButtonsInOrderWithTheirTooltips)
{
    std::vector<int> ids;
    std::vector<QString> tips;
    for (QAction* a : frame->ToolBar()->actions()) {
        ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
        if (!a->isSeparator())
            tips.push_back(a->toolTip());
    }
    EXPECT_EQ(ids, (std::vector<int>{kOpenScreenLayout, kSaveLayout, 0, kCaptionSide, kCaptionAbove, kCaptureOrder, 0, kAbout}));
    EXPECT_EQ(tips, (std::vector<QString>{"Abrir pantalla", "Guardar", "A un lado", "Arriba", "Orden de captura", "Acerca de"}));
    EXPECT_EQ(frame->windowTitle(), QString::fromStdString("Diseño de pantalla - " + path));
}

// The sample invoice in order mode: every caption, outline and badge lies inside the
// view. With ORDEXA_SCREENSHOTS set, the picture is written there for looking at it.
TEST(ScreenLayoutSample, TheInvoiceShowsEveryControlWholeInOrderMode)
{
    TestHost host;
    CFmtpantallaFrm frame(host);
    frame.LoadFromPath(ORDEXA_SAMPLES "/Factura.fmt");
    ASSERT_FALSE(frame.Path().empty()) << (host.prompts.Shown().empty() ? "" : host.prompts.Shown().back());
    frame.resize(900, 700);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.HandleCommand(kCaptureOrder);
    CFmtpantallaView* view = frame.View();
    for (const auto& e : frame.GetFormat().elements) {
        if (e->m_constant)
            continue;
        const QPoint topLeft = view->WidgetPoint({e->m_rcScreen.left, e->m_rcScreen.top});
        const QPoint bottomRight = view->WidgetPoint({e->m_rcScreen.right, e->m_rcScreen.bottom});
        EXPECT_TRUE(view->rect().contains(topLeft) && view->rect().contains(bottomRight)) << e->m_text;
    }
    if (const char* shots = std::getenv("ORDEXA_SCREENSHOTS"))
        frame.grab().save(QString::fromLocal8Bit(shots) + "/screen_layout_order.png");
}

// What the screen layout saves is what the capture screen then shows: the controls at
// their new places and Tab running in the new capture order.
TEST_F(ScreenLayoutTest, TheCaptureScreenFollowsTheSavedLayout)
{
    frame->HandleCommand(kCaptureOrder);
    for (Point p : {Point{120, 160}, Point{120, 120}, Point{120, 80}, Point{120, 40}})  // D, C, B, A
        Click(p.x, p.y);
    frame->HandleCommand(kCaptureOrder);
    Drag({120, 40}, {220, 240});  // A moves 100 right, 200 down
    ASSERT_TRUE(frame->Save());

    CFmtcapturaFrm capture(host);
    capture.LoadFromPath(path);
    capture.resize(700, 500);
    capture.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&capture));
    CFmtcaptureView* view = capture.View();
    // D has order 1 and so id 1174, A order 4 (id 1177); the check mark keeps 5.
    QWidget* d = view->ControlWidget(1174);
    QWidget* a = view->ControlWidget(1177);
    ASSERT_NE(d, nullptr);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(d->accessibleName(), "D");
    EXPECT_EQ(a->accessibleName(), "A");
    QWidget* form = view->ControlWidget(1175)->parentWidget();
    const QPoint aAt = a->mapTo(form, QPoint(0, 0));
    const QPoint bAt = view->ControlWidget(1176)->mapTo(form, QPoint(0, 0));
    EXPECT_EQ(aAt - bAt, QPoint(100, 240 - 80)) << "A moved by the drag relative to B, which stayed";

    std::vector<QString> visited;
    d->setFocus();
    for (int i = 0; i < 4; ++i) {
        visited.push_back(QApplication::focusWidget()->accessibleName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, (std::vector<QString>{"D", "C", "B", "A"}));
}

TEST_F(ScreenLayoutTest, SeveralSelectedMoveAlignAndWalkByKeysInFourPixelSteps)
{
    Click(120, 40);                                             // A
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, At(120, 120));  // and C
    ASSERT_EQ(view->Editor().Selected().size(), 2u);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(E("A").m_rcScreen, (Rect{104, 34, 264, 54}));
    EXPECT_EQ(E("C").m_rcScreen, (Rect{104, 114, 264, 134}));
    EXPECT_EQ(E("B").m_rcScreen.left, 100) << "B was not selected";

    // Dragging one of the two moves both; aligning puts C's right edge on A's.
    Drag({120, 44}, {140, 44});
    EXPECT_EQ(E("C").m_rcScreen.left, 124);
    E("C").ResizeScreen(kHandleRight, -40, 0);
    frame->HandleCommand(kAlignRights);
    EXPECT_EQ(E("C").m_rcScreen.right, E("A").m_rcScreen.right);
    frame->HandleCommand(kUndo);
    EXPECT_NE(E("C").m_rcScreen.right, E("A").m_rcScreen.right) << "the alignment undoes at once";

    // Tab goes by capture order: A (1), B (2) ...
    Click(120, 80);
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_EQ(view->Editor().Selection(), &E("C"));
    QTest::keyClick(view, Qt::Key_Backtab);
    EXPECT_EQ(view->Editor().Selection(), &E("B"));
    // The group stops at the form's corner.
    frame->HandleCommand(kSelectAll);
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(E("B").m_rcScreen.left, 0) << "B, leftmost, reached the edge";
    EXPECT_EQ(E("A").m_rcScreen.left, 24) << "the others kept their distance from it";
}

TEST_F(ScreenLayoutTest, ARubberBandFromEmptyFormSelectsTheControlsItEnclosesAndShiftAdds)
{
    const auto selectedNames = [this] {
        std::vector<std::string> names;
        for (const CControles* e : view->Editor().Selected())
            names.push_back(e->m_text);
        return names;
    };
    Click(120, 40);
    Drag({90, 60}, {270, 140});  // B and C wholly inside, A and D only in part
    EXPECT_EQ(selectedNames(), (std::vector<std::string>{"B", "C"}));
    QTest::mousePress(view, Qt::LeftButton, Qt::ShiftModifier, At(290, 100));
    QTest::mouseMove(view, At(390, 135));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::ShiftModifier, At(390, 135));
    EXPECT_EQ(selectedNames(), (std::vector<std::string>{"B", "C", "Datos"}));
    // The constant lying under A is no control of the screen.
    Drag({90, 20}, {270, 60});
    EXPECT_EQ(selectedNames(), (std::vector<std::string>{"A"}));
    EXPECT_FALSE(frame->IsModified()) << "selecting changes nothing in the format";
}
