// Several elements selected at once: Shift+click, the rubber band, moving them together,
// arranging them, typed measures, the keys' limits, drag to size, copy and paste.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "design/design_document.h"
#include "design/design_editor.h"
#include "model/element_clipboard.h"
#include "model/fmt_grid.h"
#include "model/rectangulo.h"
#include "model/textline_var.h"

namespace {

// A rectangle element with the page rectangle given (left, top, right, bottom).
CControles* AddBox(DesignDocument& doc, Rect rc)
{
    auto box = std::make_unique<CRectangulo>();
    box->m_rcPage = rc;
    CControles* added = box.get();
    doc.Elements().push_front(std::move(box));
    return added;
}

// Three boxes of different sizes, in file order a, b, c.
std::array<CControles*, 3> AddThree(DesignDocument& doc)
{
    return {AddBox(doc, {100, -100, 300, -200}),    // 20 x 10 mm
            AddBox(doc, {500, -150, 900, -400}),    // 40 x 25 mm
            AddBox(doc, {1000, -300, 1100, -350})}; // 10 x 5 mm
}

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto three = AddThree(doc);
        a = three[0];
        b = three[1];
        c = three[2];
    }
    DesignDocument doc;
    CDesignEditor editor{doc, ChangeHooks{[this] { ++recorded; }, [this] { ++dropped; }}};
    CControles* a = nullptr;
    CControles* b = nullptr;
    CControles* c = nullptr;
    int recorded = 0;
    int dropped = 0;
};

TEST_F(SelectionTest, ShiftClickAndTheRubberBandBuildTheSelection)
{
    editor.Press({150, -150});
    editor.Release({150, -150});
    editor.Press({600, -200}, true);
    editor.Release({600, -200});
    EXPECT_EQ(doc.Selected(), (std::vector<CControles*>{a, b}));
    EXPECT_EQ(doc.Selection(), nullptr) << "several selected: no single selection";
    editor.Press({150, -150}, true);
    editor.Release({150, -150});
    EXPECT_EQ(doc.Selected(), (std::vector<CControles*>{b}));
    EXPECT_EQ(a->m_selected, 0);

    // A band from empty paper takes what it wholly encloses: b and c, not a (cut).
    editor.Press({200, -50});
    const EditorOutcome during = editor.Move({1200, -500});
    EXPECT_EQ(during.band, (Rect{200, -50, 1200, -500}));
    EXPECT_TRUE(editor.Release({1200, -500}).bandEnds);
    EXPECT_EQ(doc.Selected(), (std::vector<CControles*>{b, c}));
    EXPECT_EQ(recorded, 0);

    doc.SelectAll();
    EXPECT_EQ(doc.SelectedCount(), 3u);
}

TEST_F(SelectionTest, DraggingOneOfSeveralMovesThemAllAsOneChangeHeldOnThePage)
{
    doc.SelectAll();
    editor.Press({150, -150});
    editor.Move({250, -250});
    EXPECT_TRUE(editor.Release({250, -250}).changed);
    EXPECT_EQ(a->m_rcPage, (Rect{200, -200, 400, -300}));
    EXPECT_EQ(c->m_rcPage, (Rect{1100, -400, 1200, -450}));
    EXPECT_EQ(recorded, 1);
    // Far to the upper left: the group stops with its leftmost and top edges on the page's.
    editor.Press({250, -250});
    editor.Move({-3000, 3000});
    editor.Release({-3000, 3000});
    EXPECT_EQ(a->m_rcPage.left, 0);
    EXPECT_EQ(a->m_rcPage.top, 0);
    EXPECT_EQ(c->m_rcPage.Width(), 100) << "the group keeps its shape";
}

TEST_F(SelectionTest, ArrangingAlignsDistributesAndSizesToTheFirstSelected)
{
    struct Case {
        DesignArrange arrange;
        Rect a, b, c;
    };
    const Case cases[] = {
        {DesignArrange::AlignLeft, {100, -100, 300, -200}, {100, -150, 500, -400}, {100, -300, 200, -350}},
        {DesignArrange::AlignRight, {900, -100, 1100, -200}, {700, -150, 1100, -400}, {1000, -300, 1100, -350}},
        {DesignArrange::AlignTop, {100, -100, 300, -200}, {500, -100, 900, -350}, {1000, -100, 1100, -150}},
        {DesignArrange::AlignBottom, {100, -300, 300, -400}, {500, -150, 900, -400}, {1000, -350, 1100, -400}},
        {DesignArrange::AlignCentresHorizontally, {500, -100, 700, -200}, {400, -150, 800, -400}, {550, -300, 650, -350}},
        {DesignArrange::AlignCentresVertically, {100, -200, 300, -300}, {500, -125, 900, -375}, {1000, -225, 1100, -275}},
        // Widths 200 + 400 + 100 over 100..1100: gaps of 150.
        {DesignArrange::DistributeHorizontally, {100, -100, 300, -200}, {450, -150, 850, -400}, {1000, -300, 1100, -350}},
        {DesignArrange::SameWidth, {100, -100, 300, -200}, {500, -150, 700, -400}, {1000, -300, 1200, -350}},
        {DesignArrange::SameHeight, {100, -100, 300, -200}, {500, -150, 900, -250}, {1000, -300, 1100, -400}},
    };
    for (const Case& k : cases) {
        DesignDocument fresh;
        const auto three = AddThree(fresh);
        for (CControles* e : three)
            fresh.ToggleSelected(e);
        EXPECT_TRUE(fresh.Arrange(k.arrange)) << int(k.arrange);
        EXPECT_EQ(three[0]->m_rcPage, k.a) << int(k.arrange);
        EXPECT_EQ(three[1]->m_rcPage, k.b) << int(k.arrange);
        EXPECT_EQ(three[2]->m_rcPage, k.c) << int(k.arrange);
    }
    doc.Select(a);
    EXPECT_FALSE(doc.Arrange(DesignArrange::AlignLeft)) << "one element has nothing to align with";
}

