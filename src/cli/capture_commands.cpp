// ordexa-cli calc FORMAT.fmt [ASSIGNMENT ...]
// ordexa-cli cap FORMAT.fmt OUT.cap [ASSIGNMENT ...]
// ordexa-cli show FORMAT.fmt DATA.cap
#include "cli/capture_cli.h"
#include "cli/cli_command.h"

namespace {

// Splits the arguments into `positional` leading paths and the assignments after them.
// False on an option (none is known here) or on a path where an assignment belongs.
bool SplitArguments(const CliArgs& args, size_t pathCount, std::vector<std::string>& paths,
                    std::vector<std::string>& assignments)
{
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0)
            return false;
        if (paths.size() < pathCount)
            paths.push_back(arg);
        else if (IsAssignment(arg))
            assignments.push_back(arg);
        else
            return false;
    }
    return paths.size() == pathCount;
}

// Opens the format and types the assignments in turn; 0 or the refusal's exit status.
int OpenAndFill(CliCapture& capture, const std::string& formatPath, const std::vector<std::string>& assignments)
{
    std::string message;
    if (!capture.Open(formatPath, message))
        return Refuse(message);
    for (const std::string& assignment : assignments)
        if (!capture.Apply(assignment, message))
            return Refuse(formatPath + ": " + message);
    if (!capture.CalculationsRan(message))
        return Refuse(formatPath + ": " + message);
    return kExitOk;
}

}  // namespace

int RunCalc(const CliArgs& args)
{
    std::vector<std::string> paths, assignments;
    if (!SplitArguments(args, 1, paths, assignments))
        return UsageError("calc FORMATO.fmt [NOMBRE=VALOR | NOMBRE[RENGLON,COLUMNA]=VALOR ...]");
    CliCapture capture;
    if (const int status = OpenAndFill(capture, paths[0], assignments))
        return status;
    return WriteOutputLines(capture.Session().ValueLines());
}

int RunCap(const CliArgs& args)
{
    std::vector<std::string> paths, assignments;
    if (!SplitArguments(args, 2, paths, assignments))
        return UsageError("cap FORMATO.fmt SALIDA.cap [NOMBRE=VALOR | NOMBRE[RENGLON,COLUMNA]=VALOR ...]");
    CliCapture capture;
    if (const int status = OpenAndFill(capture, paths[0], assignments))
        return status;
    std::string message;
    if (!capture.Session().SaveCapture(paths[1], message))
        return Refuse(message);
    return kExitOk;
}

int RunShow(const CliArgs& args)
{
    std::vector<std::string> paths, assignments;
    if (!SplitArguments(args, 2, paths, assignments) || !assignments.empty())
        return UsageError("show FORMATO.fmt DATOS.cap");
    CliCapture capture;
    std::string message;
    if (!capture.Open(paths[0], message))
        return Refuse(message);
    if (!capture.LoadCapture(paths[1], message))
        return Refuse(message);
    return WriteOutputLines(capture.Session().ValueLines());
}
