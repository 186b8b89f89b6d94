#pragma once
// The format design mode's commands: the texts of their menu items, the prompts the
// status bar shows while one is highlighted, the tooltips of their toolbar buttons, and
// the order of the buttons on the two toolbars.
#include <optional>
#include <span>

enum class DesignArrange;

struct DesignCommand {
    int id;
    const char* menuText;  // nullptr: the command has no menu item of its own
    const char* prompt;    // status bar prompt (nullptr: none)
    const char* tooltip;   // toolbar tooltip (nullptr: no button)
    int kind = -1;         // element kind placed by an insert command, else -1
    // The menu item's shortcut in portable text ("Ctrl+C"), or nullptr.
    const char* shortcut = nullptr;
    // A key the page view itself handles (arrows, Tab, Supr, Esc), shown beside the
    // menu item but not made a shortcut: the properties panel's boxes need those keys.
    const char* keyText = nullptr;
};

// Every command of the mode, once.
std::span<const DesignCommand> DesignCommands();
// The entry of a command id, or nullptr.
const DesignCommand* FindDesignCommand(int id);

// The buttons of the design toolbar (130) and the format toolbar (136), left to right;
// 0 stands for a separator.
std::span<const int> DesignToolbarButtons();
std::span<const int> FormatToolbarButtons();

// The arrangement an arranging command (align, distribute, same size) asks for, shared by
// the design mode and the screen layout; nullopt for any other command.
std::optional<DesignArrange> ArrangeCommand(int id);

inline constexpr int kDesignToolbarId = 130;
inline constexpr int kFormatToolbarId = 136;

// The status bar's prompt pane when no command is highlighted.
inline constexpr const char* kReadyPrompt = "Preparado";
