// Calculated fields on the capture screen without a window: parsing, the ripple through
// chains and diamonds, cycles, column totals, typing rules and clearing.
#include <gtest/gtest.h>

#include "capture/capture_calc.h"
#include "capture_fixture.h"
#include "model/cuadros_var.h"

namespace {

struct ParseCase {
    const char* formula;
    char op;
    int srcA, srcB;
    double a, b;
};

}  // namespace

TEST(CaptureFormula, FormulasReadTwoOperandsAndTheFirstOperator)
{
    Format format;
    format.elements.push_back(Line("A", 1));
    format.elements.push_back(Line("Subtotal", 2));
    format.elements.push_back(Line("Impuesto", 3));
    format.elements.push_back(InvoiceLines(4));
    format.elements.push_back(Line("a", 9));  // same name as A, further from the head
    const ParseCase cases[] = {
        {"SUBTOTAL+IMPUESTO", '+', 1175, 1176, 0, 0},
        // A space before an operator belongs to the name: "SUBTOTAL " names nothing.
        {"SUBTOTAL + IMPUESTO", '+', 1176, 0, 0, 0},
        // A constant first takes slot A: the field read goes to B.
        {"5-A", '-', 0, 1174, 5, 0},
        {"A-5", '-', 1174, 0, 0, 5},
        {"SUBTOTAL*0.16", '*', 1175, 0, 0, 0.16},
        {"A*0", '*', 1174, 0, 0, 0},
        {"$A", '$', 1174, 0, 0, 0},
        {"A/B+C", '/', 1174, 0, 0, 0},
        {"DETALLE&IMPORTE", '&', 1177, 4, 0, 0},
        {"DETALLE&CANTIDAD", '&', 1177, 1, 0, 0},
        {"DETALLE&NADA", '&', 1177, 0, 0, 0},
        // Lower-case letters begin no token and are skipped.
        {"a+A", '+', 1174, 0, 0, 0},
        {"1.5.7*A", '*', 0, 1174, 1.5, 0},
        {"", 0, 0, 0, 0, 0},
    };
    for (const ParseCase& c : cases) {
        const CCalcRecord r = ParseCaptureFormula(c.formula, 1200, format.elements);
        EXPECT_EQ(r.m_op, c.op) << c.formula;
        EXPECT_EQ(r.m_srcA, c.srcA) << c.formula;
        EXPECT_EQ(r.m_srcB, c.srcB) << c.formula;
        EXPECT_DOUBLE_EQ(r.m_a, c.a) << c.formula;
        EXPECT_DOUBLE_EQ(r.m_b, c.b) << c.formula;
        EXPECT_EQ(r.m_resultId, 1200) << c.formula;
    }
}

TEST(CaptureCalculation, TheInvoiceTotalFollowsBothPathsWhicheverComesFirst)
{
    for (const bool totalFirst : {true, false}) {
        SCOPED_TRACE(totalFirst ? "TOTAL before IMPUESTO" : "IMPUESTO before TOTAL");
        CaptureFixture f;
        f.Open(InvoiceFormat(totalFirst));
        f.TypeCell("Detalle", 1, 1, "2");
        f.TypeCell("Detalle", 1, 3, "50");
        f.TypeCell("Detalle", 2, 1, "1");
        f.TypeCell("Detalle", 2, 3, "16.5");
        EXPECT_EQ(f.Text("Subtotal"), "116.50");
        EXPECT_EQ(f.Text("Impuesto"), "18.64");
        EXPECT_EQ(f.Text("Total"), "135.14");
        EXPECT_EQ(f.Text("Letra"), "CIENTO TREINTA Y CINCO PESOS 14/100 M.N.");

        // Typing over a calculated field ripples from it as well.
        f.Type("Subtotal", "1000");
        EXPECT_EQ(f.Text("Impuesto"), "160.00");
        EXPECT_EQ(f.Text("Total"), "1160.00");
        EXPECT_EQ(f.Text("Letra"), "UN MIL CIENTO SESENTA PESOS 00/100 M.N.");
    }
}

TEST(CaptureCalculation, ATotalOfATypedColumnFollowsEveryCommittedCell)
{
    // A total over a column the clerk types (not a calculated one) follows each commit.
    CaptureFixture f;
    Format format;
    format.elements.push_back(InvoiceLines(1));
    format.elements.push_back(Line("Piezas", 2, "DETALLE&CANTIDAD"));
    f.Open(std::move(format));
    f.TypeCell("Detalle", 1, 1, "2");
    EXPECT_EQ(f.Text("Piezas"), "2.00");
    f.TypeCell("Detalle", 2, 1, "5");
    EXPECT_EQ(f.Text("Piezas"), "7.00");
    f.TypeCell("Detalle", 1, 1, "10");
    EXPECT_EQ(f.Text("Piezas"), "15.00");
}

