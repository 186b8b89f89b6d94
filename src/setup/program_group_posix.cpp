// The program group as freedesktop menu entries.
#include "setup/program_group.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "setup/setup_files.h"
#include "setup/setup_paths.h"

extern char** environ;

namespace {

// "ORDEXA" -> "kalvorsoft-ordexa": lower case letters and digits, anything else "-".
std::string MenuId(const std::string& name)
{
    std::string id = kMenuVendorPrefix;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte))
            id += char(std::tolower(byte));
        else if (id.back() != '-')
            id += '-';
    }
    while (id.size() > 1 && id.back() == '-')
        id.pop_back();
    return id;
}

// A string value of a desktop entry: backslash, line breaks and tabs escaped.
std::string DesktopString(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

// One argument of an Exec key: quoted when it holds a reserved character, with '"', '`',
// '$' and '\' escaped inside the quotes and '%' doubled; the whole value is then a
// string value, whose own escaping doubles every backslash again.
std::string ExecArgument(const std::string& argument)
{
    std::string quoted;
    bool needsQuotes = argument.empty();
    for (const char c : argument) {
        if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos)
            needsQuotes = true;
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    if (needsQuotes)
        quoted = "\"" + quoted + "\"";
    return DesktopString(quoted);
}

// The program's part of an Exec key. A launcher looks for the program named by the
// first argument before it expands "%%", so a program whose path holds "%" would not be
// found: it is then started by the shell, which gets the path as a plain argument.
std::string ExecProgram(const std::string& programPath)
{
    if (programPath.find('%') == std::string::npos)
        return ExecArgument(programPath);
    return ExecArgument("/bin/sh") + " -c " + ExecArgument("exec \"$0\" \"$@\"") + " " + ExecArgument(programPath);
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void Remember(std::vector<std::string>& list, const std::string& path)
{
    if (std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(path);
}

// Creates `folder` and any missing parents; each one created is remembered, outermost
// first, so that an uninstall can take them away again when they are left empty.
bool MakeFolders(const std::string& folder, ProgramGroupResult& result)
{
    if (folder.empty() || folder[0] != '/')
        return false;
    std::string path;
    size_t start = 1;
    while (start <= folder.size()) {
        size_t slash = folder.find('/', start);
        if (slash == std::string::npos)
            slash = folder.size();
        path = folder.substr(0, slash);
        start = slash + 1;
        if (path.empty() || path.back() == '/')
            continue;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return false;
            continue;
        }
        if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        Remember(result.createdFolders, path);
    }
    return true;
}

bool WriteText(const std::string& folder, const std::string& fileName, const std::string& text,
               ProgramGroupResult& result)
{
    if (!MakeFolders(folder, result))
        return false;
    const std::string path = folder + "/" + fileName;
    // A link under one of our menu files' names is replaced by the file, never written
    // through: whatever it points to is not ours to overwrite.
    struct stat st {};
    const bool there = ::lstat(path.c_str(), &st) == 0;
    if (there && S_ISLNK(st.st_mode) && ::unlink(path.c_str()) != 0)
        return false;
    std::vector<uint8_t> before;
    const bool replacing = there && S_ISREG(st.st_mode) &&
                           std::none_of(result.writtenFiles.begin(), result.writtenFiles.end(),
                                        [&](const std::string& written) { return written == path; }) &&
                           ReadWholeFile(path, before, nullptr, size_t(16) << 20);
    std::string error;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    if (!WriteFileAtomically(path, std::span<const uint8_t>(bytes, text.size()), &error, false))
        return false;
    if (replacing)
        result.replacedFiles.emplace_back(path, std::move(before));
    Remember(result.writtenFiles, path);
    return true;
}

bool CopyInto(const std::string& source, const std::string& folder, const std::string& fileName,
              ProgramGroupResult& result)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(source, bytes, nullptr, size_t(16) << 20))
        return false;
    return WriteText(folder, fileName, std::string(bytes.begin(), bytes.end()), result);
}

// Runs a tool quietly when it is installed; its outcome changes nothing.
void RunQuietly(const char* tool, const std::string& argument)
{
    const char* path = std::getenv("PATH");
    std::string paths = path ? path : "/usr/bin:/bin";
    bool found = false;
    size_t start = 0;
    while (start <= paths.size()) {
        size_t end = paths.find(':', start);
        if (end == std::string::npos)
            end = paths.size();
        const std::string candidate = paths.substr(start, end - start) + "/" + tool;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            found = true;
            break;
        }
        start = end + 1;
    }
    if (!found)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::string toolName = tool;
    std::string arg = argument;
    char* argv[] = {toolName.data(), arg.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, tool, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

bool HasEntryEndingWith(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> names;
    if (!FolderNames(folder, names))
        return false;
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return suffix.empty() || (name.size() > suffix.size() &&
                                  name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
    });
}

