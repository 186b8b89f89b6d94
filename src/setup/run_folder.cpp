#include "setup/run_folder.h"

#include <ctime>
#include <vector>

#include "base/file_lock.h"
#include "base/file_messages.h"
#include "base/file_times.h"
#include "base/session_temp_folder.h"
#include "setup/setup_folder.h"
#include "setup/temp_file_name.h"

namespace {

constexpr char kLockName[] = "en-uso";
constexpr size_t kRandomPart = 6;

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The installer's temporary files: "KAL" + 5 digits + ".dat" or ".bmp", and the lock.
bool IsOwnFileName(const std::string& name)
{
    if (name == kLockName)
        return true;
    if (name.size() != 12 || name.compare(0, 3, "KAL") != 0)
        return false;
    for (size_t i = 3; i < 8; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return name.compare(8, 4, ".dat") == 0 || name.compare(8, 4, ".bmp") == 0;
}

// Removes the installer's own files of the open folder (never a folder, never anything
// by another name), then the folder when that left it empty.
void RemoveOwnFiles(const SetupFolder& folder)
{
    std::vector<std::string> all;
    if (!folder.Names(all))
        return;
    std::vector<std::string> names;
    for (const std::string& name : all) {
        const EntryKind kind = IsOwnFileName(name) ? folder.KindOf(name) : EntryKind::Missing;
        if (kind != EntryKind::Missing && kind != EntryKind::Folder)
            names.push_back(name);
    }
    // The lock file last: while it is there, the folder is still recognisably ours.
    for (const std::string& name : names)
        if (name != kLockName)
            folder.Remove(name);
    folder.Remove(kLockName);
    RemoveFolder(folder.Path());
}

}  // namespace

RunFolder::RunFolder() : m_lock(std::make_unique<FileLock>())
{
}

RunFolder::~RunFolder() = default;

bool RunFolder::Create(const std::string& tempFolder, std::string& message)
{
    SweepAbandonedRunFolders(tempFolder);
    std::string folder;
    int error = 0;
    if (!MakeUniqueFolder(WithoutTrailingSlash(tempFolder), kRunFolderPrefix, folder, error)) {
        message = "No se puede crear una carpeta temporal en " + InGuillemets(tempFolder) +
                  ": revise que exista, que tenga permiso de escritura y que haya espacio en el disco.";
        return false;
    }
    folder = GenericPath(folder);
    const std::string lockPath = folder + "/" + kLockName;
    const int fd = CreateExclusiveFile(lockPath);
    const bool created = fd >= 0 && CloseFile(fd);
    if (!created || !m_lock->TryTake(lockPath)) {
        RemoveFile(lockPath);
        RemoveFolder(folder);
        message = "No se puede crear una carpeta temporal en " + InGuillemets(tempFolder) +
                  ": revise que tenga permiso de escritura y que haya espacio en el disco.";
        return false;
    }
    m_path = folder;
    return true;
}

void RunFolder::Remove()
{
    if (m_path.empty())
        return;
    // The lock is let go first: Windows removes no file that is held open.
    m_lock->Release(false);
    SetupFolder folder;
    if (folder.Open(m_path, false))
        RemoveOwnFiles(folder);
    m_path.clear();
}

int SweepAbandonedRunFolders(const std::string& tempFolder)
{
    const std::string base = WithTrailingSeparator(tempFolder);
    std::vector<std::string> names;
    if (!FolderNames(base, names))
        return 0;
    std::vector<std::string> candidates;
    const std::string prefix = kRunFolderPrefix;
    for (const std::string& name : names)
        if (name.size() == prefix.size() + kRandomPart && name.compare(0, prefix.size(), prefix) == 0)
            candidates.push_back(name);
    int removed = 0;
    for (const std::string& name : candidates) {
        const std::string path = base + name;
        // Opened without following a link, and only a folder of this user's.
        SetupFolder folder;
        if (!folder.Open(path, false) || !folder.OwnedByUser())
            continue;
        const EntryKind lockKind = folder.KindOf(kLockName);
        FileLock lock;
        bool abandoned = false;
        int64_t modified = 0;
        if (lockKind == EntryKind::File) {
            // A live run holds the lock; a run that ended, however, does not.
            abandoned = lock.TryTake(path + "/" + kLockName);
            lock.Release(false);
        } else if (lockKind == EntryKind::Missing) {
            // A run stopped between making the folder and locking it: give a live one a
            // minute to get there.
            abandoned = ModifiedSeconds(path, modified) && ::time(nullptr) - modified > 60;
        }
        if (abandoned) {
            RemoveOwnFiles(folder);
            folder.Close();
            if (KindAt(path) == EntryKind::Missing)
                ++removed;
        }
    }
    return removed;
}
