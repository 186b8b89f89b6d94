#pragma once
// What a child frame asks of the application that created it.
#include <string>
#include <vector>

#include "base/prompts.h"
#include "base/settings_store.h"

class CChildFrame;
class QPrinter;
enum class FrameMode;

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
    // `frame` wrote the format file `path`: the other windows on it follow.
    virtual void FormatSaved(const std::string& /*path*/, CChildFrame* /*frame*/) {}
    // Brings forward the window of mode `mode` already showing `path` (other than
    // `except`); false when there is none.
    virtual bool BringForward(FrameMode /*mode*/, const std::string& /*path*/, const CChildFrame* /*except*/)
    {
        return false;
    }
};

// A host for frames shown outside the program (tests, demonstrations): the prompts answer
// from a script, the settings live in memory and the recent formats are listed in the
// order they were added.
class MemoryFrameHost : public FrameHost {
public:
    void AddToRecentFormats(const std::string& path, int) override { recent.push_back(path); }
    Prompts& GetPrompts() override { return prompts; }
    SettingsStore& GetSettings() override { return settings; }

    ScriptedPrompts prompts;
    MemorySettingsStore settings;
    std::vector<std::string> recent;
};
