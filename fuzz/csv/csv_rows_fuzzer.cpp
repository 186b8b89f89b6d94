// Any bytes read as the spreadsheet of a batch of the sample invoice: refused with a
// message, or streamed row by row with every row either filled and printed on a
// recording surface or left out with a reason; never a crash, a hang or an unbounded
// allocation. The rows streamed are exactly the rows the scan counted.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/fixed_locale.h"
#include "base/recording_dc.h"
#include "capture/batch_print.h"
#include "capture/csv_rows.h"

namespace {

// Prints each page on a recording surface, which is thrown away.
class DiscardingSink : public BatchPageSink {
public:
    bool Continue(long, long) override { return true; }
    bool PrintPage(const CaptureSession& session) override
    {
        RecordingDc sheet;
        session.Print(sheet, PrintOffsets{});
        return true;
    }
};

struct Harness {
    FixedLocale locale;  // the harness checks the reading, not currency texts
    BatchPrint batch{locale};

    Harness()
    {
        std::string message;
        if (!batch.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message))
            std::abort();
    }
};

Harness& TheHarness()
{
    static Harness harness;
    return harness;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    CsvRows rows;
    std::string message;
    if (rows.OpenBytes(bytes, "fuzz.csv", message)) {
        if (rows.Header().empty() || rows.Header().size() > kCsvMaxColumns)
            std::abort();
        CsvRecord record;
        long count = 0, last = 0;
        while (rows.Next(record, message)) {
            ++count;
            // Rows come in spreadsheet order, after the header, never wider than it.
            if (record.sheetRow <= last || record.fields.size() > rows.Header().size() ||
                record.fieldCount < record.fields.size())
                std::abort();
            last = record.sheetRow;
        }
        if (!message.empty() || count != rows.DataRowCount())
            std::abort();
    } else if (message.empty()) {
        std::abort();
    }

    // The whole batch, when the header names the invoice's fields.
    Harness& h = TheHarness();
    if (h.batch.OpenRowsBytes(bytes, "fuzz.csv", message) && h.batch.RowCount() <= 64) {
        DiscardingSink sink;
        const BatchOutcome outcome = h.batch.Run(sink);
        if (outcome.printed + outcome.refusedCount != h.batch.RowCount() || outcome.stopped)
            std::abort();
    }
    return 0;
}
