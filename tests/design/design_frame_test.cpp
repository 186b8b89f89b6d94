// The design frame driven as a clerk drives it: toolbar buttons and real mouse events on
// the page view, the properties panel, undo and redo, saving and closing.
#include <gtest/gtest.h>


#include <QAction>
#include <QFile>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QWheelEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <fstream>

#include "base/prompts.h"
#include "base/settings_store.h"
#include "design/design_commands.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtdesign_view.h"
#include "design/properties_panel_bar.h"
#include "design/rules.h"
#include "model/cuadros_var.h"
#include "model/fmt_grid.h"
#include "model/imagen.h"
#include "model/element_clipboard.h"
#include "model/linea.h"
#include "platform/command_ids.h"
#include "platform/frame_host.h"

using namespace CommandId;

namespace {

using TestHost = MemoryFrameHost;

class DesignFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFmtdesignFrm(host);
        frame->SetDialogs(Dialogs());
        frame->resize(1000, 760);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        view = frame->View();
    }
    void TearDown() override { delete frame; }

    // Dialogs answered by the test instead of the clerk.
    DesignDialogs Dialogs()
    {
        DesignDialogs dialogs;
        dialogs.savePath = [this](QWidget*) { return savePath; };
        dialogs.openPath = [this](QWidget*) { return openPath; };
        dialogs.font = [this](QWidget*, const LogFont&) { return chosenFont; };
        dialogs.colour = [](QWidget*, uint32_t) { return std::optional<uint32_t>(0x0000FF); };
        dialogs.picturePath = [this](QWidget*) { return picturePath; };
        return dialogs;
    }

    QWidget* Page() const { return view->viewport(); }
    void Command(int id) { frame->HandleCommand(id); }
    void Click(Point page) { QTest::mouseClick(Page(), Qt::LeftButton, {}, view->PixelOf(page)); }
    void Hover(Point page) { QTest::mouseMove(Page(), view->PixelOf(page)); }
    // Where the pointer really lands for a page point, snapped as the view snaps.
    Point Landed(Point page) const { return Snap(view->PageAt(view->PixelOf(page)), frame->Editor().SnapStep()); }
    CControles* Front() const { return frame->GetFormat().elements.front().get(); }
    std::string File(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    TestHost host;
    CFmtdesignFrm* frame = nullptr;
    CFmtdesignView* view = nullptr;
    std::string savePath;
    std::string openPath;
    std::string picturePath;
    std::optional<LogFont> chosenFont;
};

