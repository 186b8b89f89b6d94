#pragma once
// What the capture commands of ordexa-cli share: a format opened for capture as the
// capture screen opens it, with its entry controls held in memory, and the checked
// writing of their output.
#include <string>
#include <vector>

#include "base/prompts.h"
#include "base/recording_dc.h"
#include "capture/capture_session.h"
#include "cli/cli_command.h"
#include "platform/qt_locale.h"

class CliCapture {
public:
    CliCapture();
    ~CliCapture();

    // Reads the format and builds its controls. False with the line to print.
    bool Open(const std::string& formatPath, std::string& message);
    // Types "NAME=VALUE" or "NAME[ROW,COL]=VALUE". A table that refuses a value says why
    // through its message box, which becomes the message here.
    bool Apply(const std::string& assignment, std::string& message);
    // After the assignments: false with the first field whose value a calculation could
    // not use (a text that is no amount, an amount too large for words).
    bool CalculationsRan(std::string& message) const;
    // Loads a captured-data file; anything but a complete load is refused.
    bool LoadCapture(const std::string& path, std::string& message);

    CaptureSession& Session() { return m_session; }

private:
    bool TableSaidNo(size_t shownBefore, std::string& message) const;

    ScriptedPrompts m_prompts;
    QtLocale m_locale;
    MemoryEntryFactory m_factory;
    RecordingDc m_dc;
    CaptureSession m_session;  // last: its controls go before the factory and the locale
};

// True when ARG has the shape of an assignment (a name, "=", a value).
bool IsAssignment(const std::string& arg);

// Writes the lines to standard output, each followed by a newline, and makes sure they
// arrived: exit 0, or 1 with a message when standard output cannot be written (a full
// disk, a closed pipe).
int WriteOutputLines(const std::vector<std::string>& lines);
