#include "capture/batch_print.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "calc/amount_text.h"
#include "capture/capture_assignment.h"
#include "model/fmt_grid.h"
#include "base/file_messages.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Replace(std::string text, const std::string& what, const std::string& with)
{
    const size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
    return text;
}

// A value as a refusal quotes it: its start, cut at a character's edge, when it is too long
// to read in a message (a cell of the spreadsheet may hold up to a megabyte).
constexpr size_t kQuotedValueBytes = 60;
std::string Shortened(const std::string& value)
{
    if (value.size() <= kQuotedValueBytes)
        return value;
    size_t cut = kQuotedValueBytes;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut;
    return value.substr(0, cut) + "…";
}

// The session's and the tables' messages quote the value typed (whole or trimmed, in
// whichever quotes), once or more.
std::string WithValueShortened(std::string message, const std::string& value)
{
    for (const std::string& whole : {value, Trimmed(value)}) {
        if (whole.size() <= kQuotedValueBytes)
            continue;
        const std::string shortened = Shortened(whole);
        for (size_t at = message.find(whole); at != std::string::npos; at = message.find(whole, at + shortened.size()))
            message.replace(at, whole.size(), shortened);
    }
    return message;
}

// A single-line edit holds no line break: a spreadsheet cell's breaks become spaces there,
// as they would when the cell is pasted into the field.
std::string OnOneLine(const std::string& value)
{
    std::string line;
    line.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += value[i];
        }
    }
    return line;
}

// Names as a message lists them: the first ten, then how many more.
std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (size_t i = 0; i < names.size() && i < 10; ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " y " : ", ") + InGuillemets(names[i]);
    if (names.size() > 10)
        list += " y " + std::to_string(names.size() - 10) + " más";
    return list;
}

}  // namespace

std::string IgnoredColumnsMessage(const std::vector<std::string>& ignored, const std::string& csvLabel,
                                  const std::string& formatFileName)
{
    if (ignored.empty())
        return {};
    const bool one = ignored.size() == 1;
    return std::string(one ? "Se omite la columna " : "Se omiten las columnas ") + NameList(ignored) + " del archivo " +
           InGuillemets(csvLabel) + (one ? ": no nombra" : ": no nombran") + " ningún campo del formato " +
           InGuillemets(formatFileName) + ".";
}

bool MapBatchHeader(const CaptureSession& session, const std::vector<std::string>& header,
                    const std::string& csvLabel, std::vector<BatchColumn>& columns, std::vector<std::string>& ignored,
                    std::string& message)
{
    columns.clear();
    ignored.clear();
    std::map<std::tuple<const CControles*, int, int>, std::string> seen;
    for (size_t i = 0; i < header.size(); ++i) {
        const std::string name = Trimmed(header[i]);
        if (name.empty())
            continue;  // a spreadsheet's trailing separators name nothing
        BatchColumn column;
        column.csvIndex = i;
        std::string elementName = name;
        const size_t bracket = name.find('[');
        if (bracket != std::string::npos) {
            elementName = Trimmed(name.substr(0, bracket));
            // A column meant for a table's cell that does not read as one is a mistake
            // to mend, never a column to leave out: its values would be lost.
            std::string cellOf;
            if (session.FindVariable(elementName) &&
                (name.back() != ']' || !ParseCellName(name, cellOf, column.row, column.column))) {
                message = "La columna " + InGuillemets(name) + " del archivo " + InGuillemets(csvLabel) +
                          " no es una celda de la tabla " + InGuillemets(elementName) + ": escríbala como " + elementName +
                          "[RENGLON,COLUMNA], con números desde 1.";
                // "DETALLE[1,2]" unquoted in a comma-separated file splits at its comma.
                if (name.find(']') == std::string::npos)
                    message += " En un archivo separado por comas, escriba las celdas de tabla entre comillas, por "
                               "ejemplo \"DETALLE[1,2]\".";
                return false;
            }
            column.cell = name.back() == ']';
        }
        column.element = column.cell || bracket == std::string::npos ? session.FindVariable(elementName) : nullptr;
        if (!column.element) {
            ignored.push_back(name);
            continue;
        }
        const bool grid = column.element->m_kind == kKindGrid;
        if (grid != column.cell) {
            message = grid ? "La columna " + InGuillemets(name) + " del archivo " + InGuillemets(csvLabel) +
                                 " nombra la tabla " + InGuillemets(column.element->m_text) +
                                 " entera: nombre cada celda como " + column.element->m_text + "[RENGLON,COLUMNA]."
                           : "La columna " + InGuillemets(name) + " del archivo " + InGuillemets(csvLabel) + " nombra el campo " +
                                 InGuillemets(column.element->m_text) + ", que no es una tabla.";
            return false;
        }
        if (grid) {
            const auto& table = static_cast<const CFmtGrid&>(*column.element);
            if (column.row > table.RowCount() || column.column > table.ColumnCount()) {
                message = "La columna " + InGuillemets(name) + " del archivo " + InGuillemets(csvLabel) + " está fuera de la tabla " +
                          InGuillemets(table.m_text) + ", que tiene " + std::to_string(table.RowCount()) + " renglones y " +
                          std::to_string(table.ColumnCount()) + " columnas.";
                return false;
            }
        }
        const auto key = std::make_tuple(column.element, column.row, column.column);
        if (const auto it = seen.find(key); it != seen.end()) {
            message = "Las columnas " + InGuillemets(it->second) + " y " + InGuillemets(name) + " del archivo " + InGuillemets(csvLabel) +
                      " llenan el mismo campo: deje solo una.";
            return false;
        }
        seen.emplace(key, name);
        columns.push_back(column);
    }
    if (columns.empty()) {
        message = Replace(Replace(BatchPrint::kNoFieldsMessage, "%s", InGuillemets(csvLabel)), "%s",
                          InGuillemets(session.FormatFileName()));
        if (!ignored.empty())
            message += " Columnas que no corresponden: " + NameList(ignored) + ".";
        return false;
    }
    // Values are typed in capture order (cells row by row), as the clerk goes through the
    // screen, so a field's calculation sees what was typed before it.
    std::stable_sort(columns.begin(), columns.end(), [](const BatchColumn& a, const BatchColumn& b) {
        return std::tie(a.element->m_order, a.row, a.column) < std::tie(b.element->m_order, b.row, b.column);
    });
    return true;
}