TEST_F(DesignFrameTest, EveryInsertCommandPlacesItsKindOnTheSnappedPoint)
{
    struct Case {
        int command;
        int kind;
        bool bottomAnchor;  // the click is the bottom-left corner (else the top-left)
    } cases[] = {
        {kInsertTextlineVar, kKindTextlineVar, true}, {kInsertParrafoVar, kKindParrafoVar, false},
        {kInsertCuadrosVar, kKindCuadrosVar, true},   {kInsertMarcaVar, kKindMarcaVar, true},
        {kInsertGrid, kKindGrid, false},              {kInsertConsText, kKindConsText, false},
        {kInsertConsParrafo, kKindConsParrafo, false}, {kInsertLinea, kKindLinea, false},
        {kInsertRectangulo, kKindRectangulo, false},  {kInsertEtiqueta, kKindEtiqueta, true},
        {kInsertCodigoBarras, kKindCodigoBarras, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        frame->ToolbarAction(c.command)->trigger();
        EXPECT_EQ(view->Pointer(), DesignCursor::Insert);
        EXPECT_TRUE(frame->ToolbarAction(c.command)->isChecked());
        const Point at{157 + 30 * n, -243 - 100 * n};
        const Point expected = Landed(at);
        Click(at);
        ++n;
        ASSERT_EQ(frame->GetFormat().elements.size(), size_t(n));
        CControles* e = Front();
        EXPECT_EQ(e->m_kind, c.kind);
        EXPECT_EQ(e->m_selected, 1);
        EXPECT_EQ(e->m_rcPage.left % 10, 0) << "kind " << c.kind;
        EXPECT_EQ(e->m_rcPage.left, expected.x) << "kind " << c.kind;
        // A line is centred on the click; a constant line's first corner is its top-left,
        // since it fits itself to its text downward.
        const int y = c.kind == kKindLinea ? e->m_rcPage.top - 20
                      : c.kind == kKindConsText ? e->m_rcPage.top - 45
                      : c.bottomAnchor          ? e->m_rcPage.bottom
                                                : e->m_rcPage.top;
        EXPECT_EQ(y, expected.y) << "kind " << c.kind;
    }
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(frame->CanUndo());
}

TEST_F(DesignFrameTest, AClickSelectsTheFrontOfTwoOverlappingElements)
{
    Command(kInsertRectangulo);
    Click({100, -100});
    Click({300, -300});
    CControles* front = Front();
    CControles* back = frame->GetFormat().elements.back().get();
    Command(kSelectTool);
    EXPECT_EQ(view->Pointer(), DesignCursor::Select);
    Click({150, -150});
    EXPECT_EQ(frame->Selection(), back);
    Click({500, -500});
    EXPECT_EQ(frame->Selection(), front);
    EXPECT_EQ(back->m_selected, 0);
    Click({3000, -3000});
    EXPECT_EQ(frame->Selection(), nullptr);
    EXPECT_FALSE(frame->ToolbarAction(kDeleteElement)->isEnabled());
}

TEST_F(DesignFrameTest, DraggingAHandleResizesAndRefusesFortyUnitsOrLess)
{
    Command(kInsertRectangulo);
    Click({200, -200});
    Command(kSelectTool);
    CControles* rect = Front();
    const Rect before = rect->m_rcPage;
    const Point handle{before.right, before.top - 300};
    Hover(handle);
    ASSERT_EQ(view->Pointer(), DesignCursor::SizeHorizontal);
    const Point start = Landed(handle);
    QTest::mousePress(Page(), Qt::LeftButton, {}, view->PixelOf(handle));
    // Find pointer positions that would leave widths of 50 and of 40.
    auto widthAt = [&](int pageX) { return before.Width() + (Landed({pageX, handle.y}).x - start.x); };
    int x50 = before.right, x40 = before.right;
    for (int x = before.right; x > before.left - 100; --x) {
        if (widthAt(x) == 50)
            x50 = x;
        if (widthAt(x) == 40)
            x40 = x;
    }
    ASSERT_NE(x50, before.right);
    QTest::mouseMove(Page(), view->PixelOf({x50, handle.y}));
    EXPECT_EQ(rect->m_rcPage.Width(), 50);
    QTest::mouseMove(Page(), view->PixelOf({x40, handle.y}));
    EXPECT_EQ(rect->m_rcPage.Width(), 50);
    EXPECT_EQ(frame->PositionText().toStdString(), PositionXY(rect->m_rcPage.right, rect->m_rcPage.bottom));
    QTest::mouseRelease(Page(), Qt::LeftButton, {}, view->PixelOf({x40, handle.y}));
    // The rulers follow the edge being dragged.
    EXPECT_EQ(frame->HorizontalRuler()->MarkerPos(), 10 * rect->m_rcPage.right + 500);
    EXPECT_EQ(rect->m_rcPage.left, before.left);
}

TEST_F(DesignFrameTest, HeaderClicksSelectAndDeselectAColumnAndSeparatorsResizeIt)
{
    frame->Editor().SetSnapStep(0);
    Command(kInsertGrid);
    Click({0, 0});
    Command(kSelectTool);
    auto* grid = static_cast<CFmtGrid*>(Front());
    const int top = grid->m_rcPage.top;
    const Point title{grid->m_columns[1].x + 200, top + 20};
    Hover(title);
    EXPECT_EQ(view->Pointer(), DesignCursor::ColumnHeader);
    Click(title);
    EXPECT_EQ(grid->m_selColumn, 1);
    Hover(title);
    Click(title);
    EXPECT_EQ(grid->m_selColumn, -1);
    Hover(title);
    Click(title);
    EXPECT_EQ(grid->m_selColumn, 1);
    EXPECT_EQ(frame->Selection(), grid);

    // Centre the selected column, then widen it by its right border.
    Command(kAlignCenter);
    EXPECT_EQ(grid->m_columns[1].align, 1);
    const int width = grid->m_columns[1].width;
    const Point border{grid->m_columns[2].x, top - 110};
    Hover(border);
    ASSERT_EQ(view->Pointer(), DesignCursor::SizeHorizontal);
    const Point start = Landed(border);
    QTest::mousePress(Page(), Qt::LeftButton, {}, view->PixelOf(border));
    const Point to{border.x + 120, border.y};
    QTest::mouseMove(Page(), view->PixelOf(to));
    QTest::mouseRelease(Page(), Qt::LeftButton, {}, view->PixelOf(to));
    EXPECT_EQ(grid->m_columns[1].width, width + Landed(to).x - start.x);
    EXPECT_TRUE(frame->PositionText().startsWith("X="));
    EXPECT_TRUE(frame->PositionText().contains("Ancho="));
}

TEST_F(DesignFrameTest, SavingWritesTheListBackToFrontAndRenumbers)
{
    Command(kInsertConsParrafo);
    Click({100, -100});   // C, at the back
    Command(kInsertTextlineVar);
    Click({100, -800});   // B
    Click({100, -1000});  // A, at the front
    Front()->m_text = "A";
    std::next(frame->GetFormat().elements.begin())->get()->m_text = "B";
    savePath = File("nuevo.fmt");
    ASSERT_TRUE(frame->ToolbarAction(kSaveDesign)->isEnabled());
    Command(kSaveDesign);
    EXPECT_FALSE(frame->IsModified());
    EXPECT_EQ(frame->Path(), savePath);
    EXPECT_EQ(host.recent, std::vector<std::string>{savePath});
    EXPECT_EQ(frame->windowTitle(), QString::fromStdString("Diseño de formato - " + savePath));

    Format read;
    std::string message;
    ASSERT_TRUE(LoadFormatFile(savePath, read, message)) << message;
    // Readers put each entry at the front: the back of the list is the first entry.
    std::vector<std::pair<std::string, int>> inFileOrder;
    for (auto it = read.elements.rbegin(); it != read.elements.rend(); ++it)
        inFileOrder.push_back({(*it)->m_kind == kKindConsParrafo ? "C" : (*it)->m_text, (*it)->m_order});
    EXPECT_EQ(inFileOrder, (std::vector<std::pair<std::string, int>>{{"C", 0}, {"B", 1}, {"A", 2}}));

    // A second save writes to the same file without a dialog or a new recent entry.
    savePath.clear();
    Command(kDeleteElement);
    Command(kSaveDesign);
    EXPECT_EQ(host.recent.size(), 1u);
    ASSERT_TRUE(LoadFormatFile(frame->Path(), read, message)) << message;
    EXPECT_EQ(read.elements.size(), 2u);

    // "Guardar formato como..." makes the new name a recent format, as a first save does.
    savePath = File("copia.fmt");
    Command(kSaveDesignAs);
    EXPECT_EQ(host.recent, (std::vector<std::string>{File("nuevo.fmt"), savePath}));
}

TEST_F(DesignFrameTest, UndoAndRedoAMoveAndAPanelCommit)
{
    Command(kInsertRectangulo);
    Click({200, -200});
    Command(kSelectTool);
    CControles* rect = Front();
    const Rect placed = rect->m_rcPage;
    QTest::mousePress(Page(), Qt::LeftButton, {}, view->PixelOf({400, -400}));
    QTest::mouseMove(Page(), view->PixelOf({700, -600}));
    QTest::mouseRelease(Page(), Qt::LeftButton, {}, view->PixelOf({700, -600}));
    const Rect moved = Front()->m_rcPage;
    ASSERT_NE(moved, placed);

    EXPECT_TRUE(frame->Undo());
    EXPECT_EQ(Front()->m_rcPage, placed);
    EXPECT_EQ(Front()->m_selected, 1);  // the element stays selected
    EXPECT_TRUE(frame->Redo());
    EXPECT_EQ(Front()->m_rcPage, moved);

    // An undo while the button is still down ends the drag where the undo left it.
    QTest::mousePress(Page(), Qt::LeftButton, {}, view->PixelOf({moved.left + 100, moved.top - 100}));
    QTest::mouseMove(Page(), view->PixelOf({moved.left + 400, moved.top - 400}));
    EXPECT_TRUE(frame->Undo());
    QTest::mouseMove(Page(), view->PixelOf({moved.left + 500, moved.top - 500}));
    QTest::mouseRelease(Page(), Qt::LeftButton, {}, view->PixelOf({moved.left + 500, moved.top - 500}));
    EXPECT_EQ(Front()->m_rcPage, moved);
    EXPECT_TRUE(frame->Redo());
    EXPECT_NE(Front()->m_rcPage, moved);
    EXPECT_TRUE(frame->Undo());
    EXPECT_EQ(Front()->m_rcPage, moved);

    // The panel's commit of a new text goes through the same history.
    Command(kProperties);
    ASSERT_NE(frame->PropertiesBar(), nullptr);
    EXPECT_TRUE(frame->ToolbarAction(kProperties)->isChecked());
    auto* name = static_cast<QLineEdit*>(frame->PropertiesBar()->Panel()->Control(CPropertiesPanel::kIdName));
    name->setFocus();
    name->setText("Total");
    frame->PropertiesBar()->Panel()->CommitPendingEdit();
    EXPECT_EQ(Front()->m_text, "Total");
    EXPECT_TRUE(frame->Undo());
    EXPECT_EQ(Front()->m_text, "Rectangulo");
    EXPECT_EQ(Front()->m_rcPage, moved);
    EXPECT_TRUE(frame->Redo());
    EXPECT_EQ(Front()->m_text, "Total");
    EXPECT_FALSE(frame->CanRedo());
}

TEST_F(DesignFrameTest, ClosingAChangedFormatAsksAndASavedOneDoesNot)
{
    QMdiArea area;
    delete frame;
    frame = new CFmtdesignFrm(host);
    frame->SetDialogs(Dialogs());
    QMdiSubWindow* window = area.addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    area.show();
    window->show();
    view = frame->View();
    frame->Document().InsertAt(kKindRectangulo, 0, 0);
    frame->BeginChange();
    frame->Document().Selection()->m_text = "cambio";
    frame->GestureChanged();

    host.prompts.QueueChoice(PromptAnswer::Cancel);
    Command(kCloseDesign);
    ASSERT_EQ(host.prompts.Shown(), std::vector<std::string>{"¿Desea guardar los cambios en (nuevo)?"});
    EXPECT_TRUE(window->isVisible());

    savePath = File("guardado.fmt");
    Command(kSaveDesign);
    host.prompts.ClearShown();
    Command(kCloseDesign);
    EXPECT_TRUE(host.prompts.Shown().empty());
    EXPECT_FALSE(window->isVisible());
    window->setWidget(nullptr);
    frame = nullptr;
}

TEST_F(DesignFrameTest, MaximisingScrollsBackToThePageCorner)
{
    QMdiArea area;
    area.resize(900, 700);
    delete frame;
    frame = new CFmtdesignFrm(host);
    QMdiSubWindow* window = area.addSubWindow(frame);
    area.show();
    window->resize(500, 400);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    view = frame->View();
    view->horizontalScrollBar()->setValue(150);
    view->verticalScrollBar()->setValue(250);
    ASSERT_NE(view->ScrollXUnits(), 0);
    window->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->ScrollXUnits(), 0);
    EXPECT_EQ(view->ScrollYUnits(), 0);
    EXPECT_EQ(frame->HorizontalRuler()->OffsetRulerUnits(), 0);
    EXPECT_EQ(frame->VerticalRuler()->OffsetRulerUnits(), 0);
    window->setWidget(nullptr);
}

