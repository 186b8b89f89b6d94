#include "calc/calc_record.h"

#include <cctype>
#include <charconv>
#include <cmath>

void CCalcRecord::StoreSourceValue(int source, double value)
{
    if (source == 0)
        return;
    if (m_srcA == source)
        m_a = value;
    if (m_srcB == source)
        m_b = value;
}

double EvaluateCalc(const CCalcRecord& record)
{
    switch (record.m_op) {
    case '+': return record.m_a + record.m_b;
    case '-': return record.m_a - record.m_b;
    case '*': return record.m_a * record.m_b;
    case '/': return record.m_b == 0 ? 0.0 : record.m_a / record.m_b;
    default: return 0.0;
    }
}

std::string FormatCalcResult(double value)
{
    if (!std::isfinite(value))
        value = 0;
    // Rounded values that print as zero must not keep a minus sign ("-0.00").
    if (std::fabs(value) < 0.005)
        value = 0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc())
        return "0.00";
    return std::string(buffer, result.ptr);
}

void CalcRecordBuilder::TakeOperator(char op)
{
    if (m_record.m_op == 0)
        m_record.m_op = op;
}

void CalcRecordBuilder::TakeSource(int source)
{
    if (source == 0)
        return;
    if (!m_slotATaken) {
        m_record.m_srcA = source;
        m_slotATaken = true;
    } else {
        m_record.m_srcB = source;
    }
}

void CalcRecordBuilder::TakeConstant(double value)
{
    if (value == 0)
        return;
    if (!m_slotATaken) {
        m_record.m_a = value;
        m_slotATaken = true;
    } else {
        m_record.m_b = value;
    }
}

double ReadFormulaNumber(const std::string& text, size_t& pos)
{
    const size_t start = pos;
    while (pos < text.size() && (std::isdigit(static_cast<unsigned char>(text[pos])) || text[pos] == '.'))
        ++pos;
    // Conversion stops where the number cannot go on: at a second point.
    const std::string run = text.substr(start, pos - start);
    const size_t secondPoint = run.find('.', run.find('.') == std::string::npos ? run.size() : run.find('.') + 1);
    const std::string number = "0" + run.substr(0, secondPoint);
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}
