// The text kinds drawn on the recording surface. Its metrics: a character is half the
// cell height wide, a line one cell high.
#include <gtest/gtest.h>

#include "model/cons_parrafo.h"
#include "model/cons_text.h"
#include "model/element_factory.h"
#include "model/etiqueta.h"
#include "model/parrafo_var.h"
#include "base/recording_dc.h"
#include "model/marca_var.h"
#include "model/textline_var.h"

namespace {

std::string Describe(const Rect& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

}  // namespace

TEST(KindsCreation, EveryInsertableKindGetsItsDefaultTextAndRectangle)
{
    struct Case {
        int kind;
        const char* text;
        Rect expected;
    };
    const int x = 100, y = -200;
    const Case cases[] = {
        {kKindTextlineVar, "Linea de texto", {100, -155, 500, -200}},
        {kKindParrafoVar, "Parrafo de texto", {100, -200, 700, -325}},
        {kKindCuadrosVar, "Texto en cuadros", {100, -150, 572, -200}},
        {kKindMarcaVar, "Marca de verificación", {100, -155, 145, -200}},
        {kKindConsText, "Linea de texto", {100, -155, 500, -200}},
        {kKindConsParrafo, "Parrafo de texto\r\nParrafo de texto", {100, -200, 700, -325}},
        {kKindLinea, "Linea", {100, -180, 500, -220}},
        {kKindRectangulo, "Rectangulo", {100, -200, 700, -800}},
        {kKindEtiqueta, "Etiqueta", {100, -155, 500, -200}},
        {kKindCodigoBarras, "Codigo", {100, -200, 400, -500}},
    };
    for (const Case& c : cases) {
        auto e = CreateElementAt(c.kind, x, y);
        ASSERT_TRUE(e) << "kind " << c.kind;
        EXPECT_EQ(e->m_kind, c.kind);
        EXPECT_EQ(e->m_text, c.text) << "kind " << c.kind;
        EXPECT_EQ(e->m_rcPage, c.expected) << "kind " << c.kind << " got " << Describe(e->m_rcPage);
    }
    EXPECT_FALSE(CreateElementAt(kKindImagen, x, y));
    EXPECT_FALSE(CreateElementAt(12, x, y));
}

TEST(KindsFontRefit, FixFontHeightMakesTheHeightPositiveAndRefitsWhereTheKindFollowsItsFont)
{
    // A variable text line keeps its width and bottom; its height follows the font.
    CTextlineVar line;
    line.m_rcPage = {100, -100, 700, -200};
    line.m_logFont.height = -55;
    line.FixFontHeight();
    EXPECT_EQ(line.m_logFont.height, 55);
    EXPECT_EQ(line.m_rcPage, (Rect{100, -140, 700, -200}));
    EXPECT_EQ(line.m_rcHandle[1], (Rect{740, -230, 760, -210})) << "handles follow the new rectangle";

    // A resized variable paragraph goes back to 60 mm wide and three lines high.
    CParrafoVar par;
    par.m_rcPage = {100, -100, 1500, -900};
    par.m_logFont.height = -30;
    par.FixFontHeight();
    EXPECT_EQ(par.m_rcPage, (Rect{100, -100, 700, -195}));

    // Constant kinds and labels only turn the height positive.
    for (int kind : {kKindConsText, kKindConsParrafo, kKindEtiqueta, kKindCuadrosVar}) {
        auto e = CreateElementOfKind(kind);
        e->m_rcPage = {1, -2, 300, -400};
        e->m_logFont.height = -33;
        e->FixFontHeight();
        EXPECT_EQ(e->m_logFont.height, 33) << "kind " << kind;
        EXPECT_EQ(e->m_rcPage, (Rect{1, -2, 300, -400})) << "kind " << kind;
    }
}

TEST(KindsTextRefit, ConstantTextAndLabelsFitTheirRectangleToTheTextWhenDrawn)
{
    RecordingDc dc;
    for (int kind : {kKindConsText, kKindEtiqueta}) {
        auto e = CreateElementAt(kind, 100, -200);
        e->m_text = "Linea de texto";
        e->DrawDesign(dc);
        // 14 characters of 20 units, one 40-unit line, hanging from the top edge.
        EXPECT_EQ(e->m_rcPage, (Rect{100, -155, 380, -195})) << "kind " << kind;
        e->m_text = "Linea de texto mas larga";
        e->DrawDesign(dc);
        EXPECT_EQ(e->m_rcPage.right, 100 + 24 * 20) << "a longer text grows to the right, kind " << kind;
        e->m_text = "Corta";
        e->DrawDesign(dc);
        EXPECT_EQ(e->m_rcPage.right, 100 + 5 * 20) << "a shorter one shrinks, kind " << kind;
    }
}

TEST(KindsTextRefit, ConstantParagraphIsAsWideAsItsLongestLineAndAsHighAsItsLines)
{
    RecordingDc dc;
    auto e = CreateElementAt(kKindConsParrafo, 100, -200);
    e->DrawDesign(dc);
    EXPECT_EQ(e->m_rcPage, (Rect{100, -200, 100 + 16 * 20, -280}));
    // Drawn two units inside the shifted rectangle's upper edge, two wider each side.
    ASSERT_EQ(dc.drawTexts.size(), 1u);
    EXPECT_EQ(dc.drawTexts[0].rect, (Rect{148, -252, 472, -328}));
    ASSERT_EQ(dc.texts.size(), 2u) << "two lines, no word wrap inside the fitted width";
    EXPECT_EQ(dc.texts[1].cell.top, -292);
}

TEST(KindsTextLine, ValueIsPlacedByAlignmentTwoTenthsOfAMillimetreInsideAndClipped)
{
    struct Case {
        int align;
        int expectedX;
        int expectedFlags;
    };
    // Rectangle 101 wide so that the midpoint truncates.
    const Case cases[] = {{0, 102, 8}, {2, 199, 10}, {6, 150, 14}};
    for (const Case& c : cases) {
        CTextlineVar line;
        line.m_rcPage = {100, -155, 201, -200};
        line.m_align = c.align;
        MemoryEntryFactory factory;
        RecordingDc dc;
        ASSERT_EQ(line.CreateEntryControl(dc, factory, 1174, LogFont{}), 1);
        line.m_pControl->SetText("12,345.00 pesos mas de lo que cabe");
        line.Print(dc);
        ASSERT_EQ(dc.texts.size(), 1u) << "align " << c.align;
        const auto& t = dc.texts[0];
        EXPECT_EQ(t.x, c.expectedX) << "align " << c.align;
        EXPECT_EQ(t.y, -200) << "on the lower edge, align " << c.align;
        EXPECT_EQ(t.align, c.expectedFlags) << "align " << c.align;
        EXPECT_TRUE(t.clipped) << "align " << c.align;
        EXPECT_EQ(t.clip, (Rect{100, -200, 201, -155})) << "clipped to the unshifted rectangle, align " << c.align;
        if (c.align == 2) {
            EXPECT_EQ(t.cell.right, 199) << "the text ends 0.2 mm left of the right edge";
        }
    }
}

TEST(KindsTextLine, DesignViewShowsTheNameInTheShiftedOutlineAndPrintsNothingWithoutControl)
{
    CTextlineVar line;
    line.m_text = "RFC";
    line.m_rcPage = {230, -660, 630, -700};
    RecordingDc dc;
    line.Print(dc);
    EXPECT_TRUE(dc.texts.empty());
    line.DrawDesign(dc);
    ASSERT_EQ(dc.outlines.size(), 1u);
    EXPECT_EQ(dc.outlines[0].rect, (Rect{280, -750, 680, -710}));
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].text, "RFC");
    EXPECT_EQ(dc.texts[0].x, 282);
    EXPECT_EQ(dc.texts[0].y, -750);
}

