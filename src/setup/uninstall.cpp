#include "setup/uninstall.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "setup/install_files.h"

namespace {

// A real list names a few dozen paths; anything near this is not one.
constexpr size_t kMaxListBytes = size_t(1) << 20;
constexpr size_t kMaxListLines = 10000;

std::string Quoted(const std::string& text)
{
    return "«" + text + "»";
}

std::string Parent(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolderLine(const std::string& line)
{
    return line.size() > 1 && line.back() == '/';
}

std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The folder with every link and "." resolved, or empty when it does not exist.
std::string RealFolder(const std::string& folder)
{
    char resolved[PATH_MAX];
    if (!::realpath(folder.c_str(), resolved))
        return {};
    return resolved;
}

// An absolute path with no empty, "." or ".." component (a trailing "/" marks a folder).
bool IsCleanAbsolutePath(const std::string& line)
{
    if (line.empty() || line[0] != '/' || line.find('\0') != std::string::npos)
        return false;
    const std::string path = IsFolderLine(line) ? line.substr(0, line.size() - 1) : line;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string_view part(path.data() + start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

// One of the folders the program group writes its menu files into (under whichever data
// and configuration folders were in force when it was installed).
bool IsMenuFolder(const std::string& folder)
{
    static const char* const kMenuFolders[] = {"/applications", "/desktop-directories", "/icons/hicolor/scalable/apps",
                                               "/mime/packages", "/menus/applications-merged"};
    return std::any_of(std::begin(kMenuFolders), std::end(kMenuFolders), [&](const std::string& suffix) {
        return folder.size() > suffix.size() && folder.compare(folder.size() - suffix.size(), suffix.size(), suffix) == 0;
    });
}

bool HasEntryEndingWith(const std::string& folder, const std::string& suffix)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." &&
            (suffix.empty() || (name.size() > suffix.size() &&
                                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0))) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

void RemoveIfThere(const std::string& path, UninstallReport& report)
{
    if (::unlink(path.c_str()) == 0)
        report.removed.push_back(path);
}

// The desktop's caches are made by its own tools from the entries in their folders
// (update-desktop-database, update-mime-database). In a folder the installation created,
// once our entries are gone and nothing else is left to index, the cache describes only
// what we installed: it goes too, so the folder can go and the home is as it was. A
// folder that holds anyone else's entries keeps its cache, refreshed without ours.
void RemoveCachesOfEmptiedFolders(const std::vector<std::string>& createdFolders, const MenuLocations& locations,
                                  UninstallReport& report)
{
    const auto created = [&](const std::string& folder) {
        return std::find(createdFolders.begin(), createdFolders.end(), folder) != createdFolders.end();
    };
    const std::string data = WithoutTrailingSeparator(locations.dataHome);
    const std::string applications = data + "/applications";
    if (created(applications) && !HasEntryEndingWith(applications, ".desktop"))
        RemoveIfThere(applications + "/mimeinfo.cache", report);

    const std::string mime = data + "/mime";
    if (!created(mime) || HasEntryEndingWith(mime + "/packages", ""))
        return;
    static const char* const kGenerated[] = {"aliases", "generic-icons", "globs", "globs2", "icons",
                                             "magic", "mime.cache", "subclasses", "treemagic", "types",
                                             "version", "XMLnamespaces"};
    for (const char* name : kGenerated)
        RemoveIfThere(mime + "/" + name, report);
    // One folder per media type ("application/", "text/" …) of generated descriptions.
    DIR* dir = ::opendir(mime.c_str());
    if (!dir)
        return;
    std::vector<std::string> typeFolders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (name != "." && name != ".." && name != "packages" &&
            ::lstat((mime + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            typeFolders.push_back(mime + "/" + name);
    }
    ::closedir(dir);
    for (const std::string& folder : typeFolders) {
        DIR* types = ::opendir(folder.c_str());
        if (!types)
            continue;
        std::vector<std::string> descriptions;
        while (const dirent* entry = ::readdir(types)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0)
                descriptions.push_back(folder + "/" + name);
        }
        ::closedir(types);
        for (const std::string& path : descriptions)
            RemoveIfThere(path, report);
        if (::rmdir(folder.c_str()) == 0)
            report.removed.push_back(folder + "/");
    }
}

}  // namespace

bool ParseInstallList(std::string_view text, const std::string& listPath, std::vector<std::string>& paths,
                      std::string& message)
{
    paths.clear();
    size_t start = 0;
    size_t lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (paths.size() >= kMaxListLines || !IsCleanAbsolutePath(line)) {
            message = "La lista de archivos instalados " + Quoted(listPath) + " está dañada: la línea " +
                      std::to_string(lineNumber) + " no es una ruta completa de archivo.";
            paths.clear();
            return false;
        }
        paths.push_back(std::move(line));
    }
    return true;
}

bool ReadInstallList(const std::string& listPath, std::vector<std::string>& paths, std::string& message)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(listPath, bytes, &message, kMaxListBytes))
        return false;
    return ParseInstallList(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), listPath,
                            paths, message);
}

