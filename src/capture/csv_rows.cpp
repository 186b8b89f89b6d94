#include "capture/csv_rows.h"

#include <csv.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "base/cp1252.h"
#include "base/file_messages.h"
#include "base/fs_path.h"
#include "base/read_only_file.h"

namespace {

constexpr size_t kChunkBytes = 64 * 1024;
// The separator is read from the header line; a header longer than this is no header.
constexpr size_t kMaxHeaderLineBytes = 4 * kCsvMaxFieldBytes;

// libcsv grows a field's buffer through this: refusing past the limit makes the parser
// stop with an out-of-memory error, so a field can never grow beyond it.
void* LimitedRealloc(void* block, size_t size)
{
    if (size > kCsvMaxFieldBytes + 8192)
        return nullptr;
    return std::realloc(block, size);
}

std::string Decode(const std::string& raw, CsvEncoding encoding);

}  // namespace

// --- Utf8Validator -----------------------------------------------------------------

void Utf8Validator::Feed(std::string_view bytes)
{
    for (const char ch : bytes) {
        if (!m_valid)
            return;
        const auto b = static_cast<uint8_t>(ch);
        if (m_pending > 0) {
            if (b < m_low || b > m_high) {
                m_valid = false;
                return;
            }
            --m_pending;
            m_low = 0x80;
            m_high = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        // The second byte's range rules out overlong forms, surrogates and values past
        // U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            m_pending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            if (b == 0xE0)
                m_low = 0xA0;
            if (b == 0xED)
                m_high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            if (b == 0xF0)
                m_low = 0x90;
            if (b == 0xF4)
                m_high = 0x8F;
        } else {
            m_valid = false;
        }
    }
}

namespace {

// A file that is not UTF-8 throughout is read as Windows-1252, but a value that is itself
// well-formed UTF-8 with letters beyond ASCII was written as UTF-8 (a row pasted from
// another spreadsheet): it is kept as written rather than turned into "JosÃ©". Such byte
// pairs never occur in real Windows-1252 text.
std::string Decode(const std::string& raw, CsvEncoding encoding)
{
    if (encoding == CsvEncoding::Utf8)
        return raw;
    Utf8Validator validator;
    validator.Feed(raw);
    const bool beyondAscii = std::any_of(raw.begin(), raw.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
    return validator.Valid() && beyondAscii ? raw : cp1252::ToUtf8(raw);
}

}  // namespace

// --- One pass over the file ----------------------------------------------------------

// A record as libcsv delivers it, before decoding.
struct RawRecord {
    long sheetRow = 0;
    std::vector<std::string> fields;
    size_t fieldCount = 0;
    bool blank = true;          // every field empty
    bool valuesBeyond = false;  // a field not kept holds something
};

class CsvRows::Pass {
public:
    enum class Step { Record, End, Failed };

    Pass(const CsvRows& rows, char separator) : m_rows(rows)
    {
        csv_init(&m_parser, CSV_REPALL_NL);
        csv_set_delim(&m_parser, static_cast<unsigned char>(separator));
        csv_set_realloc_func(&m_parser, &LimitedRealloc);
        csv_set_blk_size(&m_parser, 4096);
    }
    ~Pass()
    {
        csv_free(&m_parser);
    }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    // How many fields of a row are kept (the others are only counted).
    void KeepFields(size_t count) { m_keep = count; }
    const std::string& Bytes() const { return m_chunk; }

    bool Start(std::string& message)
    {
        if (m_rows.m_path.empty())
            return true;
        switch (m_file.Open(m_rows.m_path, kCsvMaxFileBytes, message)) {
        case ReadOnlyFile::Opened::Yes:
            return true;
        case ReadOnlyFile::Opened::Failed:
            return false;
        case ReadOnlyFile::Opened::NotAPlainFile:
            message = "El archivo " + InGuillemets(m_rows.m_label) + " no es una hoja de cálculo guardada en disco.";
            return false;
        case ReadOnlyFile::Opened::TooLarge:
            message = TooLargeMessage();
            return false;
        }
        return false;
    }

    // The next chunk of raw bytes into Bytes(); false at the end or on a failure (then
    // `message` is set).
    bool ReadChunk(std::string& message)
    {
        m_chunk.clear();
        if (m_rows.m_path.empty()) {
            const std::string& all = m_rows.m_bytes;
            if (m_offset >= all.size())
                return false;
            m_chunk.assign(all, m_offset, kChunkBytes);
        } else {
            m_chunk.resize(kChunkBytes);
            const long long n = m_file.Read(m_chunk.data(), m_chunk.size(), message);
            if (n < 0) {
                m_chunk.clear();
                return false;
            }
            m_chunk.resize(size_t(n));
            if (n == 0)
                return false;
        }
        m_skipBom = m_offset == 0 && m_chunk.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        m_offset += m_chunk.size();
        if (m_offset > kCsvMaxFileBytes) {
            message = TooLargeMessage();
            return false;
        }
        return true;
    }

