#pragma once
// Batch printing from a spreadsheet: one page per data row of a CSV file, each row
// filled as a clerk would type it on the capture screen (calculated fields, table
// totals and amounts in words included) and printed through the one print job.
//
// The batch has a capture session of its own over in-memory controls, so the capture
// screen's values are never touched. Its header names the variable elements (without
// regard to case) and table cells as NAME[ROW,COL]; columns that name no element (an id,
// a note) are left out and named once, and only a header in which no column names an
// element is refused before anything prints. Rows stream from the file one at a time
// and each page goes straight to the caller's sink: nothing grows with the rows but the
// list of refused rows, which is bounded.
#include <memory>
#include <string>
#include <vector>

#include "base/prompts.h"
#include "base/recording_dc.h"
#include "base/user_locale.h"
#include "capture/capture_session.h"
#include "capture/csv_rows.h"

// Where the pages go (a printer, a PDF file, a test's record).
class BatchPageSink {
public:
    virtual ~BatchPageSink() = default;
    // Before row `done` + 1 of `total` is filled: false cancels the batch there.
    virtual bool Continue(long done, long total) = 0;
    // Prints the session as it stands onto a page of its own. False stops the batch
    // (the sink keeps why).
    virtual bool PrintPage(const CaptureSession& session) = 0;
};

// A column of the spreadsheet and what it fills.
struct BatchColumn {
    size_t csvIndex = 0;
    CControles* element = nullptr;
    bool cell = false;  // NAME[ROW,COL] of a table element
    int row = 0;
    int column = 0;
};

struct BatchRefusedRow {
    long sheetRow = 0;   // as the spreadsheet numbers it: the header is row 1
    std::string reason;  // Spanish
};

struct BatchOutcome {
    long printed = 0;
    long refusedCount = 0;
    std::vector<BatchRefusedRow> refused;  // the first kMaxListedRefusals of them
    bool cancelled = false;
    bool stopped = false;  // the sink failed or the file stopped reading
    std::string failure;   // why the file stopped reading (a sink keeps its own reason)
};

class BatchPrint {
public:
    static constexpr size_t kMaxListedRefusals = 200;
    static constexpr const char* kNoFieldsMessage =
        "El encabezado del archivo %s no nombra ningún campo del formato %s: su primer renglón debe llevar los "
        "nombres de los campos (por ejemplo CLIENTE;TOTAL) o celdas de tabla como DETALLE[1,2].";

    // The locale the tables' amounts are written in (the user's, on the screen).
    explicit BatchPrint(const Locale& locale);
    ~BatchPrint();
    BatchPrint(const BatchPrint&) = delete;
    BatchPrint& operator=(const BatchPrint&) = delete;

    // The format to fill, read from its file, or the one the capture screen shows (its
    // elements as they stand, copied).
    bool LoadFormat(const std::string& path, std::string& message);
    bool CopyFormat(const Format& format, const std::string& path, std::string& message);

    // Opens the spreadsheet and maps its header onto the format. False with a Spanish
    // message (the file unreadable, no header, a column naming nothing, a column named
    // twice); nothing is printed then.
    bool OpenRows(const std::string& csvPath, std::string& message);
    bool OpenRowsBytes(std::string bytes, const std::string& label, std::string& message);
    long RowCount() const { return m_rows.DataRowCount(); }
    const std::string& RowsLabel() const { return m_rows.Label(); }
    const std::vector<BatchColumn>& Columns() const { return m_columns; }
    // The header's columns that name no element and are left out, as the file heads them.
    const std::vector<std::string>& IgnoredColumns() const { return m_ignored; }
    // The line that tells the clerk which columns are left out; empty when none is.
    std::string IgnoredColumnsNote() const;

    // Prints every data row in turn through `sink`: clears the values, types the row's
    // values in capture order, then prints the page; a row with a value the form
    // refuses is left out and listed. Can be run again (it starts from the first row).
    BatchOutcome Run(BatchPageSink& sink);

    // The batch's own session (for the tests and the sinks).
    CaptureSession& Session() { return m_session; }

    // The summary the clerk reads at the end: pages printed, then each refused row and
    // why.
    static std::string Summary(const BatchOutcome& outcome, const std::string& csvLabel);

private:
    bool MapHeader(std::string& message);
    bool FillRow(const CsvRecord& record, std::string& reason);
    bool TypeColumn(const BatchColumn& column, const std::string& field, std::string& reason);
    bool TableSaidNo(size_t shownBefore, std::string& reason) const;

    // In-memory controls whose tables hold back their "calculated columns changed" while
    // a row's cells of one table are typed, and tell the session once after the last.
    class Controls : public MemoryEntryFactory {
    public:
        explicit Controls(BatchPrint& batch) : m_batch(batch) {}
        std::unique_ptr<TableEntry> CreateTableEntry(const TableEntryParams& params) override;
        void HoldBack(bool hold) { m_holding = hold; }
        // The tables that changed while held back, told to the session now.
        void TellChanged();

    private:
        BatchPrint& m_batch;
        bool m_holding = false;
        std::vector<int> m_changed;
    };

    ScriptedPrompts m_prompts;  // what a table would say in a message box
    const Locale& m_locale;
    Controls m_factory{*this};
    RecordingDc m_dc;
    CaptureSession m_session;  // after the factory: its controls go first
    CsvRows m_rows;
    std::vector<BatchColumn> m_columns;  // in the order values are typed
    std::vector<std::string> m_ignored;  // header columns that name no element
};

// The header of a spreadsheet mapped onto a session's variable elements. Blank column
// names are skipped; columns that name no element go to `ignored`. False with a Spanish
// message for a header naming no element, a cell outside its table or not written as a
// cell of it (named), a column named twice.
bool MapBatchHeader(const CaptureSession& session, const std::vector<std::string>& header,
                    const std::string& csvLabel, std::vector<BatchColumn>& columns, std::vector<std::string>& ignored,
                    std::string& message);

// "Se omiten las columnas «ID» y «Nota» del archivo «c.csv»: no nombran ningún campo del
// formato «F.fmt»."; empty when nothing is ignored.
std::string IgnoredColumnsMessage(const std::vector<std::string>& ignored, const std::string& csvLabel,
                                  const std::string& formatFileName);
