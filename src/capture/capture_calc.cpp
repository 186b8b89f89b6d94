#include "capture/capture_calc.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "calc/amount_text.h"
#include "calc/amount_words.h"
#include "model/fmt_grid.h"
#include "model/textline_var.h"
#include "tables/number_text.h"

namespace {

bool IsNameStart(char c) { return c >= 'A' && c <= 'Z'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == ' '; }
bool IsOperator(char c) { return c == '$' || c == '&' || c == '*' || c == '+' || c == '-' || c == '/'; }
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Names compare without regard to case, in the ASCII letters the names are made of.
std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

int ControlIdOf(const CControles& element) { return kFirstControlId + element.m_order; }

// The names formulas can use, looked up by hash so that a format with many formulas is
// parsed in time proportional to its size: the first text line or table of each name
// (from the head of the list) and, once asked for, the first column of each title.
class NameIndex {
public:
    struct Target {
        int controlId = 0;
        const CFmtGrid* table = nullptr;
    };

    explicit NameIndex(const ElementList& elements)
    {
        for (const auto& element : elements) {
            if (element->m_kind != kKindTextlineVar && element->m_kind != kKindGrid)
                continue;
            const CFmtGrid* table =
                element->m_kind == kKindGrid ? static_cast<const CFmtGrid*>(element.get()) : nullptr;
            m_names.try_emplace(UpperAscii(element->m_text), Target{ControlIdOf(*element), table});
        }
    }

    Target Find(const std::string& name) const
    {
        const auto it = m_names.find(UpperAscii(name));
        return it == m_names.end() ? Target{} : it->second;
    }

    // The 1-based number of the first column so titled, 0 when none is.
    int Column(const CFmtGrid& table, const std::string& name)
    {
        auto [it, made] = m_columns.try_emplace(&table);
        if (made)
            for (size_t c = 0; c < table.m_columns.size(); ++c)
                it->second.try_emplace(UpperAscii(table.m_columns[c].title), int(c) + 1);
        const auto column = it->second.find(UpperAscii(name));
        return column == it->second.end() ? 0 : column->second;
    }

private:
    std::unordered_map<std::string, Target> m_names;
    std::unordered_map<const CFmtGrid*, std::unordered_map<std::string, int>> m_columns;
};

// Resolves the names of one formula: text lines and tables, then, once a table was
// named, that table's columns.
class NameResolver {
public:
    explicit NameResolver(NameIndex& index) : m_index(index) {}

    int Resolve(const std::string& name)
    {
        if (m_table)
            return m_index.Column(*m_table, name);
        const NameIndex::Target target = m_index.Find(name);
        if (target.table) {
            m_table = target.table;
            m_tableId = target.controlId;
        }
        return target.controlId;
    }

