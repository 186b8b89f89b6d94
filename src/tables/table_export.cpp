#include "tables/table_export.h"

#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "tables/kv_fecha.h"
#include "tables/number_text.h"
#include "base/prompts.h"
#include "tables/tabla.h"
#include "tables/table_editor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {

void Append(std::vector<uint8_t>& out, const std::string& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutLE(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + size_t(i)] = uint8_t(value >> (8 * i));
}

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

std::string TwoDecimals(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", value);
    return buf;
}

// Keeps the table's current record across an export.
class RecordKeeper {
public:
    explicit RecordKeeper(CTabla& table) : m_table(table), m_record(table.CurrentRecord()) {}
    ~RecordKeeper()
    {
        if (m_record >= 1)
            m_table.GoToRecord(m_record);
    }

private:
    CTabla& m_table;
    int m_record;
};

struct DbfField {
    int tableField = -1;
    std::string name;  // cut to 10 characters
    char type = 'C';
    uint8_t length = 20;
    uint8_t decimals = 0;
};

DbfField DbfFieldOf(const CKVField& f, int tableField, const std::string& columnField)
{
    DbfField d;
    d.tableField = tableField;
    d.name = cp1252::FromUtf8(columnField).substr(0, 10);
    switch (f.Type()) {
    case kvInt32:
    case kvUInt32:
    case kvInt16:
    case kvUInt16:
        d.type = 'N';
        break;
    case kvFloat:
        d.type = 'N';
        d.decimals = 2;
        break;
    case kvDate:
        d.type = 'D';
        d.length = 8;
        break;
    case kvBool:
        d.type = 'L';
        d.length = 1;
        break;
    case kvText:
        d.length = uint8_t(std::clamp<int>(f.Width(), 1, 255));
        break;
    case kvInt8:
    case kvUInt8:
        d.length = 1;
        break;
    default:
        break;
    }
    return d;
}

// The value of a field in the current record as the dBase field holds it, in
// Windows-1252 bytes, before cutting and padding.
std::string DbfValue(const CTabla& table, const DbfField& d)
{
    const CKVField& f = table.Field(d.tableField);
    switch (f.Type()) {
    case kvDate: {
        const std::vector<uint8_t> raw = table.GetRaw(d.tableField);
        CKVFecha date;
        if (raw.size() == 4)
            date = CKVFecha(CKVFecha::Packed{raw[0], raw[1], raw[2], raw[3]});
        if (date.Day() == 0 || date.Month() == 0 || date.Year() == 0)
            return "19000101";
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", int(date.Year()), int(date.Month()), int(date.Day()));
        return buf;
    }
    case kvBool: {
        const std::vector<uint8_t> raw = table.GetRaw(d.tableField);
        return !raw.empty() && raw[0] ? "T" : "F";
    }
    case kvFloat:
    case kvDouble:
        return TwoDecimals(table.GetDouble(d.tableField));
    default:
        return cp1252::FromUtf8(table.GetText(d.tableField));
    }
}

// Numbers stand right-justified after blanks and every other value is followed by blanks,
// as dBase readers expect: a number padded with zero bytes does not parse. A number too
// long for its field is written as asterisks, the format's mark of an overflow, rather
// than cut into a different number.
std::string DbfPadded(std::string value, const DbfField& d)
{
    const size_t length = d.length;
    if (d.type == 'N') {
        if (value.size() > length)
            return std::string(length, '*');
        return std::string(length - value.size(), ' ') + value;
    }
    value.resize(length, ' ');
    return value;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    auto norm = [&ec](const std::string& p) {
        std::filesystem::path path = std::filesystem::weakly_canonical(std::filesystem::absolute(p, ec), ec);
        std::string s = path.string();
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        return Upper(s);
    };
    return norm(a) == norm(b);
}

bool ExportDat(CTablaEditor& editor, const std::string& path, Prompts& prompts, const Locale& locale)
{
    CTabla& source = *editor.Table();
    const std::filesystem::path chosen(path);
    const std::string folder = chosen.parent_path().empty() ? "." : chosen.parent_path().string();
    if (SameFolder(folder, source.Directory())) {
        prompts.Message(kMsgChooseOtherFolder);
        return false;
    }
    CTabla target(prompts, locale);
    if (!target.Create((chosen.parent_path() / chosen.stem()).string(), source.Fields(), false))
        return false;
    RecordKeeper keep(source);
    CKVRegister copy(prompts, locale);
    target.CopyLayoutTo(copy);
    bool ok = true;
    for (int r = 1; r < source.SlotCount() && ok; ++r) {
        if (source.GoToRecord(r) != 1) {
            ok = false;
            break;
        }
        copy.ClearRecord();
        source.CopyFieldsTo(copy);
        ok = target.GoToRecord(target.SlotCount()) == 1 && target.AppendCopy(copy);
    }
    target.Close();
    return ok;
}

}  // namespace