TEST_F(DesignFrameTest, UndoingBackToTheSavedStateIsNotAChange)
{
    Command(kInsertRectangulo);
    Click({200, -200});
    savePath = File("f.fmt");
    Command(kSaveDesign);
    Command(kColor);
    EXPECT_EQ(Front()->m_textColor, 0x0000FFu);
    EXPECT_TRUE(frame->IsModified());
    frame->Undo();
    EXPECT_FALSE(frame->IsModified());
    EXPECT_TRUE(frame->QueryClose());
    EXPECT_TRUE(host.prompts.Shown().empty());
    // A command that changes nothing keeps what can be redone.
    Command(kResetCaptureScreen);
    EXPECT_TRUE(frame->CanRedo());
    frame->Redo();
    EXPECT_EQ(Front()->m_textColor, 0x0000FFu);
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(DesignFrameTest, FontHeightIsTakenFromTheDialogAndMadePositive)
{
    Command(kInsertTextlineVar);
    Click({200, -200});
    LogFont font = Front()->GetFont();
    font.face = "Courier New";
    font.height = -55;
    chosenFont = font;
    Command(kFont);
    EXPECT_EQ(Front()->m_logFont.height, 55);
    EXPECT_EQ(Front()->m_logFont.face, "Courier New");
    // The text line's height follows its font.
    EXPECT_EQ(Front()->m_rcPage.top - Front()->m_rcPage.bottom, 60);
    chosenFont.reset();
    Command(kUndo);
    EXPECT_EQ(Front()->m_logFont.height, 40);
}

TEST_F(DesignFrameTest, AFileThatCannotBeReadOrWrittenLeavesTheFrameAsItWas)
{
    Command(kInsertRectangulo);
    Click({200, -200});
    const std::string bad = File("roto.fmt");
    std::ofstream(bad) << "no es un formato";
    openPath = bad;
    host.prompts.QueueChoice(PromptAnswer::No);  // do not save the rectangle first
    Command(kOpenDesign);
    ASSERT_EQ(host.prompts.Shown().size(), 2u);
    EXPECT_NE(host.prompts.Shown()[1].find(bad), std::string::npos);
    EXPECT_EQ(frame->GetFormat().elements.size(), 1u);
    EXPECT_TRUE(frame->Path().empty());

    host.prompts.ClearShown();
    savePath = File("no/existe/f.fmt");
    Command(kSaveDesign);
    ASSERT_EQ(host.prompts.Shown().size(), 1u);
    EXPECT_NE(host.prompts.Shown()[0].find("f.fmt"), std::string::npos);
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(frame->Path().empty());
    EXPECT_TRUE(host.recent.empty());

    // A good file replaces the format once the clerk has let the changes go.
    Format good;
    good.title = "Recibo";
    good.elements.push_front(std::make_unique<CLinea>());
    std::string message;
    ASSERT_TRUE(SaveFormatFile(File("bueno.fmt"), good, FormatWriter::Design, message)) << message;
    openPath = File("bueno.fmt");
    host.prompts.ClearShown();
    host.prompts.QueueChoice(PromptAnswer::No);
    Command(kOpenDesign);
    EXPECT_EQ(host.prompts.Shown().size(), 1u);
    EXPECT_EQ(frame->GetFormat().title, "Recibo");
    ASSERT_EQ(frame->GetFormat().elements.size(), 1u);
    EXPECT_EQ(Front()->m_kind, kKindLinea);
    EXPECT_EQ(frame->Selection(), nullptr);
    EXPECT_EQ(frame->Path(), openPath);
    EXPECT_EQ(host.recent, std::vector<std::string>{openPath});
    EXPECT_FALSE(frame->IsModified());
    EXPECT_FALSE(frame->CanUndo());
}

TEST_F(DesignFrameTest, RulersFollowTheScrollAndClicksLandOnTheScrolledPage)
{
    view->horizontalScrollBar()->setValue(200);
    view->verticalScrollBar()->setValue(300);
    EXPECT_GT(view->ScrollXUnits(), 0);
    EXPECT_LT(view->ScrollYUnits(), 0);
    EXPECT_EQ(frame->HorizontalRuler()->OffsetRulerUnits(), 10 * view->ScrollXUnits());
    EXPECT_EQ(frame->VerticalRuler()->OffsetRulerUnits(), 10 * view->ScrollYUnits());
    // The page point under the viewport's corner is the scroll position less the margin.
    EXPECT_EQ(view->PageAt({0, 0}), (Point{view->ScrollXUnits() - 50, view->ScrollYUnits() + 50}));
    Command(kInsertRectangulo);
    const Point at{900, -1500};
    const Point expected = Landed(at);
    Click(at);
    EXPECT_EQ(Front()->m_rcPage.left, expected.x);
    EXPECT_EQ(Front()->m_rcPage.top, expected.y);
    // The scroll area reaches 410 mm in both directions.
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    const QPoint corner(view->viewport()->width() - 1, view->viewport()->height() - 1);
    EXPECT_NEAR(view->PageAt(corner).x, 4100 - 50, 5);
}

TEST_F(DesignFrameTest, SnappingButtonsAreMarkedOneAtATime)
{
    QAction* mm = frame->ToolbarAction(kSnapMillimetre);
    QAction* cm = frame->ToolbarAction(kSnapCentimetre);
    EXPECT_TRUE(mm->isChecked());
    cm->trigger();
    EXPECT_FALSE(mm->isChecked());
    EXPECT_TRUE(cm->isChecked());
    cm->trigger();
    EXPECT_FALSE(cm->isChecked());
    EXPECT_EQ(frame->Editor().SnapStep(), 0);
}

TEST_F(DesignFrameTest, ToolbarsHoldTheButtonsInOrderWithTheirTooltips)
{
    std::vector<int> ids;
    for (QAction* a : frame->DesignToolBar()->actions())
        ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(ids, std::vector<int>(DesignToolbarButtons().begin(), DesignToolbarButtons().end()));
    EXPECT_EQ(frame->ToolbarAction(kInsertCuadrosVar)->toolTip(), "Texto en cuadros");
    EXPECT_EQ(frame->ToolbarAction(kInsertCuadrosVar)->statusTip(),
              "Inserta un control de captura de texto de un cuadro por letra");
    EXPECT_FALSE(frame->ToolbarAction(kInsertCuadrosVar)->icon().isNull());
    EXPECT_FALSE(frame->ToolbarAction(kSaveDesign)->isEnabled());
    frame->ShowCommandPrompt(kColor);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "Selecciona el color de impresión");
}

}  // namespace

