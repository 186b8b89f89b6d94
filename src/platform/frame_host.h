#pragma once
// What a child frame asks of the application that created it.
#include <string>

class Prompts;
class SettingsStore;

class FrameHost {
public:
    virtual ~FrameHost() = default;
    // Called after a format is loaded in any mode, and after a new format is saved for
    // the first time.
    virtual void AddToRecentFormats(const std::string& path, int slot) = 0;
    virtual Prompts& GetPrompts() = 0;
    virtual SettingsStore& GetSettings() = 0;
};
