#pragma once
// The calculation text of a table column: at most two operands (column references "C<n>"
// and constants) and one operator, as in C1*C2, C3*0.16 or 100-C2.
#include <string>

#include "calc/calc_record.h"

// The record of a column: calculated or not, with the sources and constants of its
// formula. Read left to right: blanks are skipped; the first of "*", "+", "-", "/" is the
// operator; "C" followed by digits and points is a column reference; digits and points
// are a constant; anything else (lower-case letters too) is skipped, so "c1*c2" names no
// column and is never computed.
CCalcRecord ParseColumnFormula(const std::string& formula, bool calculated);
