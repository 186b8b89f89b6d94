#pragma once
// Removing an installation: exactly what its install list names, nothing else.
#include <string>
#include <string_view>
#include <vector>

#include "setup/install_list.h"  // reading the list itself
#include "setup/program_group.h"

struct UninstallReport {
    std::vector<std::string> removed;  // files and folders removed
    std::vector<std::string> kept;     // listed entries left in place (not ours, not empty, could not be removed)
    std::vector<std::string> changed;  // installed files the clerk has changed since: kept
};

// The install list in `folder` (the uninstaller's own folder): the one file ending with
// ".instalados". Empty when there is none or more than one.
std::string FindInstallList(const std::string& folder);

// Reads the list defensively (setup/install_list.h) and removes the listed files and menu
// entries, but not an installed file whose content is no longer what was installed
// (UninstallReport::changed), then the installer's own leftovers of a stopped run, then
// the list itself, then
// the folders the installation created when they are left empty, then the destination
// folder (the list's folder) when it is left empty. A listed path is removed only when
// it is a file in the list's folder or a menu file carrying the vendor prefix; a
// symbolic link is removed itself, never followed. A listed path that no longer exists
// is fine. Returns false with a Spanish sentence when the list cannot be read or is
// damaged (then nothing is removed), or when some entries could not be removed.
bool Uninstall(const std::string& listPath, UninstallReport& report, std::string& message,
               const MenuLocations& locations = MenuLocations::FromEnvironment());
