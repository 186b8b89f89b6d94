// ordexa-cli calibrate OUT.pdf [--paper letter|a4|legal] [--facx N] [--facy N]
// The calibration sheet on one PDF page, exactly as the capture screen's "Hoja de
// calibración" prints it: the same drawing, the same PDF path as `print`, with the print
// offsets of the settings store (or the ones named).
#include <optional>

#include "capture/calibration.h"
#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "platform/format_printer.h"

namespace {

constexpr const char* kCalibrateUsage = "calibrate SALIDA.pdf [--paper letter|a4|legal] [--facx N] [--facy N]";

struct CalibrateRequest {
    std::string pdfPath;
    PaperSize paper = PaperSize::Letter;
    std::optional<int> facX, facY;
};

bool ParseCalibrateArguments(const CliArgs& args, CalibrateRequest& request)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!request.pdfPath.empty() || arg.empty())
                return false;
            request.pdfPath = arg;
            continue;
        }
        std::string value;
        if (!TakeOptionValue(args, i, arg, value))
            return false;
        int offset = 0;
        if (arg == "--paper" && ParsePaperOption(value, request.paper))
            continue;
        if (arg == "--facx" && ParseOffsetOption(value, kMaxCalibratedOffsetUnits, offset))
            request.facX = offset;
        else if (arg == "--facy" && ParseOffsetOption(value, kMaxCalibratedOffsetUnits, offset))
            request.facY = offset;
        else
            return false;
    }
    return !request.pdfPath.empty();
}

}  // namespace

int RunCalibrate(const CliArgs& args)
{
    CalibrateRequest request;
    if (!ParseCalibrateArguments(args, request))
        return UsageError(kCalibrateUsage);

    // The sheet is printed with the offsets the capture screen would print with, so that
    // what is measured on it is what remains to correct.
    const PrintOffsets offsets = OffsetsForCommand(request.facX, request.facY);

    std::string message;
    const SheetPainter sheet = [offsets](Dc& dc, int width, int height) {
        DrawCalibrationSheet(dc, width, height, offsets);
    };
    if (!SheetToPdfFile(request.pdfPath, request.paper, sheet, message))
        return Refuse(message);
    return kExitOk;
}
