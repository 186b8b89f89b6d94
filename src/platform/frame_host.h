#pragma once
// What a child frame asks of the application that created it.
#include <string>

class Prompts;
class QPrinter;
class SettingsStore;

class FrameHost {
public:
    virtual ~FrameHost() = default;
    // Called after a format is loaded in any mode, and after a new format is saved for
    // the first time.
    virtual void AddToRecentFormats(const std::string& path, int slot) = 0;
    virtual Prompts& GetPrompts() = 0;
    virtual SettingsStore& GetSettings() = 0;
    // The printer chosen with "Configurar impresora...", which printing offers first; null
    // where there is none.
    virtual QPrinter* ApplicationPrinter() { return nullptr; }
    // A command the application carries out (opening a format, the About box), chosen
    // from a frame's own toolbar.
    virtual void RunCommand(int /*id*/) {}
};
