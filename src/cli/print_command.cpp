// ordexa-cli print FORMAT.fmt OUT.pdf [--cap DATA.cap] [ASSIGNMENT ...] [--facx N] [--facy N]
//                   [--paper letter|a4|legal]
#include <charconv>
#include <optional>

#include "cli/capture_cli.h"
#include "cli/cli_command.h"
#include "platform/format_printer.h"
#include "platform/qt_settings_store.h"

namespace {

constexpr const char* kPrintUsage =
    "print FORMATO.fmt SALIDA.pdf [--cap DATOS.cap] [NOMBRE=VALOR ...] [--facx N] [--facy N] "
    "[--paper letter|a4|legal]";

// An offset in 0.1 mm: a whole number, at most a kilometre either way.
bool ParseOffset(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= -10'000'000 && value <= 10'000'000;
}

struct PrintRequest {
    std::vector<std::string> paths;
    std::vector<std::string> assignments;
    std::string capPath;
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
        if (const size_t eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        } else {
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
        }
        int offset = 0;
        if (arg == "--cap" && !value.empty()) {
            request.capPath = value;
        } else if (arg == "--facx" && ParseOffset(value, offset)) {
            request.facX = offset;
        } else if (arg == "--facy" && ParseOffset(value, offset)) {
            request.facY = offset;
        } else if (arg == "--paper" && (value == "letter" || value == "a4" || value == "legal")) {
            request.paper = value == "a4" ? PaperSize::A4 : value == "legal" ? PaperSize::Legal : PaperSize::Letter;
        } else {
            return false;
        }
    }
    return request.paths.size() == 2;
}

}  // namespace

int RunPrint(const CliArgs& args)
{
    PrintRequest request;
    if (!ParsePrintArguments(args, request))
        return UsageError(kPrintUsage);
    const std::string& formatPath = request.paths[0];
    const std::string& pdfPath = request.paths[1];

    CliCapture capture;
    std::string message;
    if (!capture.Open(formatPath, message))
        return Refuse(message);
    if (!request.capPath.empty() && !capture.LoadCapture(request.capPath, message))
        return Refuse(message);
    for (const std::string& assignment : request.assignments)
        if (!capture.Apply(assignment, message))
            return Refuse(formatPath + ": " + message);

    // The offsets the capture screen would print with, unless the command names others.
    PrintOffsets offsets{0, 0};
    if (!request.facX || !request.facY) {
        QtSettingsStore settings;
        offsets = ReadPrintOffsets(settings);
    }
    if (request.facX)
        offsets.facX = *request.facX;
    if (request.facY)
        offsets.facY = *request.facY;

    if (!PrintToPdfFile(pdfPath, request.paper, capture.Session().GetFormat().elements, offsets, message))
        return Refuse(message);
    return kExitOk;
}
