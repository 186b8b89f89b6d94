// The design editor's rules without a window: snapping, the pointer's page point, the
// reference edges and position texts, selection, insertion, alignment, and the gestures
// driven through the editor's press, move and release.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "design/design_document.h"
#include "design/design_editor.h"
#include "design/font_dialog.h"
#include "design/design_geometry.h"
#include "model/cons_text.h"
#include "model/fmt_grid.h"
#include "model/imagen.h"
#include "model/linea.h"
#include "model/textline_var.h"

namespace {

TEST(DesignSnap, TruncatesTowardTheOriginInSteps)
{
    struct Case {
        Point in;
        int step;
        Point out;
    } cases[] = {
        {{157, -243}, 10, {150, -240}},
        {{157, -243}, 100, {100, -200}},
        {{157, -243}, 0, {157, -243}},
        {{-7, -3}, 10, {0, 0}},
        {{1999, -1999}, 100, {1900, -1900}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Snap(c.in, c.step), c.out) << c.in.x << "," << c.in.y << " step " << c.step;
}

TEST(DesignGeometry, PointerToPageKeepsTheFiveMillimetreMarginAndScroll)
{
    // At 254 dpi one pixel is one page unit.
    EXPECT_EQ(ClientToPage(0, 0, 0, 0, 254), (Point{-50, 50}));
    EXPECT_EQ(ClientToPage(150, 350, 0, 0, 254), (Point{100, -300}));
    EXPECT_EQ(ClientToPage(150, 350, 200, 100, 254), (Point{300, -400}));
    // At 96 dpi 96 pixels are one inch, 254 units.
    EXPECT_EQ(ClientToPage(96, 96, 0, 0, 96), (Point{204, -204}));
}

TEST(DesignGeometry, LinesReportTheirMiddleAcrossTheirRun)
{
    CLinea line;
    line.m_rcPage = {100, -200, 500, -240};
    line.m_horizontal = 1;
    ReferenceEdges e = EdgesOf(line);
    EXPECT_EQ(e.top, -220);
    EXPECT_EQ(e.bottom, -220);
    EXPECT_EQ(e.left, 100);
    line.m_rcPage = {100, -200, 141, -600};
    line.m_horizontal = 0;
    e = EdgesOf(line);
    EXPECT_EQ(e.left, 120);
    EXPECT_EQ(e.right, 120);
    EXPECT_EQ(e.top, -200);
}

TEST(DesignGeometry, PositionTextsAreSignedCentimetres)
{
    EXPECT_EQ(PositionXY(250, -300), "X=2.50, Y=-3.00");
    EXPECT_EQ(PositionXWidth(1234, 400), "X=12.34, Ancho=4.00");
    EXPECT_EQ(PositionYHeight(-45, 45), "Y=-0.45, Alto=0.45");
}

class EditorTest : public ::testing::Test {
protected:
    CDesignEditor editor{doc, ChangeHooks{[this] { ++recorded; }, [this] { ++dropped; }}};
    DesignDocument doc;
    int recorded = 0;
    int dropped = 0;
};

TEST_F(EditorTest, InsertionTakesTheFrontFontAndLandsOnTheGridAtTheRelease)
{
    editor.ChooseInsertTool(kKindTextlineVar);
    // A press that moves less than 2 mm before the release is a click.
    editor.Press({150, -235});
    EditorOutcome out = editor.Release({157, -243});
    EXPECT_TRUE(out.changed);
    ASSERT_EQ(doc.Elements().size(), 1u);
    CControles* first = doc.Selection();
    EXPECT_EQ(first->m_logFont.height, 40);
    EXPECT_EQ(first->m_rcPage, (Rect{150, -240 + 45, 550, -240}));

    LogFont big = first->GetFont();
    big.height = 55;
    first->SetFont(big);
    editor.ChooseInsertTool(kKindMarcaVar);
    editor.Press({300, -500});
    editor.Release({300, -500});
    ASSERT_EQ(doc.Elements().size(), 2u);
    EXPECT_EQ(doc.Selection(), doc.Elements().front().get());
    EXPECT_EQ(doc.Selection()->m_logFont.height, 55);
    EXPECT_EQ(first->m_selected, 0);
    EXPECT_EQ(recorded, 2);
    // The tool stays until the selection tool is chosen.
    EXPECT_EQ(editor.Tool(), DesignTool::Insert);
}

TEST_F(EditorTest, AnInsertionReleasedOutsideTheViewIsDropped)
{
    editor.ChooseInsertTool(kKindRectangulo);
    editor.Press({100, -100});
    EXPECT_FALSE(editor.ReleaseOutside().changed);
    EXPECT_TRUE(doc.Elements().empty());
    EXPECT_TRUE(std::holds_alternative<Idle>(editor.State()));
    EXPECT_EQ(recorded, 0);
}

TEST_F(EditorTest, AnImageIsPlacedOnlyOnceItsPictureIsChosenAndKeepsItsAspect)
{
    EXPECT_EQ(doc.InsertAt(kKindImagen, 0, 0), nullptr);
    EXPECT_TRUE(doc.Elements().empty());

    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    doc.SetPictureToPlace(std::vector<uint8_t>(png.begin(), png.end()), 600);
    auto* image = dynamic_cast<CImagen*>(doc.InsertAt(kKindImagen, 100, -200));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_rcPage, (Rect{100, -200, 700, -500}));
    // Dragging the right edge keeps the ratio; unlocked, the height stays.
    image->ResizeByHandle(kHandleRight, 200, 0);
    EXPECT_EQ(image->m_rcPage, (Rect{100, -200, 900, -600}));
    image->SetKeepsAspect(false);
    image->ResizeByHandle(kHandleRight, -400, 0);
    EXPECT_EQ(image->m_rcPage, (Rect{100, -200, 500, -600}));
}

TEST_F(EditorTest, AClickSelectsTheOverlappingElementNearestTheFront)
{
    CControles* back = doc.InsertAt(kKindRectangulo, 0, 0);
    CControles* front = doc.InsertAt(kKindRectangulo, 100, -100);
    doc.Select(nullptr);
    editor.Press({200, -200});
    editor.Release({200, -200});
    EXPECT_EQ(doc.Selection(), front);
    EXPECT_EQ(front->m_selected, 1);
    EXPECT_EQ(back->m_selected, 0);
    editor.Press({50, -50});
    editor.Release({50, -50});
    EXPECT_EQ(doc.Selection(), back);
    editor.Press({2000, -2000});
    editor.Release({2000, -2000});
    EXPECT_EQ(doc.Selection(), nullptr);
    EXPECT_EQ(recorded, 0);
}

TEST_F(EditorTest, DraggingMovesBySnappedDifferencesAndReportsTheBottomLeftCorner)
{
    auto text = std::make_unique<CConsText>();
    text->m_rcPage = {153, -100, 553, -140};
    doc.Elements().push_front(std::move(text));
    CControles* element = doc.Elements().front().get();
    editor.Press({200, -120});
    ASSERT_EQ(doc.Selection(), element);
    EditorOutcome out = editor.Move({259, -311});
    EXPECT_EQ(element->m_rcPage.left, 203);  // 153 + (250 - 200): still ends in 3
    EXPECT_EQ(element->m_rcPage.bottom, -140 - 190);
    EXPECT_EQ(out.reports, (std::vector<RulerReport>{{3, 203}, {4, -330}}));
    EXPECT_EQ(out.positionText, "X=2.03, Y=-3.30");
    out = editor.Release({259, -311});
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(recorded, 1);
    EXPECT_EQ(dropped, 0);
}

TEST_F(EditorTest, DragAfterAPressOnEmptyPaperMovesAndReportsNothing)
{
    doc.InsertAt(kKindRectangulo, 0, 0);
    editor.Press({3000, -3000});
    EditorOutcome out = editor.Move({3100, -3100});
    EXPECT_TRUE(out.reports.empty());
    EXPECT_FALSE(out.positionText);
    EXPECT_FALSE(editor.Release({3100, -3100}).changed);
    EXPECT_EQ(recorded, 0);
}

TEST_F(EditorTest, HandlesResizeAndRefuseSizesOfFortyUnitsOrLess)
{
    CControles* rect = doc.InsertAt(kKindRectangulo, 0, 0);  // 600 x 600
    // Hover over the right handle (drawn 5 mm right and down of the page position).
    EditorOutcome hover = editor.Move({600, -300});
    EXPECT_EQ(hover.cursor, DesignCursor::SizeHorizontal);
    editor.Press({600, -300});
    editor.Move({50, -300});  // would leave 50: allowed
    EXPECT_EQ(rect->m_rcPage.right, 50);
    EditorOutcome refused = editor.Move({40, -300});  // would leave 40: refused
    EXPECT_EQ(rect->m_rcPage.right, 50);
    EXPECT_EQ(refused.positionText, "X=0.50, Y=-6.00");
    editor.Release({40, -300});
    EXPECT_EQ(recorded, 1);
    EXPECT_EQ(dropped, 0);

    // A resize refused at every step leaves nothing to undo.
    editor.Move({600, -300});  // leaves the handle
    editor.Move({50, -300});
    ASSERT_TRUE(std::holds_alternative<HoverHandle>(editor.HoverState()));
    editor.Press({50, -300});
    editor.Move({41, -300});
    EXPECT_EQ(rect->m_rcPage.right, 50);
    EXPECT_FALSE(editor.Release({41, -300}).changed);
    EXPECT_EQ(dropped, 1);
}

TEST_F(EditorTest, HeaderClicksSelectAndDeselectColumnsAndRows)
{
    auto* grid = static_cast<CFmtGrid*>(doc.InsertAt(kKindGrid, 0, 0));
    editor.SetSnapStep(0);
    const Point column2{850, 20};   // title band of column 2 (0-based), above the top edge
    const Point row1{-10, -60};     // row header strip left of row 1
    struct Step {
        Point at;
        int selColumn, selRow;
    } steps[] = {
        {column2, 2, -1},
        {column2, -1, -1},
        {column2, 2, -1},
        {row1, -1, 1},
        {row1, -1, -1},
    };
    for (const Step& s : steps) {
        EditorOutcome hover = editor.Move(s.at);
        ASSERT_TRUE(std::holds_alternative<HoverHeader>(editor.HoverState())) << s.at.x << "," << s.at.y;
        EXPECT_EQ(hover.cursor, s.at.x < 0 ? DesignCursor::RowHeader : DesignCursor::ColumnHeader);
        editor.Press(s.at);
        editor.Release(s.at);
        EXPECT_EQ(grid->m_selColumn, s.selColumn) << s.at.x << "," << s.at.y;
        EXPECT_EQ(grid->m_selRow, s.selRow) << s.at.x << "," << s.at.y;
        EXPECT_EQ(doc.Selection(), grid);
    }
}

TEST_F(EditorTest, SeparatorDragsChangeOneColumnOrRow)
{
    auto* grid = static_cast<CFmtGrid*>(doc.InsertAt(kKindGrid, 0, 0));
    const int right = grid->m_rcPage.right;
    EditorOutcome hover = editor.Move({400, -110});  // border between columns 0 and 1
    EXPECT_EQ(hover.cursor, DesignCursor::SizeHorizontal);
    editor.Press({400, -110});
    EditorOutcome out = editor.Move({500, -110});
    EXPECT_EQ(grid->m_columns[0].width, 500);
    EXPECT_EQ(grid->m_columns[1].x, 500);
    EXPECT_EQ(grid->m_rcPage.right, right + 100);
    EXPECT_EQ(out.positionText, "X=5.00, Ancho=5.00");
    EXPECT_TRUE(editor.Release({500, -110}).changed);

    const int rowBorder = grid->m_rows[0].y - grid->m_rows[0].height;  // -45
    hover = editor.Move({200, rowBorder});
    EXPECT_EQ(hover.cursor, DesignCursor::SizeVertical);
    editor.Press({200, rowBorder});
    out = editor.Move({200, rowBorder - 100});
    EXPECT_EQ(grid->m_rows[0].height, 45 + 100);
    EXPECT_EQ(out.positionText, "Y=-1.45, Alto=1.45");
    editor.Release({200, rowBorder - 100});
    EXPECT_EQ(recorded, 2);
}

TEST_F(EditorTest, AlignmentCodesFollowTheKind)
{
    struct Case {
        int kind;
        DesignAlign align;
        int expected;
    } cases[] = {
        {kKindTextlineVar, DesignAlign::Centre, 6}, {kKindConsText, DesignAlign::Right, 2},
        {kKindParrafoVar, DesignAlign::Centre, 1},  {kKindConsParrafo, DesignAlign::Right, 2},
        {kKindEtiqueta, DesignAlign::Left, 0},
    };
    for (const Case& c : cases) {
        doc.InsertAt(c.kind, 0, 0);
        doc.AlignSelection(c.align);
        EXPECT_EQ(doc.Selection()->m_align, c.expected) << "kind " << c.kind;
    }
    auto* grid = static_cast<CFmtGrid*>(doc.InsertAt(kKindGrid, 0, 0));
    grid->m_selColumn = 1;
    doc.AlignSelection(DesignAlign::Right);
    EXPECT_EQ(grid->m_columns[1].align, 2);
    EXPECT_EQ(grid->m_columns[0].align, 0);
    EXPECT_EQ(grid->m_align, 2);
}

TEST_F(EditorTest, SnappingCommandsSwitchAndTurnOff)
{
    EXPECT_EQ(editor.SnapStep(), 10);
    editor.ToggleSnap(kSnapStepCm);
    EXPECT_EQ(editor.SnapStep(), 100);
    editor.ToggleSnap(kSnapStepCm);
    EXPECT_EQ(editor.SnapStep(), 0);
    editor.ToggleSnap(kSnapStepMm);
    EXPECT_EQ(editor.SnapStep(), 10);
    editor.ToggleSnap(kSnapStepMm);
    EXPECT_EQ(editor.SnapStep(), 0);
}

}  // namespace

TEST(FontSizes, PointsConvertToTheNearestTenthOfAMillimetreAndBack)
{
    // 1 pt = 0.3528 mm: 14 pt is 4.94 mm, stored as 49; the default 40 shows as 11.3 pt.
    EXPECT_EQ(PointsToUnits(14), 49);
    EXPECT_EQ(PointsToUnits(11.3), 40);
    EXPECT_NEAR(UnitsToPoints(40), 11.34, 0.01);
    EXPECT_NEAR(UnitsToPoints(-49), 13.89, 0.01) << "an em height counts by its size";
}
