#include "model/grid_capture.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "calc/amount_text.h"
#include "base/cp1252.h"
#include "calc/column_formula.h"
#include "calc/column_recalc.h"
#include "model/fmt_grid.h"
#include "tables/kv_field.h"
#include "tables/tabla.h"
#include "base/prompts.h"
#include "base/text_layout.h"
#include "base/user_locale.h"

namespace {

// The smallest stored cell: an empty string.
constexpr size_t kMinCellBytes = 1;

// The field type and width of a column's type.
CKVField ColumnField(const std::string& name, int32_t type)
{
    switch (type) {
    case kGridNumber:
    case kGridNumberCalc: return CKVField(name, 8, kvDouble);
    case kGridCurrency:
    case kGridCurrencyCalc: return CKVField(name, 8, kvCurrency);
    default: return CKVField(name, 255, kvText);
    }
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A number the table reads whole: a sign, digits and at most one point, nothing else.
bool IsPlainNumber(const std::string& text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits > 0;
}

std::string Quote(const std::string& text)
{
    return "«" + text + "»";
}

// A field name as the table keeps it (cut to what the file can hold).
std::string StoredName(const std::string& name)
{
    return CKVField(name, 1, kvText).Name();
}

// The row in the table's buffer as the recalculation reads and changes it: column n is
// field n. The commit that set the typed cell writes the row once, results included.
class TableRow : public CalcRow {
public:
    explicit TableRow(CTabla& table) : m_table(table) {}
    double Value(int column) override { return m_table.GetDouble(column); }
    void SetResult(int column, const std::string& text) override { m_table.SetText(column, text); }

private:
    CTabla& m_table;
};

}  // namespace

CGridCapture::CGridCapture(Prompts& prompts, const Locale& locale)
    : CTablaEditor(prompts, locale), m_prompts(prompts), m_locale(locale)
{
}

CGridCapture::~CGridCapture()
{
    Detach();
    if (m_table)
        m_table->Close();
}

std::vector<std::string> CGridCapture::FieldNames(const std::vector<GridColumn>& columns)
{
    // Field names must be unique, since the window finds a column's field by its name:
    // a repeated (or cut-to-equal) title gets "~2", "~3" ... in place of its last
    // characters. The marker's name is taken from the start.
    std::vector<std::string> names{kMarkerField};
    for (const GridColumn& column : columns) {
        std::string name = StoredName(column.title);
        for (int n = 2; std::find(names.begin(), names.end(), name) != names.end(); ++n) {
            const std::string suffix = "~" + std::to_string(n);
            std::vector<std::string> chars = SplitCharacters(column.title);
            do {
                std::string base;
                for (const std::string& c : chars)
                    base += c;
                name = StoredName(base + suffix);
                if (!chars.empty())
                    chars.pop_back();
            } while (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0);
        }
        names.push_back(name);
    }
    names.erase(names.begin());
    return names;
}

bool CGridCapture::Start(const std::vector<GridColumn>& columns, int rowCount, const std::string& directory)
{
    m_gridRows = std::max(0, rowCount);
    ParseFormulas(columns);
    SetNoAppend(true);
    SetHideEmpty(true);

    std::vector<CKVField> fields{CKVField(kMarkerField, 1, kvText)};
    const std::vector<std::string> names = FieldNames(columns);
    for (size_t i = 0; i < columns.size(); ++i)
        fields.push_back(ColumnField(names[i], columns[i].type));

    std::string folder = directory;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    // Without a folder there is no table: it is never made in the current folder.
    const std::string file =
        folder.empty() ? std::string() : CTabla::MakeUniqueFileName(folder, ".dat", CTabla::kGeneratedPrefix);
    auto table = std::make_unique<CTabla>(m_prompts, m_locale);
    // The generated name's extension is left to the table, which adds its own.
    if (file.empty() || !table->Create(folder + file.substr(0, file.size() - 4), fields, true)) {
        LayoutWindowColumns(columns);
        Reset();
        return false;
    }
    m_table = std::move(table);
    Attach(m_table.get());
    const bool filled = AddMarkerRows();
    LayoutWindowColumns(columns);
    Reset();
    return filled;
}

bool CGridCapture::AddMarkerRows()
{
    if (m_gridRows == 0)
        return true;
    if (m_table->GoToRecord(m_table->SlotCount()) != 1)
        return false;
    m_table->ClearRecord();
    m_table->SetText(0, kMarkerField);
    return m_table->AppendRepeated(m_gridRows);
}

void CGridCapture::LayoutWindowColumns(const std::vector<GridColumn>& columns)
{
    if (!IsAttached())
        return;
    BuildColumns();
    // Column 1 shows the marker field, which the user never sees.
    RemoveColumn(1);
    SetColumnWidth(0, kRowHeaderWidthPx);
    for (size_t i = 0; i < columns.size() && int(i) + 1 < ColumnCount(); ++i) {
        const int col = int(i) + 1;
        SetColumnWidth(col, columns[i].screenWidth);
        SetColumnTitle(col, columns[i].title);
        if (IsCurrencyType(columns[i].type))
            SetColumnAlign(col, TablaColumn::kAlignRight);
        if (!TypingRefusal(col).empty())
            SetColumnFlags(col, Column(col).flags | TablaColumn::kReadOnly);
    }
}

void CGridCapture::ParseFormulas(const std::vector<GridColumn>& columns)
{
    m_calc.assign(columns.size() + 1, CCalcRecord{});
    m_formulas.assign(columns.size() + 1, std::string());
    std::vector<std::string> titles;
    for (const GridColumn& column : columns)
        titles.push_back(column.title);
    for (size_t i = 0; i < columns.size(); ++i) {
        // A formula saved with column titles (PRECIO*1.16) computes as its C<n> form.
        std::string formula = columns[i].formula, message;
        if (!CheckColumnFormula(columns[i].formula, titles, std::string(), formula, message))
            formula = columns[i].formula;
        m_calc[i + 1] = ParseColumnFormula(formula, IsCalculatedType(columns[i].type));
        m_formulas[i + 1] = columns[i].formula;
    }
}

bool CGridCapture::Clear()
{
    if (!m_table || !m_table->IsOpen())
        return false;
    const bool ok = m_table->EmptyTable() && AddMarkerRows();
    Reset();
    return ok;
}

double CGridCapture::ColumnTotal(int n) const
{
    if (!m_table || !m_table->IsOpen() || n < 1 || n >= int(m_calc.size()))
        return 0;
    const int before = m_table->CurrentRecord();
    double total = 0;
    for (int r = 1; r < m_table->SlotCount(); ++r)
        if (m_table->GoToRecord(r) == 1)
            total += m_table->GetDouble(n);
    if (before >= 1)
        m_table->GoToRecord(before);
    return total;
}

void CGridCapture::SaveCells(ArchiveWriter& ar) const
{
    const int rows = (m_table && m_table->IsOpen()) ? m_table->SlotCount() - 1 : 0;
    const int columns = GridColumns();
    ar.WriteInt32(rows);
    ar.WriteInt32(columns);
    const int before = rows > 0 ? m_table->CurrentRecord() : 0;
    for (int r = 1; r <= rows; ++r) {
        const bool there = m_table->GoToRecord(r) == 1;
        for (int c = 1; c <= columns; ++c)
            ar.WriteString(there ? m_table->GetText(c) : std::string());
    }
    if (before >= 1)
        m_table->GoToRecord(before);
}

namespace {

// The row and column counts of a cell record. Every cell takes at least one byte: counts
// that the rest of the file cannot hold are refused before anything is read.
std::pair<int32_t, int32_t> ReadCellCounts(ArchiveReader& ar)
{
    const int32_t rows = ar.ReadCount(0);
    const int32_t columns = ar.ReadCount(0);
    if (rows > 0 && columns > 0 && uint64_t(rows) * uint64_t(columns) > ar.Remaining() / kMinCellBytes)
        throw ArchiveError(ar.Offset() - 4, "cantidad mayor que el archivo");
    // Rows without columns hold no cells: there is nothing to walk through, however many
    // the record announces.
    if (columns == 0)
        return {0, 0};
    return {rows, columns};
}

}  // namespace

void CGridCapture::SkipCells(ArchiveReader& ar)
{
    const auto [rows, columns] = ReadCellCounts(ar);
    for (int64_t i = 0; i < int64_t(rows) * columns; ++i)
        ar.ReadString();
}

void CGridCapture::LoadCells(ArchiveReader& ar)
{
    const auto [rows, columns] = ReadCellCounts(ar);
    const bool open = m_table && m_table->IsOpen();
    // A loaded record replaces what the table held; rows the table could not take again
    // are read and skipped like rows beyond the grid's.
    if (open && m_table->EmptyTable())
        AddMarkerRows();
    for (int32_t r = 1; r <= rows; ++r) {
        const bool kept = open && r < m_table->SlotCount() && m_table->GoToRecord(r) == 1;
        for (int32_t c = 1; c <= columns; ++c) {
            const std::string text = ar.ReadString();
            if (kept && c <= GridColumns())
                m_table->SetText(c, text);
        }
        if (kept)
            m_table->WriteRecord();
    }
    Reset();
}

std::string CGridCapture::TypingRefusal(int col) const
{
    const int field = FieldOfColumn(col);
    if (field < 1 || field >= int(m_calc.size()))
        return {};
    const CCalcRecord& record = m_calc[size_t(field)];
    // A column that names itself computes from what is typed into it (C4*0.16), and one
    // that names no column of the grid is never computed: both are typed into.
    if (!record.m_active || record.HasSource(field))
        return {};
    const auto isColumn = [this](int source) { return source >= 1 && source < int(m_calc.size()); };
    if (!isColumn(record.m_srcA) && !isColumn(record.m_srcB))
        return {};
    return Quote(Column(col).HeaderText()) + " se calcula sola con " + m_formulas[size_t(field)] +
           ": escriba en las columnas de las que sale.";
}

std::string CGridCapture::TextRefusal(int col, const std::string& text) const
{
    // A cell is stored in the captured-data file, which holds only what Windows-1252 can.
    if (const std::string bad = cp1252::FirstUnencodable(text); !bad.empty())
        return cp1252::CannotKeepMessage(bad);
    const int field = FieldOfColumn(col);
    if (field < 1 || !Table())
        return {};
    const int32_t type = Table()->Field(field).Type();
    if (type != kvDouble && type != kvCurrency)
        return {};
    const std::string trimmed = Trimmed(text);
    double amount = 0;
    if (trimmed.empty() || (type == kvDouble && IsPlainNumber(trimmed)) || m_locale.ParseCurrency(trimmed, amount) ||
        ReadAmount(trimmed, amount))
        return {};
    return NotAnAmountMessage(trimmed, Column(col).HeaderText());
}

std::string CGridCapture::EditRefusal(const std::string& editText) const
{
    if (editText == EditStart())
        return {};
    std::string refusal = TypingRefusal(CurCol());
    if (refusal.empty())
        refusal = TextRefusal(CurCol(), editText);
    return refusal;
}

std::string CGridCapture::CellRefusal(int row, int column, const std::string& utf8)
{
    if (row < 1 || row > CellRows() || column < 1 || column > CellColumns() || CellText(row, column) == utf8)
        return {};
    std::string refusal = TypingRefusal(column);
    if (refusal.empty())
        refusal = TextRefusal(column, utf8);
    return refusal;
}

std::string CGridCapture::StoredText(int col, const std::string& text) const
{
    const int field = FieldOfColumn(col);
    const int32_t type = field < 1 || !Table() ? -1 : Table()->Field(field).Type();
    if (type != kvDouble && type != kvCurrency)
        return text;
    const std::string trimmed = Trimmed(text);
    double amount = 0;
    if (trimmed.empty() || IsPlainNumber(trimmed))
        return text;
    // The user's locale reads its own currency text; any other amount the program
    // accepts ("$ 1,500.00") is stored in the plain form every table reads.
    if (m_locale.ParseCurrency(trimmed, amount)) {
        if (type == kvCurrency)
            return text;
    } else if (!ReadAmount(trimmed, amount)) {
        return text;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, amount);
    return std::string(buffer, result.ptr);
}

std::string CGridCapture::NoMoreRowsMessage() const
{
    return "La tabla " + Quote(m_tableName) + " tiene " + std::to_string(m_gridRows) +
           (m_gridRows == 1 ? " renglón" : " renglones") + " y no caben más.";
}

bool CGridCapture::CommitEdit(const std::string& editText, bool cancel)
{
    // Esc keeps a text that can be kept; only a refused one gives the old text back.
    if (cancel && !EditRefusal(editText).empty())
        return CTablaEditor::CommitEdit(editText, true);
    return CTablaEditor::CommitEdit(StoredText(CurCol(), editText), false);
}

bool CGridCapture::EndEdit(const std::string& editText, TablaKey key)
{
    if (key != TablaKey::Escape) {
        const std::string refusal = EditRefusal(editText);
        if (!refusal.empty()) {
            AbandonEdit();
            m_prompts.Message(refusal);
            return false;
        }
    }
    const bool changed = CommitEdit(editText, key == TablaKey::Escape);
    KeyPress(TablaKey::Right);
    return changed;
}

void CGridCapture::OnCellSet(int col)
{
    const int field = FieldOfColumn(col);
    if (field < 1 || !m_table)
        return;
    TableRow row(*m_table);
    RecalculateColumns(m_calc, field, row);
}

void CGridCapture::OnCellCommitted(int record, int col)
{
    // The new record line is never a row of the grid: appending is off.
    if (record < 1 || FieldOfColumn(col) < 1 || !m_table)
        return;
    // The capture screen's totals may sum any column, typed or calculated, so every
    // committed change is announced, not only one that recalculated a column.
    if (m_onGridChanged)
        m_onGridChanged();
}

void CGridCapture::OnRecordsDeleted()
{
    if (m_onGridChanged)
        m_onGridChanged();
}

bool CGridCapture::TypeCell(int row, int column, const std::string& utf8)
{
    if (row < 1 || row > CellRows() || column < 1 || column > CellColumns())
        return false;
    return TypeIntoCell(row, column, utf8, TablaKey::Enter);
}
