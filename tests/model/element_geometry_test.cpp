#include <gtest/gtest.h>

#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "model/format_file.h"
#include "format_bytes.h"
#include "model/linea.h"
#include "model/textline_var.h"

TEST(ElementGeometry, HitTestOnThePageUsesTheNormalisedRectangle)
{
    auto e = CreateElementOfKind(kKindRectangulo);
    e->m_rcPage = {100, -100, 200, -200};  // top above bottom, as on the page
    EXPECT_TRUE(e->HitTest(100, -200, false));
    EXPECT_TRUE(e->HitTest(150, -150, false));
    EXPECT_FALSE(e->HitTest(200, -150, false));  // right edge is outside
    EXPECT_FALSE(e->HitTest(150, -100, false));  // so is the upper edge
    e->m_rcScreen = {10, 10, 20, 20};
    EXPECT_TRUE(e->HitTest(10, 10, true));
    EXPECT_FALSE(e->HitTest(20, 15, true));
}

TEST(ElementGeometry, ResizeRefusesFourMillimetresOrLessButStillUpdatesHandles)
{
    struct Case {
        const char* name;
        int handle, dx, dy;
        Rect expected;
    };
    const Rect start{100, -100, 145, -200};  // 45 wide, 100 high
    const Case cases[] = {
        {"left to width 40 refused", kHandleLeft, 5, 0, start},
        {"left to width 41 allowed", kHandleLeft, 4, 0, {104, -100, 145, -200}},
        {"right past left refused", kHandleRight, -100, 0, start},
        {"right widened", kHandleRight, 10, 0, {100, -100, 155, -200}},
        {"bottom to height 40 refused", kHandleBottom, 0, 60, start},
        {"bottom lowered", kHandleBottom, 0, -10, {100, -100, 145, -210}},
        {"top past bottom by more than 40 allowed", kHandleTop, 0, -150, {100, -250, 145, -200}},
        {"unknown handle", 7, 5, 5, start},
    };
    for (const Case& c : cases) {
        auto e = CreateElementOfKind(kKindRectangulo);
        e->m_rcPage = start;
        e->m_rcHandle = {};
        e->ResizeByHandle(c.handle, c.dx, c.dy);
        EXPECT_EQ(e->m_rcPage, c.expected) << c.name;
        EXPECT_FALSE(e->m_rcHandle[0].IsEmpty()) << c.name << ": handles not recomputed";
    }
}

TEST(ElementGeometry, PageHandlesSitOnTheShiftedEdgesAndAreHitFromPagePoints)
{
    CTextlineVar line;
    line.m_rcPage = {230, -660, 630, -700};
    line.UpdateHandles();
    // Shifted by +50, -50 and normalised: 280..680 wide, -750..-710 high, middle -730.
    EXPECT_EQ(line.m_rcHandle[0], (Rect{270, -740, 290, -720}));
    EXPECT_EQ(line.m_rcHandle[1], (Rect{670, -740, 690, -720}));
    EXPECT_TRUE(line.m_rcHandle[2].IsEmpty());
    EXPECT_TRUE(line.m_rcHandle[3].IsEmpty());
    EXPECT_EQ(line.HitHandle(230, -680), kHandleLeft);   // page point on the left edge
    EXPECT_EQ(line.HitHandle(630, -680), kHandleRight);
    EXPECT_EQ(line.HitHandle(430, -680), kNoHandle);

    auto rect = CreateElementOfKind(kKindRectangulo);
    rect->m_rcPage = {0, 0, 600, -600};
    rect->UpdateHandles();
    EXPECT_EQ(rect->HitHandle(300, -600), kHandleBottom);
    EXPECT_EQ(rect->HitHandle(300, 0), kHandleTop);
}

TEST(ElementGeometry, ScreenHandlesFollowTheScreenRectangleInLayoutMode)
{
    auto para = CreateElementOfKind(kKindParrafoVar);
    para->m_rcScreen = {10, 20, 110, 80};
    para->m_layoutMode = 1;
    para->UpdateHandles();
    EXPECT_EQ(para->m_rcHandle[0], (Rect{6, 46, 14, 54}));
    EXPECT_EQ(para->m_rcHandle[2], (Rect{56, 76, 64, 84}));  // bottom: the lower edge on screen
    EXPECT_EQ(para->HitHandle(60, 20), kHandleTop);
    para->ResizeScreen(kHandleBottom, 0, 10);
    EXPECT_EQ(para->m_rcScreen.bottom, 90);
    para->Offset(5, 5, true);
    EXPECT_EQ(para->m_rcScreen, (Rect{15, 25, 115, 95}));
}