TEST_F(DesignFrameTest, InsertImageTakesAPictureFileAndPlacesItWhereTheClerkClicks)
{
    // An SVG drawing 63.5 mm by 31.75 mm (its user units are 96 per inch).
    picturePath = File("logo.svg");
    {
        QFile svg(QString::fromStdString(picturePath));
        ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
        svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='240' height='120'>"
                  "<rect x='10' y='10' width='200' height='90' fill='#1d4e89'/></svg>");
    }
    Command(kInsertImagen);
    EXPECT_TRUE(frame->ToolbarAction(kInsertImagen)->isChecked());
    Click({300, -300});
    ASSERT_EQ(frame->GetFormat().elements.size(), 1u);
    auto* image = dynamic_cast<CImagen*>(Front());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_rcPage.Width(), 635);
    EXPECT_NEAR(image->m_rcPage.top - image->m_rcPage.bottom, 318, 1);
    // Rasterised once at 300 dpi for that size.
    EXPECT_EQ(image->Picture().width, 750);
    EXPECT_EQ(image->Picture().height, 375);

    // A file that is no picture is refused with its name, and no tool is armed.
    Command(kSelectTool);
    picturePath = File("nota.png");
    {
        QFile bad(QString::fromStdString(picturePath));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("esto no es una imagen");
    }
    Command(kInsertImagen);
    EXPECT_FALSE(frame->ToolbarAction(kInsertImagen)->isChecked());
    ASSERT_FALSE(host.prompts.Shown().empty());
    EXPECT_NE(host.prompts.Shown().back().find("nota.png"), std::string::npos) << host.prompts.Shown().back();
}

