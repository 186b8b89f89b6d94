// ordexa-cli: the headless companion of Ordexa. It drives the program's own libraries
// without a window, so that forms can be checked, filled and printed from scripts.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "cli/cli_command.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CliArgs&);
    bool needsFonts;  // drawing needs a GUI application (fonts); reading files does not
};

const Command kCommands[] = {
    {"dump", RunDump, false},
    {"resave", RunResave, false},
    {"render", RunRender, true},
    {"words", RunWords, false},
    {"calc", RunCalc, false},
    {"cap", RunCap, false},
    {"show", RunShow, false},
    {"print", RunPrint, true},
    {"export", RunExport, false},
    {"calibrate", RunCalibrate, true},
};

constexpr const char* kUsage = "uso: ordexa-cli dump|resave|render|words|calc|cap|show|print|export|calibrate ARGUMENTOS";

// Standard error carries exactly one line when a command refuses its input, so Qt's own
// diagnostics (a missing runtime folder, font notes) are kept off it.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::abort();
    }
}

}  // namespace

int UsageError(const std::string& usage)
{
    std::fprintf(stderr, "uso: ordexa-cli %s\n", usage.c_str());
    return kExitUsage;
}

int Refuse(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    return kExitRefused;
}

int FinishOutput(int status)
{
    // Whatever a command printed is only done once it reached its destination: a full
    // disk or a closed pipe behind standard output is a failure, not a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        if (status == kExitOk)
            return Refuse("No se pudo escribir el resultado: el destino está lleno o cerrado.");
        return status;
    }
    return status;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "%s\n", kUsage);
        return kExitUsage;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0)
            command = &c;
    if (!command) {
        std::fprintf(stderr, "%s\n", kUsage);
        return kExitUsage;
    }
    // No window is ever shown: the offscreen platform serves fonts and images.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    int qtArgc = 1;
    std::unique_ptr<QCoreApplication> app;
    if (command->needsFonts)
        app = std::make_unique<QGuiApplication>(qtArgc, argv);
    else
        app = std::make_unique<QCoreApplication>(qtArgc, argv);
    const int status = command->run(CliArgs(argv + 2, argv + argc));
    return FinishOutput(status);
}
