// ordexa-cli resave IN.fmt OUT.fmt [--renumber]: reads a format and writes it again,
// unchanged or renumbered as saving from the design mode does.
#include "cli/cli_command.h"
#include "model/format_file.h"

int RunResave(const CliArgs& args)
{
    std::vector<std::string> files;
    bool renumber = false;
    for (const std::string& a : args) {
        if (a == "--renumber")
            renumber = true;
        else if (a.starts_with("--"))
            return UsageError("resave ENTRADA.fmt SALIDA.fmt [--renumber]");
        else
            files.push_back(a);
    }
    if (files.size() != 2)
        return UsageError("resave ENTRADA.fmt SALIDA.fmt [--renumber]");
    Format format;
    std::string message;
    if (!LoadFormatFile(files[0], format, message))
        return Refuse(message);
    if (!SaveFormatFile(files[1], format, renumber ? FormatWriter::Design : FormatWriter::Rewrite, message))
        return Refuse(message);
    return kExitOk;
}