    // The control id of the table the formula named, 0 when it named none.
    int TableId() const { return m_tableId; }

private:
    NameIndex& m_index;
    const CFmtGrid* m_table = nullptr;
    int m_tableId = 0;
};

CCalcRecord ParseFormula(const std::string& formula, int resultId, NameIndex& names, bool* readsTable)
{
    CCalcRecord record;
    record.m_active = 1;
    record.m_resultId = resultId;
    CalcRecordBuilder builder(record);
    NameResolver resolver(names);
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

}  // namespace

std::string EvaluateCalcText(const CCalcRecord& record)
{
    if (record.m_op == '$')
        return CAmountWords().AmountInWords(record.m_a);
    return FormatCalcResult(EvaluateCalc(record));
}

CCalcRecord ParseCaptureFormula(const std::string& formula, int resultId, const ElementList& elements,
                                bool* readsTable)
{
    NameIndex names(elements);
    return ParseFormula(formula, resultId, names, readsTable);
}

void CaptureCalc::Reset()
{
    m_records.clear();
    m_readsTable.clear();
    m_unknown.clear();
    m_readers.clear();
    m_own.clear();
    m_names.clear();
    m_seen.clear();
    m_undetermined.clear();
    m_tooLarge.clear();
}

void CaptureCalc::Build(const ElementList& elements)
{
    Reset();
    NameIndex names(elements);
    for (const auto& element : elements) {
        if (element->m_kind != kKindTextlineVar)
            continue;
        const auto& line = static_cast<const CTextlineVar&>(*element);
        m_names.try_emplace(ControlIdOf(line), line.m_text);
        bool readsTable = false;
        if (line.m_formula.empty())
            m_records.emplace_back();
        else
            m_records.push_back(ParseFormula(line.m_formula, ControlIdOf(line), names, &readsTable));
        m_readsTable.push_back(readsTable);
    }
    m_unknown.assign(m_records.size(), UnknownOperands{});
    for (size_t i = 0; i < m_records.size(); ++i) {
        const CCalcRecord& record = m_records[i];
        if (!record.m_active)
            continue;
        m_own.try_emplace(record.m_resultId, i);
        // A column total reads its table, never a field: its second source is a column.
        if (ReadsTable(i))
            continue;
        if (record.m_srcA != 0)
            m_readers[record.m_srcA].push_back(i);
        if (record.m_srcB != 0 && record.m_srcB != record.m_srcA)
            m_readers[record.m_srcB].push_back(i);
    }
}

std::optional<double> CaptureCalc::FieldValue(int controlId, const CalcFields& fields) const
{
    if (m_undetermined.count(controlId))
        return std::nullopt;
    const std::string text = fields.FieldText(controlId);
    if (IsBlankAmount(text))
        return 0.0;
    double value = 0;
    if (!ReadAmount(text, value))
        return std::nullopt;
    return value;
}

void CaptureCalc::StoreOperand(size_t i, int source, std::optional<double> value)
{
    CCalcRecord& record = m_records[i];
    record.StoreSourceValue(source, value.value_or(0.0));
    if (record.m_srcA == source)
        m_unknown[i].a = !value;
    if (record.m_srcB == source)
        m_unknown[i].b = !value;
}

std::optional<std::string> CaptureCalc::Result(size_t i)
{
    const CCalcRecord& record = m_records[i];
    const int field = record.m_resultId;
    m_tooLarge.erase(field);
    if ((record.m_srcA != 0 && m_unknown[i].a) || (record.m_srcB != 0 && m_unknown[i].b)) {
        m_undetermined.insert(field);
        return std::nullopt;
    }
    if (record.m_op == '$' && !CAmountWords::InRange(record.m_a)) {
        m_undetermined.insert(field);
        m_tooLarge[field] = record.m_a;
        return std::nullopt;
    }
    m_undetermined.erase(field);
    return EvaluateCalcText(record);
}

void CaptureCalc::WriteField(int controlId, const std::string& text, CalcFields& fields)
{
    fields.SetFieldText(controlId, text);
    m_seen[controlId] = text;
}

void CaptureCalc::FieldLeft(int controlId, CalcFields& fields)
{
    const std::string text = fields.FieldText(controlId);
    const auto seen = m_seen.find(controlId);
    if (seen == m_seen.end() ? text.empty() : seen->second == text)
        return;
    m_seen[controlId] = text;
    // What the clerk typed is the field's value now, whatever a calculation left there.
    m_undetermined.erase(controlId);
    m_tooLarge.erase(controlId);
    const auto own = m_own.find(controlId);
    if (own != m_own.end() && !ReadsTable(own->second) && m_records[own->second].HasSource(controlId)) {
        StoreOperand(own->second, controlId, FieldValue(controlId, fields));
        // A result that cannot be computed leaves the typed text in place; the fields
        // that read this one then wait for it too.
        if (const std::optional<std::string> result = Result(own->second))
            WriteField(controlId, *result, fields);
    }
    Ripple(controlId, fields);
}

void CaptureCalc::GridChanged(int tableId, CalcFields& fields)
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        const CCalcRecord& record = m_records[i];
        if (!record.m_active || !ReadsTable(i) || record.m_srcA != tableId)
            continue;
        m_undetermined.erase(record.m_resultId);
        WriteField(record.m_resultId, FormatCalcResult(fields.ColumnTotal(tableId, record.m_srcB)), fields);
        Ripple(record.m_resultId, fields);
    }
}