// --- Zoom, keys and the clipboard, as a clerk drives them --------------------------------

TEST_F(DesignFrameTest, ZoomKeepsClicksRulersAndThePointUnderTheWheelInStep)
{
    Command(kInsertRectangulo);
    Click({400, -400});
    Command(kSelectTool);
    Click({2000, -2000});
    const QPoint at = view->PixelOf({1000, -1000});
    for (int zoom : {200, 400, 50}) {
        view->SetZoom(zoom, at);
        EXPECT_EQ(frame->findChild<QLabel*>(QStringLiteral("paneZoom"))->text(), QStringLiteral("%1 %").arg(zoom));
        // Zooming in keeps the page point under the anchor (zooming out to 50 % from
        // there would need a scroll position left of the page's corner).
        if (zoom > 100) {
            EXPECT_NEAR(view->PageAt(at).x, 1000, 2) << zoom << " %: the anchored point stays put";
        }
        EXPECT_DOUBLE_EQ(frame->HorizontalRuler()->ZoomFactor(), zoom / 100.0);
        // A click on the element's inside selects it at any zoom.
        Click({500, -500});
        EXPECT_NE(frame->Selection(), nullptr) << zoom;
        Click({2000, -2000});
    }
    QWheelEvent wheel(QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), {}, {0, 120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_EQ(view->Zoom(), 67);
    Command(kZoomActual);
    EXPECT_EQ(view->Zoom(), 100);
    EXPECT_EQ(frame->GetFormat().elements.front()->m_rcPage, (Rect{400, -400, 1000, -1000})) << "nothing stored moved";
}

TEST_F(DesignFrameTest, KeysMoveSizeWalkAndDeleteAsSingleUndoSteps)
{
    Command(kInsertRectangulo);
    Click({400, -400});
    Command(kInsertTextlineVar);
    Click({2000, -400});
    QTest::keyClick(Page(), Qt::Key_Escape);
    EXPECT_EQ(frame->Editor().Tool(), DesignTool::Select);
    CControles* line = Front();
    const Rect start = line->m_rcPage;

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int dLeft, dTop, dRight;
    };
    const Case cases[] = {
        {Qt::Key_Right, {}, 10, 0, 10},                     // one millimetre step
        {Qt::Key_Up, Qt::ShiftModifier, 0, 10, 0},          // Shift: 1 mm
        {Qt::Key_Right, Qt::AltModifier, 0, 0, 10},         // Alt: wider
    };
    Rect expected = start;
    for (const Case& k : cases) {
        QTest::keyClick(Page(), k.key, k.modifiers);
        expected = {expected.left + k.dLeft, expected.top + k.dTop, expected.right + k.dRight,
                    expected.bottom + k.dTop};
        EXPECT_EQ(line->m_rcPage, expected) << k.key;
    }
    Command(kSnapMillimetre);  // snapping off: 0.1 mm
    QTest::keyClick(Page(), Qt::Key_Left);
    EXPECT_EQ(line->m_rcPage.left, expected.left - 1);
    frame->Undo();
    frame->Undo();
    EXPECT_EQ(line->m_rcPage.right, start.right + 10) << "each key press undoes on its own";

    // Tab walks the elements in file order and wraps; Supr deletes the one reached.
    QTest::keyClick(Page(), Qt::Key_Tab);
    EXPECT_EQ(frame->Selection()->m_kind, kKindRectangulo);
    QTest::keyClick(Page(), Qt::Key_Backtab);
    EXPECT_EQ(frame->Selection()->m_kind, kKindTextlineVar);
    QTest::keyClick(Page(), Qt::Key_Delete);
    EXPECT_EQ(frame->GetFormat().elements.size(), 1u);
}

