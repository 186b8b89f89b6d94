// The program group as Start-menu shortcuts: CreateGroup makes a folder named after the
// group in the user's Start menu (its Programs folder), AddItem a shortcut named after
// the item's title that opens the program in its own folder. Every file is written to a
// temporary name and renamed over its own; a shortcut replaced keeps what it held, so a
// failed installation can put it back.
#include "setup/program_group.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iterator>
#include <string_view>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/atomic_file.h"
#include "base/windows_paths.h"
#include "setup/setup_paths.h"

namespace {

constexpr char kShortcutExtension[] = ".lnk";

// COM for the calls of one function: started when the thread has not started it yet.
class ComScope {
public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    // RPC_E_CHANGED_MODE: the thread runs COM in the other mode, which serves as well.
    bool Ready() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

template <typename T>
void ReleaseCom(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

// A title as a file name: the characters Windows refuses in names become "-", and the
// trailing dots and spaces it would drop go.
std::string ShortcutFileName(const std::string& title)
{
    std::string name;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        name += byte < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos ? '-' : c;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    return name.empty() ? "-" : name;
}

void Remember(std::vector<std::string>& list, const std::string& path)
{
    if (std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(path);
}

// Creates `folder` and any missing parents below its drive; each one created is
// remembered, outermost first, so that an uninstall can take them away again.
bool MakeFolders(const std::string& folder, ProgramGroupResult& result)
{
    const size_t root = RootLength(folder);
    if (root == 0)
        return false;
    size_t start = root;
    while (start <= folder.size()) {
        size_t slash = folder.find('/', start);
        if (slash == std::string::npos)
            slash = folder.size();
        const std::string path = folder.substr(0, slash);
        start = slash + 1;
        if (path.size() <= root || path.back() == '/')
            continue;
        const EntryKind kind = KindFollowing(path);
        if (kind == EntryKind::Folder)
            continue;
        if (kind != EntryKind::Missing || (!MakeFolder(path) && errno != EEXIST))
            return false;
        Remember(result.createdFolders, path);
    }
    return true;
}

// Writes a shortcut at `path` to `programPath`, started in `folder`.
bool SaveShortcut(const std::string& path, const std::string& programPath, const std::string& folder,
                  const std::string& description)
{
    ComScope com;
    if (!com.Ready())
        return false;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        std::wstring target = WidePath(programPath);
        std::wstring workingFolder = WidePath(folder);
        std::replace(target.begin(), target.end(), L'/', L'\\');
        std::replace(workingFolder.begin(), workingFolder.end(), L'/', L'\\');
        saved = SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetWorkingDirectory(workingFolder.c_str())) &&
                SUCCEEDED(link->SetDescription(WidePath(description).c_str())) &&
                SUCCEEDED(link->SetIconLocation(target.c_str(), 0)) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                SUCCEEDED(file->Save(WidePath(path).c_str(), TRUE));
    }
    ReleaseCom(file);
    ReleaseCom(link);
    return saved;
}

// The program a shortcut opens, or empty when `path` is not a shortcut.
std::string ShortcutTargetOf(const std::string& path)
{
    ComScope com;
    if (!com.Ready())
        return {};
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    std::string target;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(WidePath(path).c_str(), STGM_READ))) {
        wchar_t buffer[MAX_PATH * 4] = {};
        if (link->GetPath(buffer, int(std::size(buffer)), nullptr, SLGP_RAWPATH) == S_OK)
            target = GenericPath(Utf8Path(buffer));
    }
    ReleaseCom(file);
    ReleaseCom(link);
    return target;
}

bool EndsWithShortcutExtension(const std::string& name)
{
    const std::string extension = kShortcutExtension;
    if (name.size() <= extension.size())
        return false;
    for (size_t i = 0; i < extension.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - extension.size() + i])) != extension[i])
            return false;
    return true;
}

// Two paths of existing entries name the same one (Windows compares names without case).
bool SameEntry(const std::string& a, const std::string& b)
{
    std::wstring left = WidePath(RealPath(a));
    std::wstring right = WidePath(RealPath(b));
    if (left.empty() || right.empty())
        return false;
    ::CharLowerBuffW(left.data(), DWORD(left.size()));
    ::CharLowerBuffW(right.data(), DWORD(right.size()));
    return left == right;
}

}  // namespace