    // Skips the byte order mark at the very start of the data, once.
    std::string_view Payload() const { return std::string_view(m_chunk).substr(std::min(m_skipBom, m_chunk.size())); }

    // Parses until a record is complete.
    Step NextRecord(RawRecord& out, std::string& message)
    {
        while (m_ready.empty()) {
            if (m_finished)
                return Step::End;
            if (!ReadChunk(message)) {
                if (!message.empty())
                    return Step::Failed;
                if (!Finish(message))
                    return Step::Failed;
                continue;
            }
            if (!Feed(Payload(), message))
                return Step::Failed;
        }
        out = std::move(m_ready.front());
        m_ready.pop_front();
        return Step::Record;
    }

    bool Feed(std::string_view bytes, std::string& message)
    {
        if (m_validator)
            m_validator->Feed(bytes);
        if (bytes.find('\0') != std::string_view::npos) {
            message = "El archivo " + InGuillemets(m_rows.m_label) +
                      " no es una hoja de cálculo en texto (CSV): contiene datos binarios.";
            return false;
        }
        const size_t parsed = csv_parse(&m_parser, bytes.data(), bytes.size(), &Pass::OnField, &Pass::OnRowEnd, this);
        if (m_tooManyColumns) {
            message = "El encabezado del archivo " + InGuillemets(m_rows.m_label) + " tiene más de " +
                      std::to_string(kCsvMaxColumns) + " columnas.";
            return false;
        }
        if (parsed < bytes.size()) {
            message = "El archivo " + InGuillemets(m_rows.m_label) + " tiene en el renglón " +
                      std::to_string(m_sheetRow + 1) + " un valor de más de " +
                      std::to_string(kCsvMaxFieldBytes >> 20) + " MB; no parece una hoja de cálculo.";
            return false;
        }
        return true;
    }

    void WatchEncoding(Utf8Validator& validator) { m_validator = &validator; }
    void LimitHeaderColumns(bool limit) { m_limitColumns = limit; }

private:
    bool Finish(std::string& message)
    {
        m_finished = true;
        // A quoted field still open at the end: a quote was never closed, and everything
        // after it would have become one value.
        if (m_parser.quoted && m_parser.pstate == 2) {
            message = "El archivo " + InGuillemets(m_rows.m_label) + " tiene unas comillas sin cerrar en el renglón " +
                      std::to_string(m_sheetRow + 1) + ".";
            return false;
        }
        csv_fini(&m_parser, &Pass::OnField, &Pass::OnRowEnd, this);
        return true;
    }

    std::string TooLargeMessage() const
    {
        return "El archivo " + InGuillemets(m_rows.m_label) + " es demasiado grande para imprimirlo en lote (más de " +
               std::to_string(kCsvMaxFileBytes >> 20) + " MB).";
    }

    static void OnField(void* data, size_t length, void* self)
    {
        auto& pass = *static_cast<Pass*>(self);
        RawRecord& row = pass.m_row;
        if (row.fieldCount < pass.m_keep)
            row.fields.emplace_back(static_cast<const char*>(data), length);
        else if (length > 0)
            row.valuesBeyond = true;
        ++row.fieldCount;
        if (length > 0)
            row.blank = false;
        if (pass.m_limitColumns && row.fieldCount > kCsvMaxColumns)
            pass.m_tooManyColumns = true;
    }

    static void OnRowEnd(int terminator, void* self)
    {
        auto& pass = *static_cast<Pass*>(self);
        const bool afterCr = pass.m_lastEndWasCr;
        pass.m_lastEndWasCr = terminator == '\r';
        // The LF of a CR LF pair ends nothing: its CR ended the row already.
        if (pass.m_row.fieldCount == 0 && terminator == '\n' && afterCr)
            return;
        // The column limit is the header's: the first row that is not blank. The rows after
        // it, even those parsed from the same chunk, are only counted (their extra values
        // are not kept), so one wide data row is refused alone, not taken for the header.
        if (!pass.m_row.blank)
            pass.m_limitColumns = false;
        pass.m_row.sheetRow = ++pass.m_sheetRow;
        pass.m_ready.push_back(std::move(pass.m_row));
        pass.m_row = RawRecord{};
    }