// The ripple from a changed field, depth first. Following it literally (compute a
// reader, then leave it at once) would compute a field once per path that reaches it,
// which doubles with every formula that branches and joins again. The same results come
// from walking the readers depth first once, to learn which fields are reached without
// re-entering a field on the chain (a cycle stops there), and then computing each
// reached field once, after every field it reads on the way: then it has the new values
// of all its sources, as the literal ripple leaves it after its last visit.
void CaptureCalc::Ripple(int start, CalcFields& fields)
{
    // Most fields feed no formula: nothing to follow.
    if (m_readers.find(start) == m_readers.end())
        return;
    enum Mark : char { OnChain = 1, Done = 2 };
    std::unordered_map<int, char> marks;
    std::unordered_map<int, std::vector<size_t>> enteredBy;  // field -> records that compute it
    std::vector<int> finished;                               // fields, each after all it leads to
    struct Frame {
        int field;
        size_t next;
    };
    std::vector<Frame> stack{{start, 0}};
    marks[start] = OnChain;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const auto readers = m_readers.find(frame.field);
        if (readers == m_readers.end() || frame.next >= readers->second.size()) {
            marks[frame.field] = Done;
            finished.push_back(frame.field);
            stack.pop_back();
            continue;
        }
        const size_t i = readers->second[frame.next++];
        const int result = m_records[i].m_resultId;
        if (result == frame.field)
            continue;
        char& mark = marks[result];
        if (mark == OnChain)
            continue;
        enteredBy[result].push_back(i);
        if (mark == 0) {
            mark = OnChain;
            stack.push_back({result, 0});
        }
    }

    for (auto field = finished.rbegin(); field != finished.rend(); ++field) {
        if (*field != start) {
            auto& records = enteredBy[*field];
            std::sort(records.begin(), records.end());
            records.erase(std::unique(records.begin(), records.end()), records.end());
            for (const size_t i : records)
                WriteField(*field, Result(i).value_or(std::string()), fields);
        }
        const auto readers = m_readers.find(*field);
        if (readers == m_readers.end())
            continue;
        // Every reader takes the new value, also one the ripple does not enter (it lies
        // on a cycle through this field).
        const std::optional<double> x = FieldValue(*field, fields);
        for (const size_t i : readers->second)
            if (m_records[i].m_resultId != *field)
                StoreOperand(i, *field, x);
    }
}

void CaptureCalc::ReadOperands(const CalcFields& fields)
{
    // The values shown now were cleared or loaded, not computed: none is waiting for a
    // source, and each counts as seen.
    m_undetermined.clear();
    m_tooLarge.clear();
    m_seen.clear();
    for (size_t i = 0; i < m_records.size(); ++i) {
        const CCalcRecord& record = m_records[i];
        if (!record.m_active || ReadsTable(i))
            continue;
        for (const int source : {record.m_srcA, record.m_srcB}) {
            if (source == 0)
                continue;
            StoreOperand(i, source, FieldValue(source, fields));
            m_seen[source] = fields.FieldText(source);
        }
    }
}

std::vector<CalcProblem> CaptureCalc::Problems(const CalcFields& fields) const
{
    std::vector<CalcProblem> problems;
    // A field left empty by a calculation that could not run reads as blank here; a
    // field computed from itself keeps the clerk's text, which is named when it is no
    // amount.
    for (const auto& [id, readers] : m_readers) {
        const std::string text = fields.FieldText(id);
        double value = 0;
        if (IsBlankAmount(text) || ReadAmount(text, value))
            continue;
        const auto name = m_names.find(id);
        problems.push_back({id, NotAnAmountMessage(text, name == m_names.end() ? std::string() : name->second)});
    }
    for (const auto& [id, amount] : m_tooLarge) {
        const auto name = m_names.find(id);
        std::string message = kTooLargeMessage;
        message.replace(message.find("%s"), 2, FormatPesos(FormatCalcResult(amount)));
        message.replace(message.find("%s"), 2, name == m_names.end() ? std::string() : name->second);
        problems.push_back({id, message});
    }
    std::sort(problems.begin(), problems.end(),
              [](const CalcProblem& a, const CalcProblem& b) { return a.controlId < b.controlId; });
    return problems;
}
