#pragma once
// Copying the package's files into the destination folder, registering the program
// group and writing the install list the uninstaller reads.
#include <string>
#include <vector>

#include "setup/program_group.h"

// What the installation advances: the wizard's progress bar.
class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    virtual void SetMaximum(int maximum) = 0;  // the package's file count
    virtual void Step() = 0;                   // once per installed file, repaint at once
};

// Files of the package that are programs and get execute permission (0755) besides the
// one named after the product; every other file gets 0644.
inline constexpr char kCliProgramName[] = "ordexa-cli";
// (kUninstallerProgramName: setup/program_group.h)

// The install list beside the program: "<dest>/<product>.instalados" (e.g.
// "/home/ana/ordexa/ORDEXA.instalados"). Text, one absolute path a line: every installed
// file, every menu file written, the list itself; a folder the installation created
// (and that the uninstaller may remove when empty) ends with "/".
inline constexpr char kInstallListExtension[] = ".instalados";
std::string InstallListPath(const std::string& destFolder, const std::string& productName);

struct InstallReport {
    std::vector<std::string> installedFiles;  // in the destination folder, in package order
    std::vector<std::string> menuFiles;       // written by the program group
    std::vector<std::string> createdFolders;  // folders that did not exist before
    std::string installListPath;
};

// Creates `destFolder` (one level: its parent must exist), checks the package's magic,
// copies every file (each to a temporary file in the destination folder renamed over
// the target, so an existing installation is replaced file by file and a failure leaves
// no half-written file), registers the program group in `menus` and writes the install
// list. Returns false with a Spanish sentence on any failure of the files or the list;
// a program-group command that cannot be carried out is skipped silently.
bool InstallFiles(const std::string& destFolder, const std::string& packagePath, InstallProgress& progress,
                  InstallReport& report, std::string& message,
                  const MenuLocations& menus = MenuLocations::FromEnvironment());
