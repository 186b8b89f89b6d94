#include "calc/column_formula.h"

#include <cctype>

namespace {

bool IsNumberChar(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
}

}  // namespace

CCalcRecord ParseColumnFormula(const std::string& formula, bool calculated)
{
    CCalcRecord record;
    record.m_active = calculated ? 1 : 0;
    CalcRecordBuilder builder(record);
    size_t pos = 0;
    while (pos < formula.size()) {
        const char c = formula[pos];
        if (c == ' ' || c == '\t') {
            ++pos;
        } else if (c == '*' || c == '+' || c == '-' || c == '/') {
            builder.TakeOperator(c);
            ++pos;
        } else if (c == 'C' && pos + 1 < formula.size() && IsNumberChar(formula[pos + 1])) {
            ++pos;
            const double column = ReadFormulaNumber(formula, pos);
            // A column number too large for any table is no column.
            builder.TakeSource(column >= 1 && column < 1e6 ? int(column) : 0);
        } else if (IsNumberChar(c)) {
            builder.TakeConstant(ReadFormulaNumber(formula, pos));
        } else {
            ++pos;
        }
    }
    return record;
}
