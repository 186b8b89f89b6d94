#include "cli/capture_cli.h"

#include <QLocale>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "capture/capture_assignment.h"
#include "platform/format_render.h"

CliCapture::CliCapture() : m_locale(QLocale(QLocale::Spanish, QLocale::Mexico))
{
    m_factory.SetTableServices(m_prompts, m_locale);
}

CliCapture::~CliCapture() = default;

bool CliCapture::Open(const std::string& formatPath, std::string& message)
{
    if (!m_session.LoadFormat(formatPath, message))
        return false;
    m_dc.SetMapMode(MapMode::Pixels);
    const size_t shown = m_prompts.Shown().size();
    m_session.BuildEntryControls(m_dc, m_factory, CaptureScreenFont());
    return !TableSaidNo(shown, message);
}

bool CliCapture::Apply(const std::string& text, std::string& message)
{
    CaptureAssignment assignment;
    if (!ParseCaptureAssignment(text, assignment)) {
        message = "La asignación \"" + text + "\" no tiene la forma NOMBRE=VALOR ni NOMBRE[RENGLON,COLUMNA]=VALOR.";
        return false;
    }
    const size_t shown = m_prompts.Shown().size();
    if (!ApplyCaptureAssignment(m_session, assignment, message))
        return false;
    if (TableSaidNo(shown, message)) {
        message = "La tabla \"" + assignment.name + "\" no aceptó el valor \"" + assignment.value + "\": " + message;
        return false;
    }
    return true;
}

bool CliCapture::CalculationsRan(std::string& message) const
{
    const std::vector<CalcProblem> problems = m_session.CalcProblems();
    if (problems.empty())
        return true;
    message = problems.front().message;
    return false;
}

bool CliCapture::LoadCapture(const std::string& path, std::string& message)
{
    const size_t shown = m_prompts.Shown().size();
    if (m_session.LoadCapture(path, message) != CaptureLoadStatus::Loaded)
        return false;
    return !TableSaidNo(shown, message);
}

bool CliCapture::TableSaidNo(size_t shownBefore, std::string& message) const
{
    if (m_prompts.Shown().size() <= shownBefore)
        return false;
    message = m_prompts.Shown().back();
    return true;
}

bool IsAssignment(const std::string& arg)
{
    return arg.rfind("--", 0) != 0 && arg.find('=') != std::string::npos && arg.front() != '=';
}

int WriteOutputLines(const std::vector<std::string>& lines)
{
    // A closed pipe is an output that cannot be written, not a reason to die silently.
    std::signal(SIGPIPE, SIG_IGN);
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fputc('\n', stdout) == EOF)
            break;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Refuse("No se pudo escribir el resultado en la salida estándar (disco lleno o salida cerrada).");
    return kExitOk;
}
