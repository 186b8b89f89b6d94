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
// "/home/ana/ordexa/ORDEXA.instalados"), in the format of setup/install_list.h: every
// installed file with its size and digest, every menu file written, the folders the
// installation created (that the uninstaller may remove when empty), the list itself.
inline constexpr char kInstallListExtension[] = ".instalados";
std::string InstallListPath(const std::string& destFolder, const std::string& productName);

struct InstallReport {
    std::vector<std::string> installedFiles;  // in the destination folder, in package order
    std::vector<std::string> menuFiles;       // written by the program group
    std::vector<std::string> createdFolders;  // folders that did not exist before
    std::string installListPath;
    // Files of the package whose name the clerk's own changed file already held: the
    // clerk's file stayed, and the new one went beside it ("Factura (nuevo).fmt").
    std::vector<std::string> keptChanged;    // names, e.g. "Factura.fmt"
    std::vector<std::string> besideNames;    // the new files' names, in the same order
    // Paths an install list already in the folder named that this installation neither
    // installs nor can recognise as installed: left out of the new list (and so never
    // removed by the uninstaller).
    std::vector<std::string> ignoredListed;
    // Names a run that was stopped part-way had left, taken away or put back.
    std::vector<std::string> recovered;
};

// Creates `destFolder` (one level: its parent must exist) after checking that it can take
// the package (DestinationProblem, room included), copies every file (each to a temporary
// file in the destination folder renamed over its target, every step written in the
// folder's journal), registers the program group in `menus` and writes the install list.
// A file the clerk changed is never written over: the new one goes beside it.
//
// On any failure of the files, the program group's files or the list, everything this
// run wrote is taken away and every file it replaced is put back, so the folder is as it
// was; false then comes with a Spanish sentence that says so. A program-group command
// that cannot be carried out is skipped silently. `installerPath` (the installer the
// clerk ran) is named instead of the package file when the package is damaged.
bool InstallFiles(const std::string& destFolder, const std::string& packagePath, InstallProgress& progress,
                  InstallReport& report, std::string& message,
                  const MenuLocations& menus = MenuLocations::FromEnvironment(),
                  const std::string& installerPath = {});

// "Factura.fmt" -> "Factura (nuevo).fmt"; `number` above 1 gives "Factura (nuevo 2).fmt".
std::string BesideName(const std::string& name, int number = 1);
