// ordexa-cli export FORMAT.fmt TABLENAME OUT.(txt|dbf|dat) [ASSIGNMENT ...]
#include "cli/capture_cli.h"
#include "cli/cli_command.h"
#include "model/fmt_grid.h"
#include "model/grid_capture.h"
#include "tables/table_export.h"

int RunExport(const CliArgs& args)
{
    constexpr const char* kUsage = "export FORMATO.fmt TABLA SALIDA.(txt|dbf|dat) [NOMBRE=VALOR ...]";
    std::vector<std::string> positional, assignments;
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0)
            return UsageError(kUsage);
        if (positional.size() < 3)
            positional.push_back(arg);
        else if (IsAssignment(arg))
            assignments.push_back(arg);
        else
            return UsageError(kUsage);
    }
    if (positional.size() != 3)
        return UsageError(kUsage);
    const std::string& formatPath = positional[0];
    const std::string& tableName = positional[1];
    const std::string& outPath = positional[2];
    if (ExportFormatOfPath(outPath) == TableExportFormat::None)
        return Refuse(outPath + ": la exportación se escribe en un archivo .txt, .dbf o .dat.");

    CliCapture capture;
    std::string message;
    if (!capture.Open(formatPath, message))
        return Refuse(message);
    CControles* element = capture.Session().FindVariable(tableName);
    if (!element || element->m_kind != kKindGrid)
        return Refuse(formatPath + ": el formato no tiene ninguna tabla llamada \"" + tableName + "\".");
    auto& grid = static_cast<CFmtGrid&>(*element);
    if (!grid.Capture())
        return Refuse(formatPath + ": la tabla \"" + tableName + "\" no se pudo crear para la captura.");
    for (const std::string& assignment : assignments)
        if (!capture.Apply(assignment, message))
            return Refuse(formatPath + ": " + message);

    ScriptedPrompts prompts;
    QtLocale locale(QLocale(QLocale::Spanish, QLocale::Mexico));
    if (!ExportTable(*grid.Capture(), outPath, prompts, locale))
        return Refuse(prompts.Shown().empty() ? outPath + ": no se pudo escribir la exportación."
                                              : prompts.Shown().back());
    return kExitOk;
}