TEST(KindsTextLine, SelectionDrawsInRedWithHandlesAndLeavesThePenAsItFoundIt)
{
    CTextlineVar line;
    line.m_rcPage = {0, 45, 400, 0};
    line.UpdateHandles();
    line.m_selected = 1;
    RecordingDc dc;
    dc.SelectPen(3, Rgb(0, 0, 255));
    line.DrawDesign(dc);
    ASSERT_EQ(dc.outlines.size(), 3u) << "outline, left and right handles";
    for (const auto& o : dc.outlines) {
        EXPECT_EQ(o.penColor, kSelectionRed);
        EXPECT_EQ(o.penWidth, 1);
    }
    EXPECT_EQ(dc.GetPenWidth(), 3);
    EXPECT_EQ(dc.GetPenColor(), Rgb(0, 0, 255));
}

TEST(KindsConstantText, PrintsLeftAlignedAtTheLowerLeftCornerWhateverItsAlignmentUnclipped)
{
    for (int align : {8, 0, 2, 6}) {
        CConsText e;
        e.m_text = "Total";
        e.m_rcPage = {500, -100, 600, -140};
        e.m_align = align;
        RecordingDc dc;
        e.Print(dc);
        ASSERT_EQ(dc.texts.size(), 1u);
        EXPECT_EQ(dc.texts[0].x, 500) << "align " << align;
        EXPECT_EQ(dc.texts[0].y, -140) << "align " << align;
        EXPECT_EQ(dc.texts[0].align, 8) << "align " << align;
        EXPECT_FALSE(dc.texts[0].clipped);
        EXPECT_EQ(e.m_align, align) << "the stored alignment is kept";
    }
}

