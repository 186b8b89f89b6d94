#pragma once
#include <string>

class QWidget;

// The open dialog for format files ("Ordexa (*.fmt)"). Returns the chosen path, or an
// empty string when the user cancels.
std::string AskFormatToOpen(QWidget* parent);