std::string FindInstallList(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return {};
    std::string found;
    int count = 0;
    const std::string extension = kInstallListExtension;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= extension.size() || name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        const std::string path = WithoutTrailingSeparator(folder) + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            found = path;
            ++count;
        }
    }
    ::closedir(dir);
    return count == 1 ? found : std::string();
}

bool Uninstall(const std::string& listPath, UninstallReport& report, std::string& message,
               const MenuLocations& locations)
{
    report = {};
    message.clear();
    std::vector<std::string> paths;
    if (!ReadInstallList(listPath, paths, message))
        return false;
    const std::string destFolder = Parent(listPath);
    const std::string realDest = RealFolder(destFolder);
    if (realDest.empty()) {
        message = "No se encuentra la carpeta de la instalación " + Quoted(destFolder) + ".";
        return false;
    }

    // A listed file is ours to remove when it lies in the installation's folder, or is a
    // menu file carrying our vendor prefix. Anything else in a list was not written by
    // the installer and is left alone, whatever the list says.
    const auto isOurs = [&](const std::string& path) {
        const std::string realParent = RealFolder(Parent(path));
        if (realParent.empty())
            return false;
        if (realParent == realDest)
            return true;
        return BaseName(path).rfind(kMenuVendorPrefix, 0) == 0 && IsMenuFolder(realParent);
    };
    std::vector<std::string> failed;
    bool menuRemoved = false;
    const std::string realList = RealFolder(Parent(listPath)) + "/" + BaseName(listPath);
    std::vector<std::string> folders;
    for (const std::string& path : paths) {
        if (IsFolderLine(path)) {
            folders.push_back(WithoutTrailingSeparator(path));
            continue;
        }
        if (RealFolder(Parent(path)) + "/" + BaseName(path) == realList)
            continue;  // last, once everything else is gone
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            continue;  // already gone
        if (S_ISDIR(st.st_mode) || !isOurs(path)) {
            report.kept.push_back(path);
            continue;
        }
        // unlink removes a symbolic link itself, never what it points to.
        if (::unlink(path.c_str()) == 0) {
            report.removed.push_back(path);
            if (BaseName(path).rfind(kMenuVendorPrefix, 0) == 0)
                menuRemoved = true;
        } else if (errno != ENOENT) {
            failed.push_back(path);
        }
    }
    if (menuRemoved && locations.refreshDesktopCaches) {
        RefreshDesktopCaches(locations);
        RemoveCachesOfEmptiedFolders(folders, locations, report);
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
        if (::rmdir(folder.c_str()) == 0)
            report.removed.push_back(folder + "/");
        else if (errno != ENOENT)
            report.kept.push_back(folder + "/");
    }

    if (failed.empty()) {
        if (::unlink(listPath.c_str()) == 0)
            report.removed.push_back(listPath);
        if (::rmdir(destFolder.c_str()) == 0)
            report.removed.push_back(destFolder + "/");
        return true;
    }
    // The list stays, so that a second try can finish the work.
    message = "No se pudieron quitar " + std::to_string(failed.size()) + " archivos de la instalación, entre ellos " +
              Quoted(failed.front()) + ". Revise que tenga permiso para borrarlos y vuelva a intentarlo.";
    return false;
}
