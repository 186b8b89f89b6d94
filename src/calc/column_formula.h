#pragma once
// The calculation text of a table column: at most two operands (column references "C<n>"
// and constants) and one operator, as in C1*C2, C3*0.16 or 100-C2.
#include <string>
#include <vector>

#include "calc/calc_record.h"

// The record of a column: calculated or not, with the sources and constants of its
// formula. Read left to right: blanks are skipped; the first of "*", "+", "-", "/" is the
// operator; "C" followed by digits and points is a column reference; digits and points
// are a constant; anything else (lower-case letters too) is skipped, so "c1*c2" names no
// column and is never computed.
CCalcRecord ParseColumnFormula(const std::string& formula, bool calculated);

// A column formula as the clerk types it, checked against the table's column titles.
// Columns may be written as the formula stores them (C1, C2 ...) or by their titles,
// without regard to case ("PRECIO*1.16" for a third column titled Precio); `formula`
// receives the stored form ("C3*1.16"), or the typed text itself when it names columns
// as C<n> only. False with a Spanish message, which shows the form that works and the
// table's columns, when the formula names a title the table does not have, a column
// number beyond its columns, or no column at all (it would never compute). An empty
// formula is kept: the column is then typed into.
bool CheckColumnFormula(const std::string& typed, const std::vector<std::string>& titles,
                        const std::string& tableName, std::string& formula, std::string& message);
