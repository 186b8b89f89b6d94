#pragma once
// The calculated fields of the capture screen: one calculation record per text line
// (kind 0), in element-list order, parsed from the lines' formulas, and the
// recalculation that follows a field being left or a table's calculated columns changing.
//
// A formula holds at most two operands and one operator, read from the left:
// - a name starts with a capital A to Z and runs over capitals, digits and spaces (so a
//   space before an operator belongs to the name and "SUBTOTAL + IMPUESTO" names no
//   field unless one is called "SUBTOTAL ");
// - an operator is one of "$", "&", "*", "+", "-", "/" (the first one counts);
// - a number is the longest run of digits and points;
// - any other character begins no token and is skipped.
// A name is a text line or a table (its m_text, without regard to case) and gives its
// control id; after a table's name, names are that table's columns and give the column
// number ("DETALLE&IMPORTE" is the total of column Importe of table Detalle). A name
// that matches nothing, and the number 0, are ignored operands.
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "calc/calc_record.h"
#include "model/format_file.h"

// The controls the recalculation reads and writes, by control id.
class CalcFields {
public:
    virtual ~CalcFields() = default;
    virtual std::string FieldText(int controlId) const = 0;
    virtual void SetFieldText(int controlId, const std::string& utf8) = 0;
    // The sum of a column (1-based) of the table with this control id; 0 when the id is
    // no table or the column is out of range.
    virtual double ColumnTotal(int tableId, int column) const = 0;
};

// A record's result as a field shows it: "%.2f" of a + b, a - b, a × b, a / b (0 when b
// is 0), the amount a in words for "$", and 0.00 for any other operator.
std::string EvaluateCalcText(const CCalcRecord& record);

// The record of one formula. `resultId` is the control id of the field that shows the
// result; names are resolved in `elements` from the head of the list. `readsTable`
// (optional) tells whether the first operand named a table (a column total).
CCalcRecord ParseCaptureFormula(const std::string& formula, int resultId, const ElementList& elements,
                                bool* readsTable = nullptr);

// A field whose value a calculation cannot use, and why (Spanish, for the clerk).
struct CalcProblem {
    int controlId = 0;
    std::string message;
};

class CaptureCalc {
public:
    // Written in a problem when an amount in words would not fit the words.
    static constexpr const char* kTooLargeMessage =
        "La cantidad %s es demasiado grande para escribirla con letra en «%s» (la mayor es $ 999,999,999,999.99).";

    // One record per text line of the list, in list order; lines with a formula are
    // active with their control id (1173 + capture order) as the result.
    void Build(const ElementList& elements);
    void Reset();

    // The field `controlId` was left. Nothing happens unless its text changed since the
    // calculation last saw it (typed, computed, cleared or loaded): leaving a field
    // again, or losing the focus to a menu, a dialog or a printout, changes no value.
    // Otherwise:
    // 1. its value x is its text read as an amount (a blank text is 0);
    // 2. a calculated field that names itself (PRECIO*1.15 on Precio) is computed from
    //    the typed value, and x becomes the result;
    // 3. every other record that reads the field stores x, is computed into its field,
    //    and that field is left in turn (depth first).
    // A field already on the chain being followed is not entered again, so a cycle of
    // formulas stops; a field reached by several paths (TOTAL from SUBTOTAL directly and
    // through IMPUESTO) ends with the new values of all its sources. Each reached field
    // is computed once, after the fields it reads, so the time grows with the number of
    // formulas, never with the number of paths. Step 2 applies only to the field the
    // user left: a field reached by the ripple is not fed its own result again.
    // A text that is no amount is never read as 0: every field computed from it (and
    // from those, down the chain) is left empty until the text is mended, and Problems
    // names it. An amount in words too large for the words also leaves its field empty.
    void FieldLeft(int controlId, CalcFields& fields);
    // The table `tableId` changed its calculated columns: every record whose first
    // source is that table gets the column total in its field ("%.2f"), which is then
    // left as above.
    void GridChanged(int tableId, CalcFields& fields);
    // Every operand read from a field takes that field's current value, so that a later
    // recalculation never mixes old operands with new values (after clearing or loading).
    void ReadOperands(const CalcFields& fields);

    // The fields a calculation reads whose text is no amount, and the amounts in words
    // too large to write, in control-id order. Empty when every calculation could run.
    std::vector<CalcProblem> Problems(const CalcFields& fields) const;

    const std::vector<CCalcRecord>& Records() const { return m_records; }
    bool ReadsTable(size_t index) const { return index < m_readsTable.size() && m_readsTable[index]; }

private:
    struct UnknownOperands {
        bool a = false;
        bool b = false;
    };

    void Ripple(int start, CalcFields& fields);
    // A field's value as calculations read it; none when its text is no amount or it was
    // left empty by a calculation that could not run.
    std::optional<double> FieldValue(int controlId, const CalcFields& fields) const;
    // Stores a source's value, or that it has none, into the record's operands.
    void StoreOperand(size_t record, int source, std::optional<double> value);
    // The record's result text; none when an operand is unknown or the words would not
    // fit (then the result field is marked accordingly).
    std::optional<std::string> Result(size_t record);
    void WriteField(int controlId, const std::string& text, CalcFields& fields);

    std::vector<CCalcRecord> m_records;
    std::vector<bool> m_readsTable;  // per record: the first operand is a table's column
    std::vector<UnknownOperands> m_unknown;  // per record: operands whose source is no amount
    // The records that read a field (as either source), in table order, by control id.
    std::unordered_map<int, std::vector<size_t>> m_readers;
    // The first calculated record whose result is the field, by control id.
    std::unordered_map<int, size_t> m_own;
    // The names of the text lines, by control id, for the messages.
    std::unordered_map<int, std::string> m_names;
    // Each field's text when the calculation last saw it; a field not listed was empty.
    std::unordered_map<int, std::string> m_seen;
    // Result fields whose calculation could not run (an operand is no amount).
    std::unordered_set<int> m_undetermined;
    // Words fields whose amount is too large for the words, with that amount.
    std::unordered_map<int, double> m_tooLarge;
};
