// Reading a column's calculation text, evaluating a record and writing its result.
#include <gtest/gtest.h>

#include "calc/column_formula.h"

TEST(ColumnFormula, ReadsOperandsAndOperatorLeftToRight)
{
    struct Case {
        const char* formula;
        char op;
        int srcA, srcB;
        double a, b;
    };
    const Case cases[] = {
        {"C1*C2", '*', 1, 2, 0, 0},
        {"C3*0.16", '*', 3, 0, 0, 0.16},
        {"100-C2", '-', 0, 2, 100, 0},
        {" C1 + C12 ", '+', 1, 12, 0, 0},
        {"C2/C1-C3", '/', 2, 3, 0, 0},             // the first operator counts; a third operand overwrites B
        {"c1*c2", '*', 0, 0, 1, 2},                // lower-case letters are skipped: two constants
        {"0+C4", '+', 4, 0, 0, 0},                 // a zero constant takes no slot
        {"C1.9*2", '*', 1, 0, 0, 2},               // a column number is read as a decimal and cut
        {"1.5.7*C2", '*', 0, 2, 1.5, 0},           // a number stops at its second point
        {"Cx*3", '*', 0, 0, 3, 0},                 // "C" without digits is no reference
        {"", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const CCalcRecord r = ParseColumnFormula(c.formula, true);
        EXPECT_EQ(r.m_op, c.op) << c.formula;
        EXPECT_EQ(r.m_srcA, c.srcA) << c.formula;
        EXPECT_EQ(r.m_srcB, c.srcB) << c.formula;
        EXPECT_DOUBLE_EQ(r.m_a, c.a) << c.formula;
        EXPECT_DOUBLE_EQ(r.m_b, c.b) << c.formula;
    }
}

TEST(ColumnFormula, OnlyCalculatedColumnsAreActive)
{
    EXPECT_EQ(ParseColumnFormula("C1*C2", true).m_active, 1);
    const CCalcRecord plain = ParseColumnFormula("C1*C2", false);
    EXPECT_EQ(plain.m_active, 0);
    EXPECT_EQ(plain.m_srcA, 1) << "the formula is still read";
}

TEST(CalcRecord, EvaluatesAndWritesTwoDecimals)
{
    struct Case {
        char op;
        double a, b;
        const char* text;
    };
    const Case cases[] = {
        {'+', 2, 3.5, "5.50"},   {'-', 100, 150, "-50.00"}, {'*', 2, 3.5, "7.00"},
        {'/', 1, 3, "0.33"},     {'/', 5, 0, "0.00"},       {0, 4, 5, "0.00"},
        {'$', 4, 5, "0.00"},     {'*', 1234567.891, 1, "1234567.89"},
        {'-', 0.001, 0.002, "0.00"},  // no "-0.00"
    };
    for (const Case& c : cases) {
        CCalcRecord r;
        r.m_op = c.op;
        r.m_a = c.a;
        r.m_b = c.b;
        EXPECT_EQ(FormatCalcResult(EvaluateCalc(r)), c.text) << c.op << " " << c.a << " " << c.b;
    }
}

TEST(ColumnFormula, TitlesBecomeColumnNumbersAndAFormulaNamingNothingIsRefused)
{
    const std::vector<std::string> titles = {"Cantidad", "Descripción", "Precio", "Importe"};
    const struct {
        const char* typed;
        const char* stored;  // null: refused
        const char* says;    // a part of the refusal
    } cases[] = {
        {"C1*C3", "C1*C3", ""},
        {" C1 * 2 ", " C1 * 2 ", ""},  // the stored form is kept as typed
        {"PRECIO*1.16", "C3*1.16", ""},
        {"cantidad * precio", "C1*C3", ""},
        {"DESCRIPCIÓN+C1", "C2+C1", ""},
        {"", "", ""},
        {"PRECIO UNITARIO*1.16", nullptr, "«PRECIO UNITARIO», que no es una columna"},
        {"C1*DESCUENTO", nullptr, "«DESCUENTO»"},
        {"C5*2", nullptr, "«C5»"},
        {"100*2", nullptr, "no nombra ninguna columna"},
    };
    for (const auto& c : cases) {
        std::string formula = "unchanged", message;
        const bool accepted = CheckColumnFormula(c.typed, titles, "Detalle", formula, message);
        EXPECT_EQ(accepted, c.stored != nullptr) << c.typed << ": " << message;
        if (c.stored) {
            EXPECT_EQ(formula, c.stored) << c.typed;
        } else {
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
            // The refusal shows the form that works and the table's columns.
            EXPECT_NE(message.find("C1*C3"), std::string::npos) << message;
            EXPECT_NE(message.find("C3 Precio"), std::string::npos) << message;
        }
    }
}