TEST_F(DesignFrameTest, CopyAndPasteGoThroughTheClipboardAndUndoAtOnce)
{
    Command(kInsertTextlineVar);
    Click({400, -400});
    Command(kInsertRectangulo);
    Click({400, -1000});
    Command(kSelectAll);
    Command(kCopy);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromUtf8(kElementsMimeType)));
    // Kept by value: the clipboard deletes its data when the cut below replaces it.
    const QByteArray copied = data->data(QString::fromUtf8(kElementsMimeType));
    EXPECT_TRUE(data->hasImage()) << "a picture for other programs";

    // Into another frame, as between two formats.
    CFmtdesignFrm other(host);
    other.HandleCommand(kPaste);
    ASSERT_EQ(other.GetFormat().elements.size(), 2u);
    EXPECT_EQ(other.Document().SelectedCount(), 2u);
    other.HandleCommand(kPaste);
    EXPECT_EQ(other.GetFormat().elements.front()->m_kind, kKindRectangulo);
    EXPECT_EQ(other.GetFormat().elements.size(), 4u);
    other.Undo();
    EXPECT_EQ(other.GetFormat().elements.size(), 2u) << "a paste undoes in one step";

    Command(kDuplicate);
    EXPECT_EQ(frame->GetFormat().elements.size(), 4u);
    Command(kCut);
    EXPECT_EQ(frame->GetFormat().elements.size(), 2u);

    // Damaged bytes are refused with the reader's reasons and change nothing.
    auto* damaged = new QMimeData;
    damaged->setData(QString::fromUtf8(kElementsMimeType), copied.left(20));
    QApplication::clipboard()->setMimeData(damaged);
    Command(kPaste);
    EXPECT_EQ(frame->GetFormat().elements.size(), 2u);
    ASSERT_FALSE(host.prompts.Shown().empty());
    EXPECT_NE(host.prompts.Shown().back().find("dañados"), std::string::npos) << host.prompts.Shown().back();
}

