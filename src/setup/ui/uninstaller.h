#pragma once
// What the "Desinstalar" menu entry runs: finds the install list in the uninstaller's
// own folder, asks before anything goes, removes exactly what the list names and says
// what happened.
#include <QString>

#include "setup/program_group.h"

class Prompts;

// The question, with the product's name.
QString UninstallQuestion(const QString& productName);

// Runs the whole conversation for the installation in `folder`. Returns true when the
// installation was removed, false when there was nothing to remove, the clerk said No,
// or something could not be removed (the clerk has been told which).
bool RunUninstaller(const QString& folder, Prompts& prompts,
                    const MenuLocations& menus = MenuLocations::FromEnvironment());
