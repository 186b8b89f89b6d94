#pragma once
// Recalculation of a table row's calculated columns after one of its cells changed.
#include <string>
#include <vector>

#include "calc/calc_record.h"

// The row being recalculated, as the recalculation reads and writes it.
class CalcRow {
public:
    virtual ~CalcRow() = default;
    virtual double Value(int column) = 0;
    // Puts a result text into a column and stores the row.
    virtual void SetResult(int column, const std::string& text) = 0;
};

// `records[c]` belongs to column c (index 0 to no column). After column `edited` of the
// row changed:
// - a calculated column whose formula names itself is computed again from the new value;
// - every other calculated column that names the edited one is computed, and then the
//   columns that name it in turn, depth first.
// Operands are read from the row's own cells, so a cell is always computed from its row.
// A column already on the chain being followed is not entered again (a cycle stops), but
// a column reached by two paths is computed on each, so it ends with the new values of all
// its sources. True when any column was computed.
bool RecalculateColumns(std::vector<CCalcRecord>& records, int edited, CalcRow& row);