TEST_F(DesignFrameTest, ThePanelHintsTakesMeasuresInMillimetresAndRemembersItsPlace)
{
    Command(kProperties);
    CPropertiesPanel* panel = frame->PropertiesBar()->Panel();
    EXPECT_TRUE(panel->Control(CPropertiesPanel::kIdHint)->isVisibleTo(panel)) << "nothing selected: a hint";
    Command(kInsertRectangulo);
    Click({400, -400});
    EXPECT_FALSE(panel->Control(CPropertiesPanel::kIdHint)->isVisibleTo(panel));
    auto* x = static_cast<QLineEdit*>(panel->Control(CPropertiesPanel::kIdMeasureX));
    EXPECT_EQ(x->text(), "40.0");
    for (const auto& [typed, left] : {std::pair{"25,4", 254}, {"abc", 254}, {"999", 254}}) {
        x->setFocus();
        x->setText(QString::fromUtf8(typed));
        QTest::keyClick(x, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(Front()->m_rcPage.left, left) << typed;
    }
    EXPECT_EQ(host.prompts.Shown().size(), 2u) << "a text and an out-of-range measure are refused";
    frame->PropertiesBar()->move(321, 123);
    QApplication::processEvents();
    EXPECT_EQ(host.settings.ReadInt("PanelX", 0), 321);
}

TEST_F(DesignFrameTest, SeveralSelectedShowWhatTheyShareInThePanelAndEachChangeIsOneStep)
{
    Command(kProperties);
    CPropertiesPanel* panel = frame->PropertiesBar()->Panel();
    const auto control = [panel](int id) { return panel->Control(id); };
    // Two constant texts of one face, one of them larger and bold, and a rectangle, which
    // has no letter.
    Command(kInsertConsText);
    Click({400, -400});
    Command(kInsertConsText);
    Click({400, -800});
    Command(kInsertRectangulo);
    Click({1200, -400});
    // Undo replaces the elements: they are looked up afresh after each.
    std::vector<CControles*> texts;
    CControles* box = nullptr;
    const auto lookUp = [&] {
        texts.clear();
        for (const auto& e : frame->GetFormat().elements)
            (e->m_kind == kKindConsText ? texts.push_back(e.get()) : void(box = e.get()));
        ASSERT_EQ(texts.size(), 2u);
    };
    lookUp();
    texts[0]->m_logFont.height = 60;
    texts[0]->m_logFont.weight = 700;
    const Rect boxPlace = box->m_rcPage;
    Command(kSelectAll);

    auto* points = static_cast<QLineEdit*>(control(CPropertiesPanel::kIdPoints));
    auto* bold = static_cast<QCheckBox*>(control(CPropertiesPanel::kIdBold));
    auto* align = static_cast<QComboBox*>(control(CPropertiesPanel::kIdAlign));
    ASSERT_TRUE(control(CPropertiesPanel::kIdStyle)->isVisibleTo(panel));
    EXPECT_EQ(points->text(), "") << "the sizes differ";
    EXPECT_EQ(points->placeholderText(), "varios");
    EXPECT_EQ(bold->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(align->currentText(), "Izquierda") << "both texts are left aligned";
    EXPECT_FALSE(static_cast<QComboBox*>(control(CPropertiesPanel::kIdFace))->currentText().isEmpty());

    // Each change goes to every element with a letter, and undoes at once.
    points->setFocus();
    points->setText(QStringLiteral("14"));
    QTest::keyClick(points, Qt::Key_Return);
    QTest::mouseClick(bold, Qt::LeftButton, {}, QPoint(4, bold->height() / 2));
    for (const CControles* t : texts) {
        EXPECT_EQ(t->m_logFont.height, 49);
        EXPECT_EQ(t->m_logFont.weight, 700);
    }
    EXPECT_EQ(points->text(), "14");
    EXPECT_EQ(bold->checkState(), Qt::Checked);
    QTest::mouseClick(control(CPropertiesPanel::kIdColour), Qt::LeftButton);
    EXPECT_EQ(box->m_textColor, 0x0000FFu);
    EXPECT_EQ(texts[1]->m_textColor, 0x0000FFu);
    // Typed measures for several are a step of their own too.
    auto* x = static_cast<QLineEdit*>(control(CPropertiesPanel::kIdMeasureX));
    x->setFocus();
    x->setText(QStringLiteral("10"));
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(box->m_rcPage.left, 100);

    Command(kUndo);
    lookUp();
    EXPECT_EQ(box->m_rcPage, boxPlace);
    Command(kUndo);
    Command(kUndo);
    lookUp();
    EXPECT_EQ(texts[1]->m_logFont.weight, 400) << "bold undone on both";
    EXPECT_EQ(texts[1]->m_logFont.height, 49) << "the size is the step before";
    Command(kUndo);
    lookUp();
    EXPECT_EQ(texts[0]->m_logFont.height, 60);
    EXPECT_EQ(texts[1]->m_logFont.height, 40);
    EXPECT_TRUE(host.prompts.Shown().empty()) << host.prompts.Shown().front();
}

TEST_F(DesignFrameTest, SeveralOfOneKindShareTheirOwnValuesInThePanel)
{
    Command(kProperties);
    CPropertiesPanel* panel = frame->PropertiesBar()->Panel();
    Command(kInsertCuadrosVar);
    Click({400, -400});
    Command(kInsertCuadrosVar);
    Click({400, -800});
    static_cast<CCuadrosVar*>(Front())->SetBoxCount(5);
    Command(kSelectAll);
    auto* count = static_cast<QLineEdit*>(panel->Control(CPropertiesPanel::kIdFirstNumber));
    auto* width = static_cast<QLineEdit*>(panel->Control(CPropertiesPanel::kIdSecondNumber));
    ASSERT_TRUE(count->isVisibleTo(panel));
    EXPECT_EQ(count->text(), "") << "the counts differ";
    EXPECT_EQ(width->text(), QString::number(static_cast<CCuadrosVar*>(Front())->m_boxWidth));

    // Typed in the panel's own window and left for the next box, as a clerk does.
    QApplication::setActiveWindow(panel->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel->window()));
    count->setFocus();
    count->setText(QStringLiteral("6"));
    width->setFocus(Qt::TabFocusReason);
    for (const auto& e : frame->GetFormat().elements)
        EXPECT_EQ(static_cast<CCuadrosVar*>(e.get())->m_boxCount, 6);
    Command(kUndo);
    EXPECT_EQ(static_cast<CCuadrosVar*>(Front())->m_boxCount, 5) << "one step undoes both";
    EXPECT_EQ(static_cast<CCuadrosVar*>(frame->GetFormat().elements.back().get())->m_boxCount, 8);
}