void RemoveIfThere(const std::string& path, std::vector<std::string>& removed)
{
    if (::unlink(path.c_str()) == 0)
        removed.push_back(path);
}

}  // namespace

// The desktop's caches are made by its own tools from the entries in their folders
// (update-desktop-database, update-mime-database). In a folder the installation created,
// once our entries are gone and nothing else is left to index, the cache describes only
// what we installed: it goes too, so the folder can go and the home is as it was. A
// folder that holds anyone else's entries keeps its cache, refreshed without ours.
void RemoveCachesOfEmptiedFolders(const std::vector<std::string>& createdFolders, const MenuLocations& locations,
                                  std::vector<std::string>& removed)
{
    const auto created = [&](const std::string& folder) {
        return std::find(createdFolders.begin(), createdFolders.end(), folder) != createdFolders.end();
    };
    const std::string data = WithoutTrailingSeparator(locations.dataHome);
    const std::string applications = data + "/applications";
    if (created(applications) && !HasEntryEndingWith(applications, ".desktop"))
        RemoveIfThere(applications + "/mimeinfo.cache", removed);

    const std::string mime = data + "/mime";
    if (!created(mime) || HasEntryEndingWith(mime + "/packages", ""))
        return;
    static const char* const kGenerated[] = {"aliases", "generic-icons", "globs", "globs2", "icons",
                                             "magic", "mime.cache", "subclasses", "treemagic", "types",
                                             "version", "XMLnamespaces"};
    for (const char* name : kGenerated)
        RemoveIfThere(mime + "/" + name, removed);
    // One folder per media type ("application/", "text/" …) of generated descriptions.
    std::vector<std::string> names;
    if (!FolderNames(mime, names))
        return;
    for (const std::string& name : names) {
        const std::string folder = mime + "/" + name;
        if (name == "packages" || KindAt(folder) != EntryKind::Folder)
            continue;
        std::vector<std::string> descriptions;
        if (!FolderNames(folder, descriptions))
            continue;
        for (const std::string& description : descriptions)
            if (description.size() > 4 && description.compare(description.size() - 4, 4, ".xml") == 0)
                RemoveIfThere(folder + "/" + description, removed);
        if (::rmdir(folder.c_str()) == 0)
            removed.push_back(folder + "/");
    }
}

MenuLocations MenuLocations::FromEnvironment()
{
    const auto fromEnv = [](const char* variable, const char* underHome) {
        const char* value = std::getenv(variable);
        // The freedesktop rule: a relative value is invalid and is ignored.
        if (value && *value == '/')
            return WithoutTrailingSeparator(value);
        const char* home = std::getenv("HOME");
        return WithoutTrailingSeparator(std::string(home && *home ? home : "/") + "/" + underHome);
    };
    MenuLocations locations;
    locations.dataHome = fromEnv("XDG_DATA_HOME", ".local/share");
    locations.configHome = fromEnv("XDG_CONFIG_HOME", ".config");
    return locations;
}

bool ProgramGroup::CreateGroup(const std::string& name, ProgramGroupResult& result)
{
    if (m_locations.dataHome.empty() || m_locations.configHome.empty())
        return false;
    const std::string id = MenuId(name);
    const std::string text = "[Desktop Entry]\n"
                             "Type=Directory\n"
                             "Name=" + DesktopString(name) + "\n"
                             "Icon=applications-office\n";
    if (!WriteText(m_locations.dataHome + "/desktop-directories", id + ".directory", text, result))
        return false;
    m_groupName = name;
    m_items.clear();
    return WriteMenuFile(result);
}