MenuLocations MenuLocations::FromEnvironment()
{
    MenuLocations locations;
    wchar_t* programs = nullptr;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Programs, 0, nullptr, &programs)) && programs)
        locations.dataHome = WithoutTrailingSeparator(GenericPath(Utf8Path(programs)));
    ::CoTaskMemFree(programs);
    locations.configHome = locations.dataHome;
    locations.refreshDesktopCaches = false;
    return locations;
}

bool ProgramGroup::CreateGroup(const std::string& name, ProgramGroupResult& result)
{
    if (m_locations.dataHome.empty())
        return false;
    if (!MakeFolders(m_locations.dataHome + "/" + ShortcutFileName(name), result))
        return false;
    m_groupName = name;
    m_items.clear();
    return true;
}

bool ProgramGroup::AddItem(const std::string& programPath, const std::string& title, ProgramGroupResult& result)
{
    if (m_groupName.empty() || !IsFullPath(programPath) || KindFollowing(programPath) != EntryKind::File)
        return false;
    const std::string groupFolder = m_locations.dataHome + "/" + ShortcutFileName(m_groupName);
    const std::string fileName = ShortcutFileName(title) + kShortcutExtension;
    const std::string path = groupFolder + "/" + fileName;
    if (!MakeFolders(groupFolder, result))
        return false;
    // A link under the shortcut's name is replaced by the shortcut, never written through.
    const EntryKind there = KindAt(path);
    if (there == EntryKind::Link && !RemoveFile(path))
        return false;
    if (there == EntryKind::Folder || there == EntryKind::Other)
        return false;
    std::vector<uint8_t> before;
    const bool replacing = there == EntryKind::File &&
                           std::find(result.writtenFiles.begin(), result.writtenFiles.end(), path) ==
                               result.writtenFiles.end() &&
                           ReadWholeFile(path, before, nullptr, size_t(16) << 20);
    // Saved under a temporary name of the same folder, then renamed over its own.
    int fd = -1;
    const std::string temporary = CreateUniqueFile(groupFolder, ".kal-acceso-", fd);
    if (fd < 0)
        return false;
    CloseFile(fd);
    const std::string temporaryShortcut = temporary + kShortcutExtension;
    const bool saved = SaveShortcut(temporaryShortcut, programPath, Parent(programPath),
                                    BaseName(programPath) == m_groupName + kProgramSuffix
                                        ? "Diseña formatos, captura sus datos y los imprime sobre formas preimpresas"
                                        : "Quita " + m_groupName + " de su computadora");
    RemoveFile(temporary);
    if (!saved || !RenameOver(temporaryShortcut, path)) {
        RemoveFile(temporaryShortcut);
        return false;
    }
    if (replacing)
        result.replacedFiles.emplace_back(path, std::move(before));
    Remember(result.writtenFiles, path);
    Remember(m_items, fileName);
    return true;
}

void RemoveCachesOfEmptiedFolders(const std::vector<std::string>&, const MenuLocations&, std::vector<std::string>&)
{
    // The Start menu keeps no cache of its own in the folders the group writes.
}

void RefreshDesktopCaches(const MenuLocations&)
{
    // The Start menu sees its folders change by itself.
}

bool IsProgramGroupFile(const std::string& folder, const std::string& name, const std::string& destFolder)
{
    if (!EndsWithShortcutExtension(name))
        return false;
    const std::string target = ShortcutTargetOf(folder + "/" + name);
    return !target.empty() && SameEntry(Parent(target), destFolder);
}

bool LeadsToMenuFolder(const std::string& folder, const MenuLocations& menus)
{
    // The group's folder lies right inside the Programs folder.
    const std::string programs = menus.dataHome;
    if (programs == folder || programs.rfind(folder + "/", 0) == 0)
        return true;
    return folder.rfind(programs + "/", 0) == 0 && folder.find('/', programs.size() + 1) == std::string::npos;
}
