#include "setup/uninstall.h"

#include <algorithm>
#include <cerrno>

#include "setup/install_files.h"
#include "setup/install_journal.h"
#include "setup/install_list.h"
#include "base/file_messages.h"
#include "setup/setup_files.h"
#include "setup/setup_paths.h"

namespace {

// The folder with every link and "." resolved, or empty when it does not exist.
std::string RealFolder(const std::string& folder)
{
    return RealPath(folder);
}

}  // namespace

std::string FindInstallList(const std::string& folder)
{
    std::vector<std::string> names;
    if (!FolderNames(folder, names))
        return {};
    std::string found;
    int count = 0;
    const std::string extension = kInstallListExtension;
    for (const std::string& name : names) {
        if (name.size() <= extension.size() || name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        const std::string path = WithoutTrailingSeparator(folder) + "/" + name;
        if (KindAt(path) == EntryKind::File) {
            found = path;
            ++count;
        }
    }
    return count == 1 ? found : std::string();
}

bool Uninstall(const std::string& listPath, UninstallReport& report, std::string& message,
               const MenuLocations& locations)
{
    report = {};
    message.clear();
    InstallList list;
    if (!ReadInstallList(listPath, list, message))
        return false;
    std::vector<std::string> paths;
    for (const InstallListEntry& entry : list.entries)
        paths.push_back(entry.path);
    const std::string destFolder = Parent(listPath);
    const std::string realDest = RealFolder(destFolder);
    if (realDest.empty()) {
        message = "No se encuentra la carpeta de la instalación " + InGuillemets(destFolder) + ".";
        return false;
    }
    // No installation may work in the folder meanwhile; what a stopped one left (its
    // in-progress files, backups, journal) is cleared up first.
    DestinationLock lock;
    if (!lock.Acquire(destFolder, message))
        return false;
    RecoverInterruptedRun(lock);

    // A listed file is ours to remove when it lies in the installation's folder, or is a
    // menu file carrying our vendor prefix. Anything else in a list was not written by
    // the installer and is left alone, whatever the list says.
    const auto isOurs = [&](const std::string& path) {
        const std::string realParent = RealFolder(Parent(path));
        if (realParent.empty())
            return false;
        if (realParent == realDest)
            return true;
        return IsProgramGroupFile(realParent, BaseName(path), realDest);
    };
    std::vector<std::string> failed;
    bool menuRemoved = false;
    const std::string realList = RealFolder(Parent(listPath)) + "/" + BaseName(listPath);
    std::vector<std::string> folders;
    for (const InstallListEntry& entry : list.entries) {
        const std::string& path = entry.path;
        if (IsFolderEntry(path)) {
            folders.push_back(WithoutTrailingSeparator(path));
            continue;
        }
        if (RealFolder(Parent(path)) + "/" + BaseName(path) == realList)
            continue;  // last, once everything else is gone
        const EntryKind kind = KindAt(path);
        if (kind == EntryKind::Missing)
            continue;  // already gone
        if (kind == EntryKind::Folder || !isOurs(path)) {
            report.kept.push_back(path);
            continue;
        }
        // A file the clerk changed since it was installed is the clerk's now.
        if (kind == EntryKind::File && !IsAsInstalled(entry)) {
            report.changed.push_back(path);
            continue;
        }
        // A link itself is removed, never what it points to.
        if (RemoveFile(path)) {
            report.removed.push_back(path);
            if (BaseName(path).rfind(kMenuVendorPrefix, 0) == 0)
                menuRemoved = true;
        } else if (errno != ENOENT) {
            failed.push_back(path);
        }
    }
    if (menuRemoved && locations.refreshDesktopCaches) {
        RefreshDesktopCaches(locations);
        RemoveCachesOfEmptiedFolders(folders, locations, report.removed);
    }

    // Folders the installation made, deepest first, and only those that lead to a listed
    // path; rmdir takes none that still holds anything.
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return a.size() > b.size();
    });
    for (const std::string& folder : folders) {
        const bool leadsToListed = std::any_of(paths.begin(), paths.end(), [&](const std::string& path) {
            return path.size() > folder.size() + 1 && path.compare(0, folder.size() + 1, folder + "/") == 0;
        });
        if (!leadsToListed)
            continue;
        if (RemoveFolder(folder))
            report.removed.push_back(folder + "/");
        else if (errno != ENOENT)
            report.kept.push_back(folder + "/");
    }

    if (failed.empty()) {
        // The lock goes first: Windows removes no folder that is in use.
        lock.Release();
        if (RemoveFile(listPath))
            report.removed.push_back(listPath);
        if (RemoveFolder(destFolder))
            report.removed.push_back(destFolder + "/");
        return true;
    }
    // The list stays, so that a second try can finish the work.
    message = "No se pudieron quitar " + std::to_string(failed.size()) + " archivos de la instalación, entre ellos " +
              InGuillemets(failed.front()) + ". Revise que tenga permiso para borrarlos y vuelva a intentarlo.";
    return false;
}