TEST(ElementKinds, NamesFontsAndCategories)
{
    const char* names[] = {"Línea de texto variable", "Párrafo variable", "Texto en cuadros",
                           "Casilla de verificación", "Tabla", "Línea de texto constante",
                           "Párrafo constante", "Línea", "Rectángulo", "Imagen", "Etiqueta",
                           "Código de barras"};
    for (int kind = 0; kind <= 11; ++kind) {
        auto e = CreateElementOfKind(kind);
        ASSERT_NE(e, nullptr) << kind;
        EXPECT_EQ(e->m_kind, kind);
        EXPECT_EQ(e->KindName(), names[kind]) << kind;
        EXPECT_EQ(e->HasFont(), kind < 7 || kind >= 10) << kind;
        EXPECT_EQ(e->m_constant, (kind >= 5 && kind <= 9) ? 1 : 0) << kind;
        EXPECT_EQ(e->m_logFont.height, 40);
        EXPECT_EQ(e->m_logFont.face, "Arial");
    }
    EXPECT_EQ(CControles::KindName(12), "");
    EXPECT_EQ(CreateElementOfKind(12), nullptr);
}

TEST(ElementGeometry, AnElementAtTheEndsOfTheRangeKeepsItsHandlesThereInsteadOfWrapping)
{
    constexpr int32_t kMax = INT32_MAX;
    constexpr int32_t kMin = INT32_MIN;
    auto e = CreateElementOfKind(kKindRectangulo);
    e->m_rcPage = {kMax - 100, kMin + 100, kMax, kMin};
    e->UpdateHandles();
    // Shifted into the design view's coordinates the rectangle is held at the ends of
    // the range: the right handle is centred on the last coordinate, cut there.
    EXPECT_EQ(e->m_rcHandle[1], (Rect{kMax - 10, Midpoint(kMin, kMin + 50) - 10, kMax, Midpoint(kMin, kMin + 50) + 10}));
    for (const Rect& handle : e->m_rcHandle) {
        EXPECT_LE(handle.left, handle.right);
        EXPECT_LE(handle.top, handle.bottom);
    }
    EXPECT_EQ(e->HitHandle(kMax - 60, Midpoint(kMin, kMin + 50) + 50), kHandleRight);

    // Moved further out, it stays at the end; moved back, it is where it was moved to.
    e->Offset(1000, -1000, false);
    EXPECT_EQ(e->m_rcPage, (Rect{kMax, kMin, kMax, kMin}));
    e->Offset(-1000, 1000, false);
    EXPECT_EQ(e->m_rcPage, (Rect{kMax - 1000, kMin + 1000, kMax - 1000, kMin + 1000}));
}

TEST(ElementGeometry, TableColumnsAndRowsOfAnyStoredSizeAreLaidOutInOrder)
{
    // A table whose stored widths and heights run past the end of the range.
    FormatBytes bytes;
    bytes.Str("").Int(1);
    bytes.Entry(kKindGrid, 0x20, "TABLA", {INT32_MAX - 1000, INT32_MIN + 1000, INT32_MAX, INT32_MIN}, {0, 0, 10, 10}, 1);
    bytes.Int(3);
    for (int c = 0; c < 3; ++c)
        bytes.Int(0).Str("C").Int(INT32_MAX).Int(10).Int(0).Str("");
    bytes.Int(3).Int(INT32_MAX).Int(INT32_MAX).Int(INT32_MIN);
    bytes.Int(0).Int(0).Int(100).Int(100);
    Format format;
    FormatReadError error;
    ASSERT_TRUE(ReadFormat(bytes.Get(), format, error)) << error.reason;
    const auto& grid = static_cast<const CFmtGrid&>(*format.elements.front());
    int32_t lastX = INT32_MIN;
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        const Rect cell = grid.CellRect(c, 0);
        EXPECT_GE(cell.left, lastX) << "column " << c;
        EXPECT_LE(cell.left, cell.right) << "column " << c;
        lastX = cell.left;
    }
    int32_t lastY = INT32_MAX;
    for (int r = 0; r < 2; ++r) {
        const Rect cell = grid.CellRect(0, r);
        EXPECT_LE(cell.top, lastY) << "row " << r;
        EXPECT_GE(cell.top, cell.bottom) << "row " << r;
        lastY = cell.top;
    }
}