    const CsvRows& m_rows;
    csv_parser m_parser{};
    ReadOnlyFile m_file;
    size_t m_offset = 0;
    size_t m_skipBom = 0;
    std::string m_chunk;
    RawRecord m_row;
    std::deque<RawRecord> m_ready;
    long m_sheetRow = 0;
    size_t m_keep = 0;
    bool m_lastEndWasCr = false;
    bool m_finished = false;
    bool m_limitColumns = false;
    bool m_tooManyColumns = false;
    Utf8Validator* m_validator = nullptr;
};

// --- CsvRows ---------------------------------------------------------------------------

CsvRows::CsvRows() = default;
CsvRows::~CsvRows() = default;

bool CsvRows::Open(const std::string& path, std::string& message)
{
    m_path = path;
    m_bytes.clear();
    m_label = FileNameOf(path);
    return Scan(message);
}

bool CsvRows::OpenBytes(std::string bytes, const std::string& label, std::string& message)
{
    m_path.clear();
    m_bytes = std::move(bytes);
    m_label = label;
    if (m_bytes.size() > kCsvMaxFileBytes) {
        message = "El archivo " + InGuillemets(m_label) + " es demasiado grande para imprimirlo en lote.";
        return false;
    }
    return Scan(message);
}

namespace {

// Finds the separator of the header line: the first line that is not blank, read up to
// its end outside quotes. Semicolons win when there are more of them than commas (a
// spreadsheet in a language whose decimal mark is the comma writes them).
char DetectSeparator(std::string_view text, bool& complete)
{
    size_t commas = 0, semicolons = 0;
    bool quoted = false, started = false;
    complete = false;
    for (const char ch : text) {
        if (!started && (ch == '\r' || ch == '\n'))
            continue;
        started = true;
        if (ch == '"') {
            quoted = !quoted;
        } else if (!quoted && (ch == '\r' || ch == '\n')) {
            complete = true;
            break;
        } else if (!quoted && ch == ',') {
            ++commas;
        } else if (!quoted && ch == ';') {
            ++semicolons;
        }
    }
    return semicolons > commas ? ';' : ',';
}

}  // namespace

bool CsvRows::Scan(std::string& message)
{
    m_pass.reset();
    m_header.clear();
    m_dataRows = 0;
    m_headerRow = 0;
    message.clear();

    // The separator, from the start of the file.
    {
        Pass probe(*this, ',');
        if (!probe.Start(message))
            return false;
        std::string start;
        bool complete = false;
        while (!complete && start.size() < kMaxHeaderLineBytes && probe.ReadChunk(message)) {
            if (start.empty()) {
                const std::string_view first = probe.Bytes();
                if (first.substr(0, 2) == "\xFF\xFE" || first.substr(0, 2) == "\xFE\xFF") {
                    message = "El archivo " + InGuillemets(m_label) +
                              " está guardado en UTF-16: guárdelo desde la hoja de cálculo como «CSV UTF-8».";
                    return false;
                }
                if (first.substr(0, 4) == "PK\x03\x04") {
                    message = "El archivo " + InGuillemets(m_label) +
                              " es un libro de hoja de cálculo, no un CSV: guárdelo como «CSV UTF-8» o «CSV "
                              "(delimitado por comas)».";
                    return false;
                }
            }
            start.append(probe.Payload());
            m_separator = DetectSeparator(start, complete);
        }
        if (!message.empty())
            return false;
    }

    // The whole file once: encoding, header, quoting, the rows to print.
    Pass pass(*this, m_separator);
    if (!pass.Start(message))
        return false;
    Utf8Validator validator;
    pass.WatchEncoding(validator);
    pass.KeepFields(kCsvMaxColumns);
    pass.LimitHeaderColumns(true);
    RawRecord record;
    std::vector<std::string> rawHeader;
    for (;;) {
        const Pass::Step step = pass.NextRecord(record, message);
        if (step == Pass::Step::Failed)
            return false;
        if (step == Pass::Step::End)
            break;
        if (record.blank)
            continue;
        if (m_headerRow == 0) {
            rawHeader = std::move(record.fields);
            m_headerRow = record.sheetRow;
            pass.KeepFields(0);
            pass.LimitHeaderColumns(false);
        } else {
            ++m_dataRows;
        }
    }
    if (rawHeader.empty()) {
        message = "El archivo " + InGuillemets(m_label) + " está vacío: le falta el renglón de encabezado con los nombres "
                  "de los campos.";
        return false;
    }
    m_encoding = validator.Valid() ? CsvEncoding::Utf8 : CsvEncoding::Windows1252;
    for (const std::string& name : rawHeader)
        m_header.push_back(Decode(name, m_encoding));
    return Rewind(message);
}

bool CsvRows::Rewind(std::string& message)
{
    m_pass = std::make_unique<Pass>(*this, m_separator);
    if (!m_pass->Start(message))
        return false;
    m_pass->KeepFields(m_header.size());
    RawRecord record;
    while (true) {
        const Pass::Step step = m_pass->NextRecord(record, message);
        if (step != Pass::Step::Record) {
            if (message.empty())
                message = "El archivo " + InGuillemets(m_label) + " cambió mientras se leía.";
            return false;
        }
        if (record.sheetRow >= m_headerRow)
            return true;
    }
}

bool CsvRows::Next(CsvRecord& record, std::string& message)
{
    message.clear();
    if (!m_pass)
        return false;
    RawRecord raw;
    for (;;) {
        const Pass::Step step = m_pass->NextRecord(raw, message);
        if (step != Pass::Step::Record) {
            m_pass.reset();
            return false;
        }
        if (!raw.blank)
            break;
    }
    record.sheetRow = raw.sheetRow;
    record.fieldCount = raw.fieldCount;
    record.valuesBeyond = raw.valuesBeyond;
    record.fields.clear();
    for (const std::string& field : raw.fields)
        record.fields.push_back(Decode(field, m_encoding));
    return true;
}
