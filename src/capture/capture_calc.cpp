#include "capture/capture_calc.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "calc/amount_words.h"
#include "model/fmt_grid.h"
#include "model/textline_var.h"

namespace {

bool IsNameStart(char c) { return c >= 'A' && c <= 'Z'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == ' '; }
bool IsOperator(char c) { return c == '$' || c == '&' || c == '*' || c == '+' || c == '-' || c == '/'; }
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Names compare without regard to case, in the ASCII letters the names are made of.
bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

int ControlIdOf(const CControles& element) { return kFirstControlId + element.m_order; }

// Resolves the names of one formula: text lines and tables, then, once a table was
// named, that table's columns.
class NameResolver {
public:
    explicit NameResolver(const ElementList& elements) : m_elements(elements) {}

    int Resolve(const std::string& name)
    {
        if (m_table) {
            for (size_t c = 0; c < m_table->m_columns.size(); ++c)
                if (SameName(m_table->m_columns[c].title, name))
                    return int(c) + 1;
            return 0;
        }
        for (const auto& element : m_elements) {
            if (element->m_kind != kKindTextlineVar && element->m_kind != kKindGrid)
                continue;
            if (!SameName(element->m_text, name))
                continue;
            if (element->m_kind == kKindGrid) {
                m_table = static_cast<const CFmtGrid*>(element.get());
                m_tableId = ControlIdOf(*element);
            }
            return ControlIdOf(*element);
        }
        return 0;
    }

    // The control id of the table the formula named, 0 when it named none.
    int TableId() const { return m_table ? m_tableId : 0; }

private:
    const ElementList& m_elements;
    const CFmtGrid* m_table = nullptr;
    int m_tableId = 0;
};

}  // namespace

double FieldNumber(const std::string& text)
{
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Digits, one point and an exponent, as a C number starts; no "inf", "nan" or hex.
    if (pos >= text.size() || !(IsNumberChar(text[pos])))
        return 0;
    double value = 0;
    const auto result = std::from_chars(text.data() + pos, text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range || result.ec != std::errc() || !std::isfinite(value))
        return 0;
    return negative ? -value : value;
}

std::string EvaluateCalcText(const CCalcRecord& record)
{
    if (record.m_op == '$')
        return CAmountWords().AmountInWords(record.m_a);
    return FormatCalcResult(EvaluateCalc(record));
}

CCalcRecord ParseCaptureFormula(const std::string& formula, int resultId, const ElementList& elements,
                                bool* readsTable)
{
    CCalcRecord record;
    record.m_active = 1;
    record.m_resultId = resultId;
    CalcRecordBuilder builder(record);
    NameResolver resolver(elements);
    size_t pos = 0;
    while (pos < formula.size()) {
        const char c = formula[pos];
        if (c == ' ') {
            ++pos;
        } else if (IsNameStart(c)) {
            const size_t start = pos;
            while (pos < formula.size() && IsNameChar(formula[pos]))
                ++pos;
            builder.TakeSource(resolver.Resolve(formula.substr(start, pos - start)));
        } else if (IsOperator(c)) {
            builder.TakeOperator(c);
            ++pos;
        } else if (IsNumberChar(c)) {
            builder.TakeConstant(ReadFormulaNumber(formula, pos));
        } else {
            // A character that begins no token (a lower-case letter, an accent) is skipped.
            ++pos;
        }
    }
    if (readsTable)
        *readsTable = resolver.TableId() != 0 && record.m_srcA == resolver.TableId();
    return record;
}

void CaptureCalc::Build(const ElementList& elements)
{
    Reset();
    for (const auto& element : elements) {
        if (element->m_kind != kKindTextlineVar)
            continue;
        const auto& line = static_cast<const CTextlineVar&>(*element);
        bool readsTable = false;
        if (line.m_formula.empty())
            m_records.emplace_back();
        else
            m_records.push_back(ParseCaptureFormula(line.m_formula, ControlIdOf(line), elements, &readsTable));
        m_readsTable.push_back(readsTable);
    }
}

void CaptureCalc::FieldLeft(int controlId, CalcFields& fields)
{
    std::vector<int> chain;
    Leave(controlId, fields, chain, true);
}

void CaptureCalc::Leave(int controlId, CalcFields& fields, std::vector<int>& chain, bool typed)
{
    chain.push_back(controlId);
    double x = FieldNumber(fields.FieldText(controlId));
    if (typed) {
        const auto own = std::find_if(m_records.begin(), m_records.end(), [&](const CCalcRecord& r) {
            return r.m_active && r.m_resultId == controlId;
        });
        if (own != m_records.end() && !ReadsTable(size_t(own - m_records.begin())) && own->HasSource(controlId)) {
            own->StoreSourceValue(controlId, x);
            const std::string text = EvaluateCalcText(*own);
            fields.SetFieldText(controlId, text);
            x = FieldNumber(text);
        }
    }
    for (size_t i = 0; i < m_records.size(); ++i) {
        CCalcRecord& record = m_records[i];
        // A column total reads its table, never a field: its second source is a column.
        if (!record.m_active || ReadsTable(i) || record.m_resultId == controlId || !record.HasSource(controlId))
            continue;
        record.StoreSourceValue(controlId, x);
        // A field on the chain being followed is not entered again: the cycle stops here.
        if (std::find(chain.begin(), chain.end(), record.m_resultId) != chain.end())
            continue;
        fields.SetFieldText(record.m_resultId, EvaluateCalcText(record));
        Leave(record.m_resultId, fields, chain, false);
    }
    chain.pop_back();
}

void CaptureCalc::GridChanged(int tableId, CalcFields& fields)
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        const CCalcRecord& record = m_records[i];
        if (!record.m_active || !ReadsTable(i) || record.m_srcA != tableId)
            continue;
        fields.SetFieldText(record.m_resultId, FormatCalcResult(fields.ColumnTotal(tableId, record.m_srcB)));
        std::vector<int> chain;
        Leave(record.m_resultId, fields, chain, false);
    }
}

void CaptureCalc::ReadOperands(const CalcFields& fields)
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        CCalcRecord& record = m_records[i];
        if (!record.m_active || ReadsTable(i))
            continue;
        if (record.m_srcA != 0)
            record.m_a = FieldNumber(fields.FieldText(record.m_srcA));
        if (record.m_srcB != 0)
            record.m_b = FieldNumber(fields.FieldText(record.m_srcB));
    }
}
