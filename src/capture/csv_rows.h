#pragma once
// The rows of a spreadsheet saved as CSV, read the way clerks' spreadsheets write them:
// comma or semicolon separated (whichever the header line uses outside quotes), quoted
// fields with doubled quotes and line breaks inside, UTF-8 (with or without its byte
// order mark) or Windows-1252, CR LF or LF line ends. Blank lines are not rows to print.
//
// The file is read twice, never held whole: Open scans it once (size, encoding,
// separator, header, a complete quoting, the number of rows), then Next streams the data
// rows one at a time. Everything is bounded: the file, a field, the header's columns;
// a data row with more fields than the header is handed on marked as such, so the
// caller can refuse that row alone.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr uint64_t kCsvMaxFileBytes = uint64_t(256) << 20;
inline constexpr size_t kCsvMaxFieldBytes = size_t(1) << 20;
inline constexpr size_t kCsvMaxColumns = 1000;

enum class CsvEncoding { Utf8, Windows1252 };

// One data row. `sheetRow` is the row number a spreadsheet shows for it: the header is
// row 1, and blank lines and line breaks inside quoted fields count as a spreadsheet
// counts them (a blank line is a row, a quoted line break is not).
struct CsvRecord {
    long sheetRow = 0;
    std::vector<std::string> fields;  // UTF-8; at most the header's column count
    size_t fieldCount = 0;            // fields the row really has (more than `fields` when too many)
    bool valuesBeyond = false;        // a field past the header's width holds something
};

class CsvRows {
public:
    CsvRows();
    ~CsvRows();
    CsvRows(const CsvRows&) = delete;
    CsvRows& operator=(const CsvRows&) = delete;

    // Scans the file at `path`. False with a Spanish message naming the file (with its
    // name only, as the clerk chose it) when it cannot be read, is too large, holds no
    // header, has a field too long, a quote never closed or too many columns.
    bool Open(const std::string& path, std::string& message);
    // The same over bytes in memory; `label` names them in messages.
    bool OpenBytes(std::string bytes, const std::string& label, std::string& message);

    const std::vector<std::string>& Header() const { return m_header; }
    char Separator() const { return m_separator; }
    CsvEncoding Encoding() const { return m_encoding; }
    // Rows after the header that are not blank (every field empty): the pages to come.
    long DataRowCount() const { return m_dataRows; }
    // The file's name as messages show it.
    const std::string& Label() const { return m_label; }

    // Starts the data rows again from the first one after the header.
    bool Rewind(std::string& message);
    // The next data row that is not blank. False at the end, or when the file changed
    // since Open so that it no longer reads (then `message` says so; otherwise it stays
    // empty).
    bool Next(CsvRecord& record, std::string& message);

private:
    class Pass;
    bool Scan(std::string& message);

    std::string m_path;     // empty when reading m_bytes
    std::string m_bytes;
    std::string m_label;
    std::vector<std::string> m_header;
    long m_headerRow = 0;
    long m_dataRows = 0;
    char m_separator = ',';
    CsvEncoding m_encoding = CsvEncoding::Utf8;
    std::unique_ptr<Pass> m_pass;  // the streaming pass of Next
};

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values
// past U+10FFFF). Used incrementally by the scan; exposed for the tests.
class Utf8Validator {
public:
    void Feed(std::string_view bytes);
    // True when everything fed so far is valid and no sequence is left open.
    bool Valid() const { return m_valid && m_pending == 0; }

private:
    bool m_valid = true;
    int m_pending = 0;        // continuation bytes still expected
    uint8_t m_low = 0x80;     // allowed range of the next continuation byte
    uint8_t m_high = 0xBF;
};
