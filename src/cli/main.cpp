// ordexa-cli: the headless companion of Ordexa. It drives the program's own libraries
// without a window, so that forms can be checked, filled and printed from scripts.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "ordexa_version.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CliArgs&);
    bool needsFonts;  // drawing needs a GUI application (fonts); reading files does not
    const char* arguments;
    const char* summary;
};

const Command kCommands[] = {
    {"words", RunWords, false, "CANTIDAD", "Escribe la cantidad con letra, como la captura la escribe para una fórmula \"$\"."},
    {"dump", RunDump, false, "FORMATO.fmt", "Muestra el formato y sus elementos como JSON."},
    {"render", RunRender, true, "FORMATO.fmt SALIDA.png [--mode design|screen|print] [--dpi N]",
     "Dibuja el formato en una imagen PNG como el diseño, la pantalla de captura o la impresora."},
    {"resave", RunResave, false, "ENTRADA.fmt SALIDA.fmt [--renumber]",
     "Lee el formato y lo vuelve a guardar; con --renumber renumera el orden de captura."},
    {"calc", RunCalc, false, "FORMATO.fmt [NOMBRE=VALOR | NOMBRE[RENGLON,COLUMNA]=VALOR ...]",
     "Escribe los valores en la captura y muestra todos los campos ya calculados."},
    {"cap", RunCap, false, "FORMATO.fmt SALIDA.cap [NOMBRE=VALOR | NOMBRE[RENGLON,COLUMNA]=VALOR ...]",
     "Como calc, y guarda los datos capturados en SALIDA.cap."},
    {"show", RunShow, false, "FORMATO.fmt DATOS.cap", "Abre los datos capturados sobre el formato y muestra los valores."},
    {"print", RunPrint, true,
     "FORMATO.fmt SALIDA.pdf [--cap DATOS.cap] [NOMBRE=VALOR ...] [--csv RENGLONES.csv] [--facx N] [--facy N] "
     "[--paper letter|a4|legal]",
     "Imprime el formato lleno en un PDF; con --csv, una página por renglón de la hoja."},
    {"calibrate", RunCalibrate, true, "SALIDA.pdf [--paper letter|a4|legal] [--facx N] [--facy N]",
     "Escribe la hoja de calibración en un PDF."},
    {"export", RunExport, false, "FORMATO.fmt TABLA SALIDA.(txt|dbf|dat) [NOMBRE=VALOR ...]",
     "Llena el formato y exporta los renglones de su tabla TABLA (texto, dBase o tabla)."},
};

constexpr const char* kUsage =
    "uso: ordexa-cli dump|resave|render|words|calc|cap|show|print|export|calibrate ARGUMENTOS "
    "(ordexa-cli --help muestra la ayuda)";

void PrintHelp()
{
    std::printf("Ordexa %s: llena, revisa e imprime formatos sin abrir ventanas.\n\n"
                "uso: ordexa-cli COMANDO ARGUMENTOS\n"
                "     ordexa-cli --help | -h    muestra esta ayuda\n"
                "     ordexa-cli --version      muestra la versión\n\n"
                "Comandos:\n",
                kOrdexaVersion);
    for (const Command& c : kCommands)
        std::printf("  %s %s\n      %s\n", c.name, c.arguments, c.summary);
    std::printf("\nLas cantidades llevan punto decimal; los desplazamientos --facx y --facy están en décimas "
                "de milímetro.\nSalida: 0 correcto, 1 entrada rechazada (una línea dice por qué), 2 uso "
                "incorrecto.\n");
}

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
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        PrintHelp();
        return FinishOutput(kExitOk);
    }
    if (first == "--version") {
        std::printf("ordexa-cli %s (Ordexa, compilado el %s)\n", kOrdexaVersion, kOrdexaBuildDate);
        return FinishOutput(kExitOk);
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