bool ProgramGroup::AddItem(const std::string& programPath, const std::string& title, ProgramGroupResult& result)
{
    if (m_groupName.empty() || programPath.empty() || programPath[0] != '/' || !IsRegularFile(programPath))
        return false;
    const size_t slash = programPath.rfind('/');
    const std::string folder = programPath.substr(0, std::max<size_t>(slash, 1));
    const std::string fileName = programPath.substr(slash + 1);
    const std::string groupId = MenuId(m_groupName);
    const std::string itemId = MenuId(m_groupName + "-" + fileName);
    // The program named after the group opens the formats and captures; any other item
    // (the uninstaller) is a plain command.
    const bool isProgram = fileName == m_groupName;

    std::string icon = "applications-office";
    std::string mimeTypes;
    if (isProgram) {
        if (IsRegularFile(folder + "/" + kPackageIconName) &&
            CopyInto(folder + "/" + kPackageIconName, m_locations.dataHome + "/icons/hicolor/scalable/apps",
                     groupId + ".svg", result))
            icon = groupId;
        if (IsRegularFile(folder + "/" + kPackageMimeName) &&
            CopyInto(folder + "/" + kPackageMimeName, m_locations.dataHome + "/mime/packages", groupId + ".xml",
                     result))
            mimeTypes = "MimeType=application/x-ordexa-format;application/x-ordexa-capture;\n";
    } else if (IsRegularFile(m_locations.dataHome + "/icons/hicolor/scalable/apps/" + groupId + ".svg")) {
        icon = groupId;
    }

    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.4\n"
                       "Name=" + DesktopString(title) + "\n";
    text += isProgram ? "Comment=Diseña formatos, captura sus datos y los imprime sobre formas preimpresas\n"
                      : "Comment=Quita " + DesktopString(m_groupName) + " de su computadora\n";
    text += "Exec=" + ExecProgram(programPath) + (isProgram ? " %f" : "") + "\n";
    text += "TryExec=" + DesktopString(programPath) + "\n";
    text += "Path=" + DesktopString(folder) + "\n";
    text += "Icon=" + icon + "\n";
    text += "Terminal=false\n";
    text += isProgram ? "Categories=Office;\n" : "Categories=Settings;\n";
    text += mimeTypes;
    if (!WriteText(m_locations.dataHome + "/applications", itemId + ".desktop", text, result))
        return false;
    Remember(m_items, itemId + ".desktop");
    return WriteMenuFile(result);
}

// The group as a submenu of the applications menu, holding exactly the items added.
bool ProgramGroup::WriteMenuFile(ProgramGroupResult& result)
{
    const std::string id = MenuId(m_groupName);
    std::string text = "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                       "    \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
                       "<Menu>\n"
                       "  <Name>Applications</Name>\n"
                       "  <Menu>\n"
                       "    <Name>" + id + "</Name>\n"
                       "    <Directory>" + id + ".directory</Directory>\n"
                       "    <Include>\n";
    for (const std::string& item : m_items)
        text += "      <Filename>" + item + "</Filename>\n";
    text += "    </Include>\n"
            "  </Menu>\n"
            "</Menu>\n";
    return WriteText(m_locations.configHome + "/menus/applications-merged", id + ".menu", text, result);
}

void RefreshDesktopCaches(const MenuLocations& locations)
{
    struct stat st {};
    if (::stat((locations.dataHome + "/applications").c_str(), &st) == 0)
        RunQuietly("update-desktop-database", locations.dataHome + "/applications");
    if (::stat((locations.dataHome + "/mime/packages").c_str(), &st) == 0)
        RunQuietly("update-mime-database", locations.dataHome + "/mime");
}

bool IsProgramGroupFile(const std::string& folder, const std::string& name, const std::string&)
{
    static const char* const kMenuFolders[] = {"/applications", "/desktop-directories", "/icons/hicolor/scalable/apps",
                                               "/mime/packages", "/menus/applications-merged"};
    const bool menuFolder = std::any_of(std::begin(kMenuFolders), std::end(kMenuFolders), [&](const std::string& suffix) {
        return folder.size() > suffix.size() && folder.compare(folder.size() - suffix.size(), suffix.size(), suffix) == 0;
    });
    return name.rfind(kMenuVendorPrefix, 0) == 0 && menuFolder;
}

bool LeadsToMenuFolder(const std::string& folder, const MenuLocations& menus)
{
    const std::string targets[] = {menus.dataHome + "/applications", menus.dataHome + "/desktop-directories",
                                   menus.dataHome + "/icons/hicolor/scalable/apps", menus.dataHome + "/mime/packages",
                                   menus.configHome + "/menus/applications-merged"};
    return std::any_of(std::begin(targets), std::end(targets), [&](const std::string& target) {
        return target == folder || target.rfind(folder + "/", 0) == 0;
    });
}