TEST_F(SelectionTest, KeysAndTypedMeasuresStopAtThePageEdgeAndTheMinimumSize)
{
    doc.Select(c);
    EXPECT_TRUE(doc.ResizeSelection(-100, 0));
    EXPECT_EQ(c->m_rcPage.Width(), 41) << "held at the kinds' minimum";
    EXPECT_FALSE(doc.ResizeSelection(-10, 0));
    EXPECT_TRUE(doc.MoveSelection(5000, -5000));
    EXPECT_EQ(c->m_rcPage.right, kPageExtentUnits);
    EXPECT_EQ(c->m_rcPage.bottom, -kPageExtentUnits);
    EXPECT_FALSE(doc.MoveSelection(10, -10));

    doc.Select(a);
    EXPECT_TRUE(doc.SetMeasure(DesignMeasure::X, 254));
    EXPECT_TRUE(doc.SetMeasure(DesignMeasure::Y, 300));
    EXPECT_TRUE(doc.SetMeasure(DesignMeasure::Width, 155));
    EXPECT_TRUE(doc.SetMeasure(DesignMeasure::Height, 60));
    EXPECT_EQ(a->m_rcPage, (Rect{254, -300, 409, -360}));
    doc.ToggleSelected(b);
    EXPECT_FALSE(doc.CommonMeasure(DesignMeasure::X));
    EXPECT_TRUE(doc.SetMeasure(DesignMeasure::X, 100));
    EXPECT_EQ(doc.CommonMeasure(DesignMeasure::X), 100);

    // A table row typed to 6.0 mm whatever its snapped height.
    CControles* grid = doc.InsertAt(kKindGrid, 0, -1000);
    static_cast<CFmtGrid*>(grid)->m_selRow = 2;
    EXPECT_TRUE(doc.SetMeasure(DesignMeasure::Height, 60));
    EXPECT_EQ(static_cast<CFmtGrid*>(grid)->m_rows[2].height, 60);
}

TEST_F(SelectionTest, AnInsertDragFillsTheRectangleAndAClickKeepsTheDefaultSize)
{
    editor.ChooseInsertTool(kKindRectangulo);
    editor.Press({2003, -2004});
    EXPECT_EQ(editor.Move({2508, -2306}).band, (Rect{2000, -2000, 2500, -2300}));
    editor.Release({2508, -2306});
    EXPECT_EQ(doc.Selection()->m_rcPage, (Rect{2000, -2000, 2500, -2300}));
    // A line drawn taller than wide stands upright along the drag.
    editor.ChooseInsertTool(kKindLinea);
    editor.Press({3000, -1000});
    editor.Release({3010, -1500});
    EXPECT_EQ(doc.Selection()->m_rcPage.Normalized().MinY(), -1500);
    editor.ChooseInsertTool(kKindRectangulo);
    editor.Press({3000, -3000});
    editor.Release({3005, -3005});
    EXPECT_EQ(doc.Selection()->m_rcPage, (Rect{3000, -3000, 3600, -3600}));
}

TEST_F(SelectionTest, PastedElementsGetFreeNamesLaterOrdersAndMoveOffTheirOriginals)
{
    auto line = std::make_unique<CTextlineVar>();
    line->m_text = "NOMBRE";
    line->m_rcPage = {100, -500, 500, -545};
    line->m_order = 7;
    doc.Elements().push_front(std::move(line));
    doc.SelectAll();
    const std::vector<uint8_t> bytes = doc.CopySelection();

    for (const char* expected : {"NOMBRE 2", "NOMBRE 3"}) {
        ElementList pasted;
        std::string message;
        ASSERT_TRUE(DecodeElements(bytes, pasted, message)) << message;
        EXPECT_EQ(doc.Paste(std::move(pasted)), 4);
        EXPECT_EQ(doc.SelectedCount(), 4u);
        const CControles* copy = doc.Elements().front().get();
        EXPECT_EQ(copy->m_text, expected);
        EXPECT_GT(copy->m_order, 7);
        EXPECT_NE(copy->m_rcPage, (Rect{100, -500, 500, -545}));
    }
    EXPECT_EQ(doc.Elements().size(), 12u);
}

TEST(ElementClipboard, DamagedBytesAreRefusedWithAMessage)
{
    DesignDocument doc;
    AddBox(doc, {0, 0, 100, -100});
    doc.InsertAt(kKindGrid, 0, -500);
    doc.SelectAll();
    const std::vector<uint8_t> bytes = doc.CopySelection();
    ElementList out;
    std::string message;
    // Every cut short of the whole is refused; nothing half-read is kept.
    for (size_t n = 0; n < bytes.size(); n += 7) {
        EXPECT_FALSE(DecodeElements(std::span(bytes.data(), n), out, message)) << n;
        EXPECT_TRUE(out.empty());
        EXPECT_FALSE(message.empty());
    }
    std::vector<uint8_t> unknown = bytes;
    unknown[5] = 42;  // the first entry's kind
    EXPECT_FALSE(DecodeElements(unknown, out, message));
    EXPECT_NE(message.find("no conoce"), std::string::npos) << message;
    EXPECT_FALSE(DecodeElements(EncodeElements({}), out, message)) << "no elements: nothing to paste";
}

}  // namespace
