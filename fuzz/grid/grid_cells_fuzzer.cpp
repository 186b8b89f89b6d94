// Any bytes given as the table element's captured-data record are either refused or
// read into its table; either way the table stays usable, and what it writes reads back
// to the same record once the cells' text forms have settled (a number too large for any
// field reads "inf" once and 0 after that).
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/fmt_grid.h"
#include "model/grid_capture.h"
#include "base/fixed_locale.h"
#include "base/prompts.h"
#include "base/session_temp_folder.h"
#include "base/user_locale.h"

namespace {

CGridCapture& Capture()
{
    static ScriptedPrompts prompts;
    static FixedLocale locale;  // the harness checks the record reading, not currency texts
    static CGridCapture capture(prompts, locale);
    static bool started = [] {
        std::vector<GridColumn> columns(5);
        const char* titles[] = {"CANTIDAD", "DESCRIPCION", "PRECIO", "IMPORTE", "IVA"};
        const int32_t types[] = {1, 0, 3, 4, 2};
        const char* formulas[] = {"", "", "", "C1*C3", "C4*0.16"};
        for (int i = 0; i < 5; ++i) {
            columns[i].title = titles[i];
            columns[i].type = types[i];
            columns[i].formula = formulas[i];
            columns[i].width = 300;
            columns[i].screenWidth = 80;
        }
        // The program's own private folder, as the table element uses it: never the
        // shared temporary folder, where the generated names can be taken beforehand.
        return !SessionTempFolder().empty() && capture.Start(columns, 6, SessionTempFolder());
    }();
    if (!started)
        std::abort();
    return capture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGridCapture& capture = Capture();
    ArchiveReader reader(std::span<const uint8_t>(data, size));
    try {
        capture.LoadCells(reader);
    } catch (const ArchiveError& e) {
        if (e.Offset() > size)
            std::abort();
    }
    ArchiveWriter settling;
    capture.SaveCells(settling);
    ArchiveReader settled(settling.Bytes());
    capture.LoadCells(settled);
    ArchiveWriter first;
    capture.SaveCells(first);
    ArchiveReader again(first.Bytes());
    capture.LoadCells(again);
    ArchiveWriter second;
    capture.SaveCells(second);
    if (first.Bytes() != second.Bytes() || !again.AtEnd() || !settled.AtEnd())
        std::abort();
    return 0;
}
