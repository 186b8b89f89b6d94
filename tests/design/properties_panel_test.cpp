// The properties panel driven as a clerk drives it: clicks and keys into its boxes, the
// focus leaving a box to commit, messages answered by the scripted prompts.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "base/prompts.h"
#include "design/properties_panel.h"
#include "design/properties_panel_bar.h"
#include "model/codigo_barras.h"
#include "model/cuadros_var.h"
#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "model/marca_var.h"
#include "model/textline_var.h"

#include <QMainWindow>

namespace {

using Id = CPropertiesPanel::ControlId;

class PropertiesPanelTest : public ::testing::Test {
protected:
    Format format;
    ScriptedPrompts prompts;
    QWidget window;
    CPropertiesPanel* panel = nullptr;
    QLineEdit* after = nullptr;  // somewhere for the focus to go

    void SetUp() override
    {
        format.title = "Declaración anual";
        panel = new CPropertiesPanel(format, prompts, &window);
        after = new QLineEdit(&window);
        panel->setGeometry(0, 0, 300, 260);
        after->setGeometry(0, 270, 100, 24);
        window.resize(300, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <class T = CControles>
    T* Add(int kind, int x, int y)
    {
        format.elements.push_front(CreateElementAt(kind, x, y));
        return static_cast<T*>(format.elements.front().get());
    }

    QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(panel->Control(id)); }
    QString Label(int id) const { return static_cast<QLabel*>(panel->Control(id))->text(); }
    bool Shown(int id) const { return !panel->Control(id)->isHidden(); }

    // Clicks into a box, replaces its text by typing, and leaves it with Tab.
    void TypeAndLeave(int id, const QString& text)
    {
        QWidget* box = panel->Control(id);
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        after->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
};

TEST_F(PropertiesPanelTest, NothingSelectedShowsTheTitleBoxAndLeavingItStoresTheTitle)
{
    EXPECT_TRUE(Shown(Id::kIdText));
    for (int id : {Id::kIdName, Id::kIdFirstLabel, Id::kIdSecondLabel, Id::kIdThirdLabel, Id::kIdFirstNumber,
                   Id::kIdColumnType, Id::kIdCalculated, Id::kIdFormula})
        EXPECT_FALSE(Shown(id)) << id;
    auto* text = static_cast<QPlainTextEdit*>(panel->Control(Id::kIdText));
    EXPECT_EQ(text->toPlainText(), "Declaración anual");
    EXPECT_EQ(Label(Id::kIdKindName), "");

    QSignalSpy before(panel, &CPropertiesPanel::aboutToChange);
    QSignalSpy after_(panel, &CPropertiesPanel::changed);
    QTest::mouseClick(text->viewport(), Qt::LeftButton);
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "2024");
    EXPECT_EQ(format.title, "Declaración anual") << "nothing is stored before the box is left";
    after->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(format.title, "Declaración anual\r\n2024") << "Enter makes a new line, kept as CR LF";
    EXPECT_EQ(before.count(), 1);
    EXPECT_EQ(after_.count(), 1);
}

TEST_F(PropertiesPanelTest, EachKindShowsItsKindPlaceWidthAndRows)
{
    struct Case {
        int kind;
        int x, y;
        const char* kindName;
        const char* position;
        std::vector<int> shown;
        std::vector<const char*> labels;  // first, second, third row label
    };
    const Case cases[] = {
        {kKindConsText, 250, -300, "Línea de texto constante", "X=2.50 cm., Y=-3.00 cm.", {Id::kIdName}, {"", "", ""}},
        {kKindParrafoVar, 100, -200, "Párrafo variable", "X=1.00 cm., Y=-2.00 cm.", {Id::kIdName}, {"", "", ""}},
        {kKindTextlineVar, 0, -50, "Línea de texto variable", "X=0.00 cm., Y=-0.50 cm.", {Id::kIdName, Id::kIdCalculated},
         {"", "", ""}},
        {kKindCuadrosVar, 10, -20, "Texto en cuadros", "X=0.10 cm., Y=-0.20 cm.",
         {Id::kIdFirstNumber, Id::kIdSecondNumber, Id::kIdGap},
         {"Número de cuadros:", "Ancho del cuadro (mm/10):", "Dist. entre cuadros(mm/10):"}},
        {kKindMarcaVar, 10, -20, "Casilla de verificación", "X=0.10 cm., Y=-0.20 cm.", {Id::kIdMark},
         {"Carácter:", "", ""}},
        {kKindGrid, 100, -100, "Tabla", "X=1.00 cm., Y=-1.00 cm.", {Id::kIdFirstNumber, Id::kIdSecondNumber},
         {"Número de columnas:", "Número de filas:", ""}},
        {kKindConsParrafo, 100, -100, "Párrafo constante", "X=1.00 cm., Y=-1.00 cm.", {Id::kIdText}, {}},
    };
    for (const Case& c : cases) {
        CControles* e = Add(c.kind, c.x, c.y);
        panel->Refresh(e);
        SCOPED_TRACE(c.kindName);
        EXPECT_EQ(Label(Id::kIdKindName), c.kindName);
        EXPECT_EQ(Label(Id::kIdPosition), c.position);
        EXPECT_EQ(Label(Id::kIdWidth), QString::asprintf("%.2f cm.", (e->m_rcPage.right - e->m_rcPage.left) * 0.01));
        for (int id : {Id::kIdFirstNumber, Id::kIdSecondNumber, Id::kIdGap, Id::kIdMark, Id::kIdColumnType,
                       Id::kIdCalculated, Id::kIdFormula, Id::kIdText, Id::kIdName}) {
            const bool expected = std::find(c.shown.begin(), c.shown.end(), id) != c.shown.end() ||
                                  (id == Id::kIdName && c.kind != kKindConsParrafo);
            EXPECT_EQ(Shown(id), expected) << "control " << id;
        }
        if (c.labels.empty()) {
            EXPECT_FALSE(Shown(Id::kIdFirstLabel));
            EXPECT_FALSE(Shown(Id::kIdThirdLabel));
        } else {
            EXPECT_EQ(Label(Id::kIdFirstLabel), c.labels[0]);
            EXPECT_EQ(Label(Id::kIdSecondLabel), c.labels[1]);
            EXPECT_EQ(Label(Id::kIdThirdLabel), c.labels[2]);
        }
    }
}

TEST_F(PropertiesPanelTest, TypingANameAndLeavingTheBoxRenamesTheElementAnnouncedBeforeAndAfter)
{
    auto* e = Add(kKindTextlineVar, 0, -100);
    panel->Refresh(e);
    std::vector<std::string> seen;
    QObject::connect(panel, &CPropertiesPanel::aboutToChange, [&] { seen.push_back("before:" + e->m_text); });
    QObject::connect(panel, &CPropertiesPanel::changed, [&] { seen.push_back("after:" + e->m_text); });
    TypeAndLeave(Id::kIdName, "RFC");
    EXPECT_EQ(e->m_text, "RFC");
    EXPECT_EQ(seen, (std::vector<std::string>{"before:Linea de texto", "after:RFC"}));

    // Enter does nothing; leaving the box without typing commits nothing.
    seen.clear();
    QTest::mouseClick(Edit(Id::kIdName), Qt::LeftButton);
    QTest::keyClicks(Edit(Id::kIdName), "X");
    QTest::keyClick(Edit(Id::kIdName), Qt::Key_Return);
    EXPECT_EQ(e->m_text, "RFC");
    QTest::keyClick(Edit(Id::kIdName), Qt::Key_Backspace);
    after->setFocus();
    EXPECT_TRUE(seen.empty());
}

TEST_F(PropertiesPanelTest, BoxCountWidthAndGapRefitTheBoxesAndTheWidthLineFollows)
{
    auto* boxes = Add<CCuadrosVar>(kKindCuadrosVar, 100, -100);
    panel->Refresh(boxes);
    TypeAndLeave(Id::kIdFirstNumber, "5");
    EXPECT_EQ(boxes->m_boxCount, 5);
    TypeAndLeave(Id::kIdSecondNumber, "40");
    EXPECT_EQ(boxes->m_boxWidth, 40);
    TypeAndLeave(Id::kIdGap, " 20 ");
    EXPECT_EQ(boxes->m_boxGap, 20);
    EXPECT_EQ(boxes->m_rcPage.right - boxes->m_rcPage.left, 5 * (40 + 20 - 1));
    EXPECT_EQ(boxes->m_rcPage.top - boxes->m_rcPage.bottom, 40);
    EXPECT_EQ(Label(Id::kIdWidth), QString::asprintf("%.2f cm.", 5 * 59 * 0.01));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(PropertiesPanelTest, ANumberThatIsNotWholeIsRefusedAndTheBoxGetsTheFocusBack)
{
    auto* boxes = Add<CCuadrosVar>(kKindCuadrosVar, 100, -100);
    panel->Refresh(boxes);
    const Rect before = boxes->m_rcPage;
    for (const char* typed : {"abc", "", "3.5", "99999999999"}) {
        SCOPED_TRACE(typed);
        prompts.ClearShown();
        QSignalSpy changed(panel, &CPropertiesPanel::changed);
        QSignalSpy abandoned(panel, &CPropertiesPanel::changeAbandoned);
        TypeAndLeave(Id::kIdFirstNumber, typed);
        QTest::qWait(1);
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown()[0], "Introduzca un número entero.");
        EXPECT_EQ(boxes->m_boxCount, 8);
        EXPECT_EQ(boxes->m_rcPage, before);
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(abandoned.count(), 1) << "the announced change is withdrawn";
        EXPECT_TRUE(Edit(Id::kIdFirstNumber)->hasFocus());
    }
}

TEST_F(PropertiesPanelTest, BoxesRefuseACountOrWidthBelowOneAndANegativeGap)
{
    auto* boxes = Add<CCuadrosVar>(kKindCuadrosVar, 100, -100);
    panel->Refresh(boxes);
    const Rect before = boxes->m_rcPage;
    struct Case {
        int box;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {Id::kIdFirstNumber, "0", "Introduzca un número entero mayor que cero."},
        {Id::kIdFirstNumber, "-3", "Introduzca un número entero mayor que cero."},
        {Id::kIdSecondNumber, "0", "Introduzca un número entero mayor que cero."},
        {Id::kIdGap, "-1", "Introduzca un número entero igual o mayor que cero."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        prompts.ClearShown();
        panel->Refresh(boxes);
        TypeAndLeave(c.box, c.typed);
        QTest::qWait(1);
        EXPECT_EQ(prompts.Shown(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(boxes->m_rcPage, before);
    }
    // The refused gap box still has the focus: the clerk corrects it.
    prompts.ClearShown();
    TypeAndLeave(Id::kIdGap, "0");
    QTest::qWait(1);
    EXPECT_TRUE(prompts.Shown().empty()) << prompts.Shown().front();
    EXPECT_EQ(boxes->m_boxGap, 0);
}

TEST_F(PropertiesPanelTest, ARefusedBoxStopsTheExchangeButEarlierBoxesAreTaken)
{
    // The gap comes after the count in the exchange: a bad count leaves a typed gap
    // untaken, a bad gap still lets the count through.
    auto* boxes = Add<CCuadrosVar>(kKindCuadrosVar, 100, -100);
    panel->Refresh(boxes);
    Edit(Id::kIdFirstNumber)->setText("6");
    TypeAndLeave(Id::kIdGap, "x");
    QTest::qWait(1);
    EXPECT_EQ(boxes->m_boxGap, 10);
    EXPECT_EQ(prompts.Shown(), (std::vector<std::string>{"Introduzca un número entero."}));
}

TEST_F(PropertiesPanelTest, AMarkOfMoreThanOneCharacterIsRefused)
{
    auto* mark = Add<CMarcaVar>(kKindMarcaVar, 100, -100);
    panel->Refresh(mark);
    EXPECT_EQ(Edit(Id::kIdMark)->text(), "X");
    TypeAndLeave(Id::kIdMark, "XY");
    QTest::qWait(1);
    EXPECT_EQ(prompts.Shown(), (std::vector<std::string>{"No introduzca más de 1 caracteres."}));
    EXPECT_EQ(mark->m_mark, "X");
    EXPECT_TRUE(Edit(Id::kIdMark)->hasFocus());
    TypeAndLeave(Id::kIdMark, "*");
    EXPECT_EQ(mark->m_mark, "*");
}

TEST_F(PropertiesPanelTest, GridCountsGoToTheGridWhichRefusesNonPositiveOnes)
{
    auto* grid = Add<CFmtGrid>(kKindGrid, 100, -100);
    panel->Refresh(grid);
    EXPECT_EQ(Edit(Id::kIdFirstNumber)->text(), "4");
    EXPECT_EQ(Edit(Id::kIdSecondNumber)->text(), "6");
    TypeAndLeave(Id::kIdFirstNumber, "3");
    TypeAndLeave(Id::kIdSecondNumber, "2");
    EXPECT_EQ(grid->ColumnCount(), 3);
    EXPECT_EQ(grid->RowCount(), 2);
    QSignalSpy abandoned(panel, &CPropertiesPanel::changeAbandoned);
    TypeAndLeave(Id::kIdFirstNumber, "0");
    EXPECT_EQ(grid->ColumnCount(), 3);
    EXPECT_EQ(abandoned.count(), 1);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(PropertiesPanelTest, ASelectedColumnShowsItsTitleWidthAndTypeAndACalculatedTypeStartsEmpty)
{
    auto* grid = Add<CFmtGrid>(kKindGrid, 100, -100);
    grid->m_selColumn = 1;
    grid->m_columns[1].type = kGridNumberCalc;
    grid->m_columns[1].formula = "C1*2";
    panel->Refresh(grid);
    EXPECT_EQ(Label(Id::kIdKindName), "Columna de tabla");
    EXPECT_EQ(Edit(Id::kIdName)->text(), "Columna 2");
    EXPECT_EQ(Label(Id::kIdWidth), "4.00 cm.");
    EXPECT_EQ(Label(Id::kIdPosition), "");
    EXPECT_EQ(Label(Id::kIdFirstLabel), "Tipo de dato");
    EXPECT_EQ(Label(Id::kIdSecondLabel), "Cálculo:");
    auto* types = static_cast<QComboBox*>(panel->Control(Id::kIdColumnType));
    EXPECT_TRUE(Shown(Id::kIdColumnType));
    EXPECT_EQ(types->currentText(), "Número calculado");
    EXPECT_TRUE(Shown(Id::kIdFormula));
    EXPECT_EQ(Edit(Id::kIdFormula)->text(), "C1*2");

    // Down twice in the closed list: "Moneda", then "Moneda calculada".
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(grid->m_columns[1].type, kGridCurrency);
    EXPECT_EQ(grid->m_columns[1].formula, "C1*2") << "a plain type leaves the calculation alone";
    EXPECT_FALSE(Shown(Id::kIdFormula));
    EXPECT_EQ(Label(Id::kIdSecondLabel), "");
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(grid->m_columns[1].type, kGridCurrencyCalc);
    EXPECT_EQ(grid->m_columns[1].formula, "");
    EXPECT_TRUE(Shown(Id::kIdFormula));
    EXPECT_EQ(Edit(Id::kIdFormula)->text(), "");
    EXPECT_EQ(Label(Id::kIdSecondLabel), "Cálculo:");

    TypeAndLeave(Id::kIdFormula, "c1+c3");
    EXPECT_EQ(grid->m_columns[1].formula, "C1+C3") << "typed letters become upper case";
    // Columns named by their titles are kept as the numbers the calculation reads; a
    // formula naming nothing of the table is refused, with the form that works.
    grid->m_columns[2].title = "Precio";
    TypeAndLeave(Id::kIdFormula, "precio*1.16");
    EXPECT_EQ(grid->m_columns[1].formula, "C3*1.16");
    TypeAndLeave(Id::kIdFormula, "COSTO*1.16");
    QTest::qWait(1);
    EXPECT_EQ(grid->m_columns[1].formula, "C3*1.16");
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("C1*C3"), std::string::npos) << prompts.Shown()[0];
    EXPECT_NE(prompts.Shown()[0].find("C3 Precio"), std::string::npos) << prompts.Shown()[0];
    TypeAndLeave(Id::kIdFormula, "C1+C3");
    TypeAndLeave(Id::kIdName, "Importe");
    EXPECT_EQ(grid->m_columns[1].title, "Importe");
    EXPECT_EQ(grid->m_text, "Tabla");
}

TEST_F(PropertiesPanelTest, CalculatedFieldBoxStartsTheCalculationAfreshEitherWay)
{
    auto* line = Add<CTextlineVar>(kKindTextlineVar, 100, -100);
    panel->Refresh(line);
    auto* check = static_cast<QCheckBox*>(panel->Control(Id::kIdCalculated));
    EXPECT_FALSE(check->isChecked());
    EXPECT_FALSE(Shown(Id::kIdFormula));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(Shown(Id::kIdFormula));
    EXPECT_EQ(Label(Id::kIdSecondLabel), "Cálculo:");
    TypeAndLeave(Id::kIdFormula, "suma(a,b)");
    EXPECT_EQ(line->m_formula, "SUMA(A,B)");

    panel->Refresh(line);
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(Edit(Id::kIdFormula)->text(), "SUMA(A,B)");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(line->m_formula, "");
    EXPECT_FALSE(Shown(Id::kIdFormula));
    EXPECT_EQ(Label(Id::kIdSecondLabel), "");
}

TEST_F(PropertiesPanelTest, AnEditPendingWhenTheSelectionChangesGoesToTheElementItWasTypedFor)
{
    auto* first = Add(kKindConsText, 0, -100);
    auto* second = Add(kKindConsText, 0, -300);
    panel->Refresh(first);
    QTest::mouseClick(Edit(Id::kIdName), Qt::LeftButton);
    QTest::keyClick(Edit(Id::kIdName), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Edit(Id::kIdName), "Nombre");
    panel->Refresh(second);  // the view selected another element before the box lost the focus
    EXPECT_EQ(first->m_text, "Nombre");
    EXPECT_EQ(second->m_text, "Linea de texto");
    EXPECT_EQ(Edit(Id::kIdName)->text(), "Linea de texto");
    after->setFocus();
    EXPECT_EQ(second->m_text, "Linea de texto");
}

TEST_F(PropertiesPanelTest, AnEditForADeletedElementIsDroppedAndThePanelShowsTheTitle)
{
    auto* gone = Add(kKindConsText, 0, -100);
    panel->Refresh(gone);
    QTest::mouseClick(Edit(Id::kIdName), Qt::LeftButton);
    QTest::keyClicks(Edit(Id::kIdName), "zzz");
    QSignalSpy before(panel, &CPropertiesPanel::aboutToChange);
    format.elements.clear();
    panel->Refresh(nullptr);
    EXPECT_EQ(before.count(), 0);
    EXPECT_TRUE(Shown(Id::kIdText));
    EXPECT_FALSE(Shown(Id::kIdName));
    EXPECT_EQ(panel->Element(), nullptr);
}

TEST_F(PropertiesPanelTest, AConstantParagraphIsEditedInTheLargeBox)
{
    auto* paragraph = Add(kKindConsParrafo, 0, -100);
    panel->Refresh(paragraph);
    auto* text = static_cast<QPlainTextEdit*>(panel->Control(Id::kIdText));
    EXPECT_EQ(text->toPlainText(), "Parrafo de texto\nParrafo de texto");
    QTest::mouseClick(text->viewport(), Qt::LeftButton);
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "Fin");
    after->setFocus();
    EXPECT_EQ(paragraph->m_text, "Parrafo de texto\r\nParrafo de texto\r\nFin");
    EXPECT_EQ(format.title, "Declaración anual");
}

// --- The bar --------------------------------------------------------------------------

TEST(PropertiesBarTest, FloatsAtItsPlaceNeverDocksAndCloseOrCerrarOnlyHidesIt)
{
    Format format;
    format.elements.push_front(CreateElementAt(kKindConsText, 250, -300));
    ScriptedPrompts prompts;
    QMainWindow frame;
    frame.resize(600, 400);
    frame.show();
    auto* bar = new CPropertiesBar(format, prompts, &frame);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->windowTitle(), "Propiedades");
    EXPECT_EQ(bar->allowedAreas(), Qt::NoDockWidgetArea);

    bar->ShowFor(format.elements.front().get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar));
    EXPECT_TRUE(bar->isFloating());
    EXPECT_EQ(bar->pos(), QPoint(100, 50));
    EXPECT_EQ(static_cast<QLabel*>(bar->Panel()->Control(Id::kIdKindName))->text(), "Línea de texto constante");

    QTest::mouseClick(bar->Panel()->Control(Id::kIdClose), Qt::LeftButton);
    EXPECT_FALSE(bar->isVisible());
    bar->ShowFor(nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->Panel()->Element(), nullptr);
    bar->close();
    EXPECT_FALSE(bar->isVisible());
    bar->setFloating(false);
    EXPECT_TRUE(bar->isFloating()) << "it never docks";
}

}  // namespace

TEST_F(PropertiesPanelTest, ABarcodeTemplateMayNameOnlyFieldsTheFormatHas)
{
    Add(kKindTextlineVar, 100, -100)->m_text = "UUID";
    auto* code = Add<CCodigoBarras>(kKindCodigoBarras, 100, -300);
    panel->Refresh(code);
    ASSERT_TRUE(Shown(Id::kIdMedia));
    EXPECT_TRUE(Shown(Id::kIdTemplate));
    EXPECT_FALSE(Shown(Id::kIdKeepAspect));

    TypeAndLeave(Id::kIdTemplate, "id={uuid}&x={FALTA}");
    EXPECT_EQ(code->m_template, "");
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("\"FALTA\""), std::string::npos) << prompts.Shown()[0];

    TypeAndLeave(Id::kIdTemplate, "id={uuid}");
    EXPECT_EQ(code->m_template, "id={uuid}");
    EXPECT_EQ(prompts.Shown().size(), 1u);

    panel->Refresh(format.elements.back().get());
    EXPECT_FALSE(Shown(Id::kIdMedia));
}
