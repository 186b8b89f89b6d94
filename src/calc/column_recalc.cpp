#include "calc/column_recalc.h"

namespace {

class Recalculation {
public:
    Recalculation(std::vector<CCalcRecord>& records, CalcRow& row)
        : m_records(records), m_row(row), m_onChain(records.size(), false)
    {
    }

    bool IsColumn(int column) const { return column >= 1 && size_t(column) < m_records.size(); }

    void Compute(int column)
    {
        CCalcRecord& record = m_records[size_t(column)];
        // A source that names no column of the table keeps the operand it has.
        if (IsColumn(record.m_srcA))
            record.m_a = m_row.Value(record.m_srcA);
        if (IsColumn(record.m_srcB))
            record.m_b = m_row.Value(record.m_srcB);
        m_row.SetResult(column, FormatCalcResult(EvaluateCalc(record)));
        m_any = true;
    }

    void Ripple(int changed)
    {
        m_onChain[size_t(changed)] = true;
        for (int i = 1; size_t(i) < m_records.size(); ++i) {
            if (m_onChain[size_t(i)])
                continue;
            const CCalcRecord& record = m_records[size_t(i)];
            if (!record.m_active || !record.HasSource(changed))
                continue;
            Compute(i);
            Ripple(i);
        }
        m_onChain[size_t(changed)] = false;
    }

    bool Any() const { return m_any; }

private:
    std::vector<CCalcRecord>& m_records;
    CalcRow& m_row;
    std::vector<bool> m_onChain;
    bool m_any = false;
};

}  // namespace

bool RecalculateColumns(std::vector<CCalcRecord>& records, int edited, CalcRow& row)
{
    Recalculation recalculation(records, row);
    if (!recalculation.IsColumn(edited))
        return false;
    const CCalcRecord& own = records[size_t(edited)];
    if (own.m_active && own.HasSource(edited))
        recalculation.Compute(edited);
    recalculation.Ripple(edited);
    return recalculation.Any();
}