TEST(KindsParagraph, PrintedValueWrapsInsideTheRectangleAndIsClippedThere)
{
    CParrafoVar par;
    par.m_rcPage = {0, 0, 200, -85};  // room for two lines of 40 and a bit
    MemoryEntryFactory factory;
    RecordingDc dc;
    par.CreateEntryControl(dc, factory, 1175, LogFont{});
    par.m_pControl->SetText("uno dos tres\r\ncuatro cinco seis siete");
    par.Print(dc);
    ASSERT_EQ(dc.drawTexts.size(), 1u);
    EXPECT_EQ(dc.drawTexts[0].flags, DrawTextFlag::kWordBreak);
    EXPECT_EQ(dc.drawTexts[0].rect, par.m_rcPage);
    std::vector<std::string> lines;
    for (const auto& t : dc.texts) {
        lines.push_back(t.text);
        EXPECT_TRUE(t.clipped);
    }
    // 200 units hold 10 characters: the lines break at spaces, the first at the top.
    EXPECT_EQ(lines, (std::vector<std::string>{"uno dos", "tres", "cuatro", "cinco seis", "siete"}));
    EXPECT_EQ(dc.texts[0].cell.top, 0);
}

TEST(KindsScreen, FirstPlacementFollowsThePagePositionUntilTheLayoutIsSaved)
{
    RecordingDc dc(MapMode::LoMetric, 96);
    CTextlineVar line;
    line.m_rcPage = {230, -660, 630, -700};
    line.DrawDesign(dc);
    EXPECT_EQ(line.m_rcScreen, (Rect{87, 249, 238, 269}));

    CParrafoVar par;
    par.m_rcPage = {254, -254, 508, -508};
    par.DrawDesign(dc);
    EXPECT_EQ(par.m_rcScreen, (Rect{96, 96, 192, 192}));

    line.m_screenPlaced = 1;
    line.m_rcPage = {0, 0, 400, -45};
    line.DrawDesign(dc);
    EXPECT_EQ(line.m_rcScreen, (Rect{87, 249, 238, 269})) << "a placed control stays where the layout put it";
}

TEST(KindsScreen, VariableKindsDrawOutlineCaptionAndBadgeInTheScreenFont)
{
    LogFont screen;
    screen.height = 14;
    CTextlineVar line;
    line.m_text = "Nombre";
    line.m_order = 3;
    line.m_rcScreen = {100, 50, 300, 70};
    line.m_screenFont = &screen;
    RecordingDc dc(MapMode::Pixels);
    dc.SetBkTransparent(true);
    line.DrawScreen(dc, true);
    ASSERT_EQ(dc.outlines.size(), 1u);
    EXPECT_EQ(dc.outlines[0].rect, line.m_rcScreen);
    ASSERT_EQ(dc.texts.size(), 2u);
    EXPECT_EQ(dc.texts[0].text, "Nombre:");
    EXPECT_EQ(dc.texts[0].x, 98);
    EXPECT_EQ(dc.texts[0].font.height, 14);
    EXPECT_EQ(dc.texts[1].text, " 3 ");
    EXPECT_FALSE(dc.texts[1].transparent);
    EXPECT_TRUE(dc.IsBkTransparent()) << "the badge restores the background mode";

    // A check box keeps its badge beside it, so the box it numbers stays in sight.
    CMarcaVar mark;
    mark.m_rcScreen = {100, 50, 119, 69};
    RecordingDc small(MapMode::Pixels);
    mark.DrawScreen(small, true);
    ASSERT_FALSE(small.texts.empty());
    EXPECT_GT(small.texts.back().x, mark.m_rcScreen.right);
}

TEST(KindsLabel, ShowsItsTextWithAColonInTheScreenFontAtItsOwnWeightAndNeverPrints)
{
    LogFont screen;
    screen.height = 14;
    CEtiqueta label;
    label.m_text = "Datos del cliente";
    label.m_logFont.weight = 700;
    label.m_rcScreen = {10, 20, 200, 40};
    label.m_screenFont = &screen;
    label.m_order = 4;
    RecordingDc dc(MapMode::Pixels);
    label.DrawScreen(dc, true);
    ASSERT_EQ(dc.texts.size(), 1u) << "no caption and no order badge";
    EXPECT_EQ(dc.texts[0].text, "Datos del cliente:");
    EXPECT_EQ(dc.texts[0].x, 10);
    EXPECT_EQ(dc.texts[0].y, 22);
    EXPECT_EQ(dc.texts[0].font.weight, 700);
    EXPECT_EQ(dc.texts[0].font.height, 14);
    EXPECT_EQ(dc.texts[0].font.face, "Arial");

    dc.Clear();
    label.Print(dc);
    EXPECT_TRUE(dc.texts.empty());
}