TEST(CaptureCalculation, AChainUpdatesItsEndAndACycleStops)
{
    CaptureFixture f;
    Format format;
    format.elements.push_back(Line("C", 3, "B*2"));
    format.elements.push_back(Line("B", 2, "A+1"));
    format.elements.push_back(Line("A", 1));
    // X and Y read each other.
    format.elements.push_back(Line("X", 4, "Y+1"));
    format.elements.push_back(Line("Y", 5, "X*2"));
    f.Open(std::move(format));

    f.Type("A", "4");
    EXPECT_EQ(f.Text("B"), "5.00");
    EXPECT_EQ(f.Text("C"), "10.00");

    f.Type("X", "3");
    EXPECT_EQ(f.Text("Y"), "6.00");
    EXPECT_EQ(f.Text("X"), "3") << "the field the user left is not computed again by the cycle";
    f.Type("Y", "10");
    EXPECT_EQ(f.Text("X"), "11.00");
    EXPECT_EQ(f.Text("Y"), "10");
}

TEST(CaptureCalculation, AFieldNamingItselfIsComputedOnlyWhenItsTextWasEdited)
{
    CaptureFixture f;
    Format format;
    format.elements.push_back(Line("Precio", 1, "PRECIO*1.15"));
    format.elements.push_back(Line("Cociente", 2, "PRECIO/DIVISOR"));
    format.elements.push_back(Line("Divisor", 3));
    f.Open(std::move(format));

    f.Type("Precio", "100");
    EXPECT_EQ(f.Text("Precio"), "115.00");
    // Left again without typing (a printout, a menu, another window): nothing changes,
    // and nothing counts as a change to save.
    f.session.MarkSaved();
    f.session.OnFieldLeft(1174);
    f.session.OnFieldLeft(1174);
    EXPECT_EQ(f.Text("Precio"), "115.00");
    EXPECT_FALSE(f.session.IsModified());
    f.Type("Precio", "200");
    EXPECT_EQ(f.Text("Precio"), "230.00");
    EXPECT_EQ(f.Text("Cociente"), "0.00") << "a division by an empty field gives 0";
    f.Type("Divisor", "0");
    EXPECT_EQ(f.Text("Cociente"), "0.00");
    f.Type("Divisor", "4");
    EXPECT_EQ(f.Text("Cociente"), "57.50");
}

TEST(CaptureCalculation, ATextThatIsNoAmountLeavesWhatFollowsFromItEmptyAndIsNamed)
{
    CaptureFixture f;
    f.Open(InvoiceFormat(false));
    // Amounts as the program shows them read whole.
    f.Type("Subtotal", "$1,500.00");
    EXPECT_EQ(f.Text("Total"), "1740.00");
    EXPECT_EQ(f.Text("Letra"), "UN MIL SETECIENTOS CUARENTA PESOS 00/100 M.N.");
    EXPECT_TRUE(f.session.CalcProblems().empty());

    f.Type("Subtotal", "abc");
    for (const char* computed : {"Impuesto", "Total", "Letra"})
        EXPECT_EQ(f.Text(computed), "") << computed;
    const std::vector<CalcProblem> problems = f.session.CalcProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].controlId, 1175);
    EXPECT_EQ(problems[0].message, "«abc» no es una cantidad: escriba en «Subtotal» solo el número, por ejemplo 1,234.50.");
    // Typing a value into a field that waits restores the chain below it only.
    f.Type("Impuesto", "10");
    EXPECT_EQ(f.Text("Total"), "");

    f.Type("Subtotal", " 100 ");
    EXPECT_EQ(f.Text("Total"), "116.00");
    EXPECT_TRUE(f.session.CalcProblems().empty());

    // An amount too large for words leaves the words empty and says so.
    f.Type("Total", "1000000000000");
    EXPECT_EQ(f.Text("Letra"), "");
    ASSERT_EQ(f.session.CalcProblems().size(), 1u);
    EXPECT_NE(f.session.CalcProblems()[0].message.find("demasiado grande"), std::string::npos);
}

