// ordexa-cli print FORMAT.fmt OUT.pdf [--cap DATA.cap] [ASSIGNMENT ...] [--facx N] [--facy N]
//                   [--paper letter|a4|legal]
// ordexa-cli print FORMAT.fmt OUT.pdf --csv ROWS.csv [--facx N] [--facy N] [--paper ...]
#include <QLocale>
#include <cstdio>
#include <optional>

#include "capture/batch_print.h"
#include "cli/capture_cli.h"
#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "platform/batch_printer.h"
#include "platform/format_printer.h"
#include "platform/qt_locale.h"

namespace {

constexpr const char* kPrintUsage =
    "print FORMATO.fmt SALIDA.pdf [--cap DATOS.cap] [NOMBRE=VALOR ...] | [--csv RENGLONES.csv] [--facx N] "
    "[--facy N] [--paper letter|a4|legal]";

// Offsets in 0.1 mm up to a kilometre either way.
constexpr int kMaxOffsetUnits = 10'000'000;

struct PrintRequest {
    std::vector<std::string> paths;
    std::vector<std::string> assignments;
    std::string capPath;
    std::string csvPath;
    std::optional<int> facX, facY;
    PaperSize paper = PaperSize::Letter;
};

bool ParsePrintArguments(const CliArgs& args, PrintRequest& request)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (request.paths.size() < 2)
                request.paths.push_back(arg);
            else if (IsAssignment(arg))
                request.assignments.push_back(arg);
            else
                return false;
            continue;
        }
        std::string value;
        if (!TakeOptionValue(args, i, arg, value))
            return false;
        int offset = 0;
        if (arg == "--cap" && !value.empty()) {
            request.capPath = value;
        } else if (arg == "--csv" && !value.empty()) {
            request.csvPath = value;
        } else if (arg == "--facx" && ParseOffsetOption(value, kMaxOffsetUnits, offset)) {
            request.facX = offset;
        } else if (arg == "--facy" && ParseOffsetOption(value, kMaxOffsetUnits, offset)) {
            request.facY = offset;
        } else if (arg == "--paper" && ParsePaperOption(value, request.paper)) {
        } else {
            return false;
        }
    }
    // A batch fills every page from its rows: captured data or assignments would be
    // overwritten on each page.
    if (!request.csvPath.empty() && (!request.capPath.empty() || !request.assignments.empty()))
        return false;
    return request.paths.size() == 2;
}

// The offsets the capture screen would print with, unless the command names others.
PrintOffsets ReadOffsets(const PrintRequest& request)
{
    return OffsetsForCommand(request.facX, request.facY);
}

// One page per data row of the spreadsheet into the one PDF. Each row left out is named
// on its own line of standard error; the exit status is 1 when any was.
int RunBatchPrint(const PrintRequest& request, PrintOffsets offsets)
{
    const std::string& formatPath = request.paths[0];
    const std::string& pdfPath = request.paths[1];
    const QtLocale locale(QLocale(QLocale::Spanish, QLocale::Mexico));
    BatchPrint batch(locale);
    std::string message;
    if (!batch.LoadFormat(formatPath, message) || !batch.OpenRows(request.csvPath, message))
        return Refuse(message);
    // Columns that name no element are left out, named once; alone they refuse nothing.
    if (const std::string note = batch.IgnoredColumnsNote(); !note.empty())
        std::fprintf(stderr, "%s\n", note.c_str());
    BatchOutcome outcome;
    const bool written = PrintBatchToPdfFile(pdfPath, FullSheetLayout(request.paper), batch, offsets, nullptr,
                                             outcome, message);
    for (const BatchRefusedRow& row : outcome.refused)
        std::fprintf(stderr, "%s, renglón %ld: %s\n", request.csvPath.c_str(), row.sheetRow, row.reason.c_str());
    if (outcome.refusedCount > long(outcome.refused.size()))
        std::fprintf(stderr, "%s: %ld renglones más se omitieron.\n", request.csvPath.c_str(),
                     outcome.refusedCount - long(outcome.refused.size()));
    if (!written)
        return Refuse(message);
    return outcome.refusedCount > 0 ? kExitRefused : kExitOk;
}

}  // namespace

int RunPrint(const CliArgs& args)
{
    PrintRequest request;
    if (!ParsePrintArguments(args, request))
        return UsageError(kPrintUsage);
    const std::string& formatPath = request.paths[0];
    const std::string& pdfPath = request.paths[1];
    if (!request.csvPath.empty())
        return RunBatchPrint(request, ReadOffsets(request));

    CliCapture capture;
    std::string message;
    if (!capture.Open(formatPath, message))
        return Refuse(message);
    if (!request.capPath.empty() && !capture.LoadCapture(request.capPath, message))
        return Refuse(message);
    for (const std::string& assignment : request.assignments)
        if (!capture.Apply(assignment, message))
            return Refuse(formatPath + ": " + message);
    // Values loaded from a captured-data file are printed as they were saved; what was
    // typed here must have computed.
    if (!request.assignments.empty() && !capture.CalculationsRan(message))
        return Refuse(formatPath + ": " + message);

    if (!PrintToPdfFile(pdfPath, request.paper, capture.Session().GetFormat().elements, ReadOffsets(request), message))
        return Refuse(message);
    return kExitOk;
}