std::unique_ptr<TableEntry> BatchPrint::Controls::CreateTableEntry(const TableEntryParams& params)
{
    return std::make_unique<MemoryTableEntry>(params, [this](int controlId) {
        if (!m_holding) {
            m_batch.m_session.OnGridChanged(controlId);
        } else if (std::find(m_changed.begin(), m_changed.end(), controlId) == m_changed.end()) {
            m_changed.push_back(controlId);
        }
    });
}

void BatchPrint::Controls::TellChanged()
{
    const std::vector<int> changed = std::move(m_changed);
    m_changed.clear();
    for (const int controlId : changed)
        m_batch.m_session.OnGridChanged(controlId);
}

BatchPrint::BatchPrint(const Locale& locale) : m_locale(locale)
{
    m_factory.SetTableServices(m_prompts, m_locale);
}

BatchPrint::~BatchPrint() = default;

bool BatchPrint::LoadFormat(const std::string& path, std::string& message)
{
    if (!m_session.LoadFormat(path, message))
        return false;
    // In-memory controls: the screen font only sizes widgets, which these are not.
    m_session.BuildEntryControls(m_dc, m_factory, LogFont{});
    return !TableSaidNo(0, message);
}

bool BatchPrint::CopyFormat(const Format& format, const std::string& path, std::string& message)
{
    const std::vector<uint8_t> bytes = WriteFormatAsItStands(format);
    Format copy;
    FormatReadError error;
    if (!ReadFormat(bytes, copy, error)) {
        message = "No se pudo preparar el formato para imprimir en lote.";
        return false;
    }
    m_session.AdoptFormat(std::move(copy), path);
    const size_t shown = m_prompts.Shown().size();
    m_session.BuildEntryControls(m_dc, m_factory, LogFont{});
    return !TableSaidNo(shown, message);
}

bool BatchPrint::OpenRows(const std::string& csvPath, std::string& message)
{
    m_columns.clear();
    return m_rows.Open(csvPath, message) && MapHeader(message);
}

bool BatchPrint::OpenRowsBytes(std::string bytes, const std::string& label, std::string& message)
{
    m_columns.clear();
    return m_rows.OpenBytes(std::move(bytes), label, message) && MapHeader(message);
}

bool BatchPrint::MapHeader(std::string& message)
{
    if (!MapBatchHeader(m_session, m_rows.Header(), m_rows.Label(), m_columns, m_ignored, message))
        return false;
    if (m_rows.DataRowCount() == 0) {
        message = "El archivo " + InGuillemets(m_rows.Label()) + " solo tiene el encabezado: no hay renglones que imprimir.";
        return false;
    }
    return true;
}

std::string BatchPrint::IgnoredColumnsNote() const
{
    return IgnoredColumnsMessage(m_ignored, m_rows.Label(), m_session.FormatFileName());
}

bool BatchPrint::TableSaidNo(size_t shownBefore, std::string& reason) const
{
    if (m_prompts.Shown().size() <= shownBefore)
        return false;
    reason = m_prompts.Shown().back();
    return true;
}