TEST(CaptureCalculation, ClearingEmptiesEveryValueAndTheOperandsFollow)
{
    CaptureFixture f;
    f.Open(InvoiceFormat(false));
    f.Type("Subtotal", "100");
    f.Type("Pagada", "1");
    f.TypeCell("Detalle", 1, 1, "3");
    f.session.Clear();
    EXPECT_EQ(f.Text("Subtotal"), "");
    EXPECT_EQ(f.Text("Total"), "");
    EXPECT_TRUE(f.session.ValueLines() ==
                (std::vector<std::string>{"Subtotal=", "Impuesto=", "Total=", "Letra=", "Pagada=0", "Notas=", "RFC="}));
    // TOTAL reads SUBTOTAL and IMPUESTO; with only IMPUESTO typed, the old SUBTOTAL is
    // gone from its operands.
    f.Type("Impuesto", "5");
    EXPECT_EQ(f.Text("Total"), "5.00");
}

TEST(CaptureTyping, ValuesAreTypedAsAUserWouldAndListedInCaptureOrder)
{
    CaptureFixture f;
    Format format = InvoiceFormat(true);
    for (auto& element : format.elements)
        if (element->m_kind == kKindCuadrosVar)
            static_cast<CCuadrosVar&>(*element).m_boxCount = 4;
    f.Open(std::move(format));
    f.Type("rfc", "ABCDEFG");
    f.Type("NOTAS", "uno\\ndos\\\\tres");
    f.Type("pagada", "1");
    f.TypeCell("DETALLE", 3, 2, "Tornillos");

    std::string message;
    EXPECT_FALSE(f.session.TypeValue(f.Field("Pagada"), "si", message));
    EXPECT_NE(message.find("Pagada"), std::string::npos) << message;
    EXPECT_FALSE(f.session.TypeValue(f.Field("Detalle"), "1", message));
    EXPECT_FALSE(f.session.TypeCell(static_cast<CFmtGrid&>(f.Field("Detalle")), 4, 1, "1", message));
    EXPECT_NE(message.find("[4,1]"), std::string::npos) << message;
    EXPECT_EQ(f.session.FindVariable("Nadie"), nullptr);
    // A character the captured-data file cannot hold is refused by name; nothing is typed.
    EXPECT_FALSE(f.session.TypeValue(f.Field("RFC"), "Łukasz", message));
    EXPECT_NE(message.find("\"Ł\""), std::string::npos) << message;
    EXPECT_FALSE(f.session.TypeCell(static_cast<CFmtGrid&>(f.Field("Detalle")), 3, 2, "Listo ✓", message));
    EXPECT_NE(message.find("\"✓\""), std::string::npos) << message;

    EXPECT_EQ(static_cast<CTextValueElement&>(f.Field("Notas")).m_pControl->Text(), "uno\r\ndos\\tres");
    const std::vector<std::string> expected = {
        // A committed cell recomputes the totals of the table, empty as it is.
        "Detalle[3,2]=Tornillos", "Subtotal=0.00", "Impuesto=0.00", "Total=0.00", "Letra=CERO PESOS 00/100 M.N.",
        "Pagada=1",               "Notas=uno\\ndos\\\\tres", "RFC=ABCD",
    };
    EXPECT_EQ(f.session.ValueLines(), expected);
    EXPECT_EQ(f.session.FirstControlId(), 1174);
    EXPECT_EQ(f.session.ControlsInCaptureOrder().size(), 8u);
}

TEST(CaptureCalculation, FormulasThatBranchAndJoinOnEveryLineAreComputedOnceEach)
{
    // L0 -> (Ak, Bk) -> Lk+1 = Ak+Bk, forty times: every field is reached along 2^k paths.
    CaptureFixture f;
    Format format;
    int order = 1;
    format.elements.push_back(Line("L0", order++));
    for (int k = 0; k < 40; ++k) {
        const std::string from = "L" + std::to_string(k);
        format.elements.push_back(Line("A" + std::to_string(k), order++, from + "+1"));
        format.elements.push_back(Line("B" + std::to_string(k), order++, from + "*1"));
        format.elements.push_back(
            Line("L" + std::to_string(k + 1), order++, "A" + std::to_string(k) + "+B" + std::to_string(k)));
    }
    f.Open(std::move(format));
    f.Type("L0", "1");
    EXPECT_EQ(f.Text("A0"), "2.00");
    EXPECT_EQ(f.Text("L1"), "3.00");
    EXPECT_EQ(f.Text("L2"), "7.00");
    EXPECT_EQ(f.Text("L40"), "2199023255551.00") << "2^41 - 1, each line computed once";
}