TableExportFormat ExportFormatOfPath(const std::string& path)
{
    const std::string ext = Upper(std::filesystem::path(path).extension().string());
    if (ext == ".TXT")
        return TableExportFormat::Txt;
    if (ext == ".DBF")
        return TableExportFormat::Dbf;
    if (ext == ".DAT")
        return TableExportFormat::Dat;
    return TableExportFormat::None;
}

std::vector<uint8_t> BuildTxtExport(CTablaEditor& editor)
{
    std::vector<uint8_t> out;
    std::vector<int> cols;
    for (int c = 1; c < editor.ColumnCount(); ++c) {
        if (editor.Column(c).widthPx != 0)
            cols.push_back(c);
    }
    for (int c : cols)
        Append(out, cp1252::FromUtf8(editor.Column(c).HeaderText()) + "\t");
    Append(out, "\r\n\r\n");
    CTabla* table = editor.Table();
    if (!table || !table->IsOpen())
        return out;
    RecordKeeper keep(*table);
    for (int r = 1; r < table->SlotCount(); ++r) {
        if (table->GoToRecord(r) != 1)
            break;
        for (int c : cols) {
            const int field = editor.FieldOfColumn(c);
            std::string text = field >= 0 ? table->GetText(field) : std::string();
            if (editor.Column(c).Has(TablaColumn::kCurrency))
                text = FormatPesos(text);
            Append(out, cp1252::FromUtf8(text) + "\t");
        }
        Append(out, "\r\n");
    }
    return out;
}

std::vector<uint8_t> BuildDbfExport(CTablaEditor& editor, CalendarDate today)
{
    CTabla* table = editor.Table();
    std::vector<DbfField> fields;
    if (table && table->IsOpen()) {
        for (int c = 1; c < editor.ColumnCount(); ++c) {
            const int field = editor.FieldOfColumn(c);
            if (field >= 0)
                fields.push_back(DbfFieldOf(table->Field(field), field, editor.Column(c).fieldName));
        }
    }
    const uint32_t records = table && table->IsOpen() ? uint32_t(std::max(0, table->SlotCount() - 1)) : 0;
    const uint32_t headerLength = 32 + 32 * uint32_t(fields.size()) + 1;
    uint32_t recordLength = 1;
    for (const DbfField& d : fields)
        recordLength += d.length;

    std::vector<uint8_t> out(32, 0);
    out[0] = 0x03;  // dBase III plus, no memo
    out[1] = uint8_t(std::clamp(today.year - 1900, 0, 255));
    out[2] = uint8_t(today.month);
    out[3] = uint8_t(today.day);
    PutLE(out, 4, records, 4);
    PutLE(out, 8, headerLength, 2);
    PutLE(out, 10, recordLength, 2);
    for (const DbfField& d : fields) {
        std::vector<uint8_t> desc(32, 0);
        std::copy(d.name.begin(), d.name.end(), desc.begin());  // zero-padded to 11 bytes
        desc[11] = uint8_t(d.type);
        desc[16] = d.length;
        desc[17] = d.decimals;
        out.insert(out.end(), desc.begin(), desc.end());
    }
    out.push_back(0x0D);
    if (records > 0) {
        RecordKeeper keep(*table);
        for (uint32_t r = 1; r <= records; ++r) {
            if (table->GoToRecord(int(r)) != 1)
                break;
            out.push_back(' ');
            for (const DbfField& d : fields) {
                Append(out, DbfPadded(DbfValue(*table, d), d));
            }
        }
    }
    out.push_back(0x1A);
    return out;
}

bool ExportTable(CTablaEditor& editor, const std::string& path, Prompts& prompts, const Locale& locale)
{
    if (!editor.Table() || !editor.Table()->IsOpen())
        return false;
    std::vector<uint8_t> bytes;
    switch (ExportFormatOfPath(path)) {
    case TableExportFormat::Txt:
        bytes = BuildTxtExport(editor);
        break;
    case TableExportFormat::Dbf:
        bytes = BuildDbfExport(editor, locale.Today());
        break;
    case TableExportFormat::Dat:
        return ExportDat(editor, path, prompts, locale);
    case TableExportFormat::None:
        return false;
    }
    std::string error;
    if (!WriteFileAtomically(path, bytes, &error)) {
        prompts.Message(error, PromptIcon::Error);
        return false;
    }
    return true;
}