bool BatchPrint::FillRow(const CsvRecord& record, std::string& reason)
{
    const size_t width = m_rows.Header().size();
    // Empty cells past the header (a separator left at the end of a line) hold nothing to
    // print; a value there would belong to no field.
    if (record.valuesBeyond) {
        reason = "tiene " + std::to_string(record.fieldCount) + " valores y el encabezado solo " +
                 std::to_string(width) + " columnas (¿un separador de más dentro de un valor sin comillas?)";
        return false;
    }
    m_session.Clear();
    // The totals that read a table depend on its columns' sums only: they are computed
    // once after the row's last cell of that table (the columns run in capture order, so
    // a table's cells come together), not after every cell as typing one by one would.
    // The fields typed after the table see the same totals either way.
    struct Release {
        Controls& controls;
        ~Release()
        {
            controls.HoldBack(false);
            controls.TellChanged();
        }
    } release{m_factory};
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const BatchColumn& column = m_columns[i];
        const bool tableGoesOn = column.cell && i + 1 < m_columns.size() && m_columns[i + 1].element == column.element;
        m_factory.HoldBack(column.cell);
        // A row shorter than the header leaves its last fields empty, as a spreadsheet
        // that drops trailing empty cells writes it.
        const bool given = column.csvIndex < record.fields.size() && !record.fields[column.csvIndex].empty();
        if (given && !TypeColumn(column, record.fields[column.csvIndex], reason))
            return false;
        if (!tableGoesOn) {
            m_factory.HoldBack(false);
            m_factory.TellChanged();
        }
    }
    // What the calculations could not compute (an amount too large for words) would
    // print as an empty field.
    if (const std::vector<CalcProblem> problems = m_session.CalcProblems(); !problems.empty()) {
        reason = problems.front().message;
        return false;
    }
    return true;
}

namespace {

// True when a calculation reads the text line with this control id as an operand.
bool IsOperand(const CaptureCalc& calc, int controlId)
{
    const auto& records = calc.Records();
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].m_active && !calc.ReadsTable(i) &&
            (records[i].m_srcA == controlId || records[i].m_srcB == controlId))
            return true;
    return false;
}

}  // namespace

bool BatchPrint::TypeColumn(const BatchColumn& column, const std::string& field, std::string& reason)
{
    const std::string value = column.element->m_kind == kKindParrafoVar ? field : OnOneLine(field);
    // A value a calculation reads must be an amount: the calculation would otherwise
    // leave its results empty on the page.
    double amount = 0;
    if (column.element->m_kind == kKindTextlineVar &&
        IsOperand(m_session.Calc(), kFirstControlId + column.element->m_order) && !IsBlankAmount(value) &&
        !ReadAmount(value, amount)) {
        reason = "columna " + InGuillemets(Trimmed(m_rows.Header()[column.csvIndex])) + " — " +
                 NotAnAmountMessage(Shortened(value), column.element->m_text);
        return false;
    }
    const size_t shown = m_prompts.Shown().size();
    std::string message;
    const bool typed = column.cell ? m_session.TypeCell(static_cast<CFmtGrid&>(*column.element), column.row,
                                                        column.column, value, message)
                                   : m_session.TypeValue(*column.element, value, message);
    if (typed && !TableSaidNo(shown, message))
        return true;
    // The session's message names the field or cell and the value; the column is named
    // as the spreadsheet heads it.
    reason = "columna " + InGuillemets(Trimmed(m_rows.Header()[column.csvIndex])) + " — " + WithValueShortened(message, value);
    return false;
}

BatchOutcome BatchPrint::Run(BatchPageSink& sink)
{
    BatchOutcome outcome;
    std::string message;
    if (!m_rows.Rewind(message)) {
        outcome.stopped = true;
        outcome.failure = message;
        return outcome;
    }
    const long total = m_rows.DataRowCount();
    CsvRecord record;
    long done = 0;
    for (;;) {
        if (!sink.Continue(done, total)) {
            outcome.cancelled = true;
            break;
        }
        if (!m_rows.Next(record, message)) {
            if (!message.empty()) {
                outcome.stopped = true;
                outcome.failure = message;
            }
            break;
        }
        ++done;
        std::string reason;
        if (!FillRow(record, reason)) {
            ++outcome.refusedCount;
            if (outcome.refused.size() < kMaxListedRefusals)
                outcome.refused.push_back({record.sheetRow, reason});
            continue;
        }
        if (!sink.PrintPage(m_session)) {
            outcome.stopped = true;
            break;
        }
        ++outcome.printed;
    }
    // What the last row left in the controls and the tables' messages are not kept.
    m_session.Clear();
    m_prompts.ClearShown();
    return outcome;
}

std::string BatchPrint::Summary(const BatchOutcome& outcome, const std::string& csvLabel)
{
    std::string text = outcome.printed == 1 ? "Se imprimió 1 registro de " + InGuillemets(csvLabel) + "."
                                            : "Se imprimieron " + std::to_string(outcome.printed) +
                                                  " registros de " + InGuillemets(csvLabel) + ".";
    if (outcome.cancelled)
        text += " La impresión se canceló antes de terminar.";
    if (!outcome.failure.empty())
        text += " " + outcome.failure;
    if (outcome.refusedCount > 0) {
        text += outcome.refusedCount == 1 ? "\nSe omitió 1 renglón:"
                                          : "\nSe omitieron " + std::to_string(outcome.refusedCount) + " renglones:";
        for (const BatchRefusedRow& row : outcome.refused)
            text += "\n  Renglón " + std::to_string(row.sheetRow) + ": " + row.reason;
        if (outcome.refusedCount > long(outcome.refused.size()))
            text += "\n  … y " + std::to_string(outcome.refusedCount - long(outcome.refused.size())) + " más.";
    }
    return text;
}
