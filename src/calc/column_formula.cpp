#include "calc/column_formula.h"

#include "base/upper_case.h"

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

namespace {

std::string TrimBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsOperatorChar(char c) { return c == '*' || c == '+' || c == '-' || c == '/'; }

// "C3" and the like: an upper-case C followed by digits and points only.
bool IsColumnReference(const std::string& word)
{
    if (word.size() < 2 || word[0] != 'C')
        return false;
    for (size_t i = 1; i < word.size(); ++i)
        if (!IsNumberChar(word[i]))
            return false;
    return true;
}

std::string ColumnList(const std::vector<std::string>& titles)
{
    std::string list;
    for (size_t i = 0; i < titles.size(); ++i)
        list += (i ? ", " : "") + ("C" + std::to_string(i + 1)) + " " + titles[i];
    return list;
}

}  // namespace

bool CheckColumnFormula(const std::string& typed, const std::vector<std::string>& titles,
                        const std::string& tableName, std::string& formula, std::string& message)
{
    const std::string howTo = " Escriba las columnas como C1, C2... (por ejemplo C1*C3) o por su título; las columnas "
                              "de la tabla «" + tableName + "» son: " + ColumnList(titles) + ".";
    std::string stored;
    bool namedByTitle = false;
    int columnsNamed = 0;
    size_t pos = 0;
    while (pos < typed.size()) {
        const char c = typed[pos];
        if (c == ' ' || c == '\t') {
            ++pos;
            continue;
        }
        if (IsOperatorChar(c)) {
            stored += c;
            ++pos;
            continue;
        }
        if (IsNumberChar(c)) {
            const size_t start = pos;
            while (pos < typed.size() && IsNumberChar(typed[pos]))
                ++pos;
            stored += typed.substr(start, pos - start);
            continue;
        }
        // A word: anything up to the next operator, read as a title or as C<n>.
        const size_t start = pos;
        while (pos < typed.size() && !IsOperatorChar(typed[pos]))
            ++pos;
        const std::string word = TrimBlanks(typed.substr(start, pos - start));
        const std::string folded = UpperCaseLatin1(word);
        int column = 0;
        if (IsColumnReference(folded)) {
            size_t at = 1;
            const double number = ReadFormulaNumber(folded, at);
            if (number >= 1 && number <= double(titles.size()))
                column = int(number);
        } else {
            for (size_t i = 0; i < titles.size() && column == 0; ++i)
                if (UpperCaseLatin1(TrimBlanks(titles[i])) == folded)
                    column = int(i) + 1;
            namedByTitle = namedByTitle || column != 0;
        }
        if (column == 0) {
            message = "La fórmula «" + typed + "» nombra «" + word + "», que no es una columna de la tabla «" +
                      tableName + "»." + howTo;
            return false;
        }
        stored += "C" + std::to_string(column);
        ++columnsNamed;
    }
    if (columnsNamed == 0 && !TrimBlanks(typed).empty()) {
        message = "La fórmula «" + typed + "» no nombra ninguna columna de la tabla «" + tableName +
                  "», así que nunca se calcularía." + howTo;
        return false;
    }
    formula = namedByTitle ? stored : typed;
    return true;
}
