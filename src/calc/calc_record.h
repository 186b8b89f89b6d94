#pragma once
// A calculation record: the two operands, the operator and the sources of one calculated
// value. The capture screen keeps one per text line (sources are control ids); the table
// element keeps one per column (sources are column numbers).
#include <string>

struct CCalcRecord {
    double m_a = 0;     // first operand: a constant of the formula or the last value of source A
    double m_b = 0;     // second operand
    char m_op = 0;      // '+', '-', '*', '/', or 0 when the formula names none
    int m_srcA = 0;     // source of the first operand, 0 for none
    int m_srcB = 0;     // source of the second operand, 0 for none
    int m_active = 0;   // 1 when the value is calculated
    int m_resultId = 0; // where the result goes (the capture screen's control id)

    bool HasSource(int source) const { return source != 0 && (m_srcA == source || m_srcB == source); }
    // Stores a source's value into the operand (or both operands) that read it.
    void StoreSourceValue(int source, double value);
};

// The result of a record: a + b, a - b, a × b, a / b (0 when b is 0); 0 for any other
// operator.
double EvaluateCalc(const CCalcRecord& record);

// A result as calculated fields show it: two decimals, a point, no grouping, a minus sign
// when negative; the same whatever the user's locale.
std::string FormatCalcResult(double value);

// Fills a record from the tokens of a formula in the order they come: the first operator
// counts, and operands take slot A first and slot B after it.
class CalcRecordBuilder {
public:
    explicit CalcRecordBuilder(CCalcRecord& record) : m_record(record) {}
    void TakeOperator(char op);
    // A source reference; 0 (nothing resolved) is ignored.
    void TakeSource(int source);
    // A constant; 0 is ignored, as a constant that adds nothing to the formula.
    void TakeConstant(double value);
    bool SlotATaken() const { return m_slotATaken; }

private:
    CCalcRecord& m_record;
    bool m_slotATaken = false;
};

// The longest run of digits and points at `pos`, read as a decimal number: the leading
// digits and at most the first point count. `pos` moves past the whole run. 0 when the
// run holds no digit.
double ReadFormulaNumber(const std::string& text, size_t& pos);
