#include "setup/run_folder.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include "base/file_messages.h"

namespace {

constexpr char kLockName[] = "en-uso";
constexpr size_t kRandomPart = 6;

std::string WithTrailingSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
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

// Removes the installer's own files of the folder open as `dirFd` (never a folder, never
// anything by another name), then the folder when that left it empty.
void RemoveOwnFiles(int dirFd, const std::string& folderPath)
{
    DIR* dir = ::fdopendir(::dup(dirFd));
    if (!dir)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (IsOwnFileName(name) && ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            !S_ISDIR(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    // The lock file last: while it is there, the folder is still recognisably ours.
    for (const std::string& name : names)
        if (name != kLockName)
            ::unlinkat(dirFd, name.c_str(), 0);
    ::unlinkat(dirFd, kLockName, 0);
    ::rmdir(folderPath.c_str());
}

}  // namespace

RunFolder::~RunFolder()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool RunFolder::Create(const std::string& tempFolder, std::string& message)
{
    SweepAbandonedRunFolders(tempFolder);
    std::string pattern = WithTrailingSeparator(tempFolder) + kRunFolderPrefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        message = "No se puede crear una carpeta temporal en " + InGuillemets(tempFolder) +
                  ": revise que exista, que tenga permiso de escritura y que haya espacio en el disco.";
        return false;
    }
    const int fd = ::open((pattern + "/" + kLockName).c_str(),
                          O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0)
            ::close(fd);
        ::unlink((pattern + "/" + kLockName).c_str());
        ::rmdir(pattern.c_str());
        message = "No se puede crear una carpeta temporal en " + InGuillemets(tempFolder) +
                  ": revise que tenga permiso de escritura y que haya espacio en el disco.";
        return false;
    }
    m_path = pattern;
    m_lockFd = fd;
    return true;
}

void RunFolder::Remove()
{
    if (m_path.empty())
        return;
    const int dirFd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (dirFd >= 0) {
        RemoveOwnFiles(dirFd, m_path);
        ::close(dirFd);
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    m_lockFd = -1;
    m_path.clear();
}

int SweepAbandonedRunFolders(const std::string& tempFolder)
{
    const std::string base = WithTrailingSeparator(tempFolder);
    DIR* dir = ::opendir(base.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> candidates;
    const std::string prefix = kRunFolderPrefix;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + kRandomPart && name.compare(0, prefix.size(), prefix) == 0)
            candidates.push_back(name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : candidates) {
        const std::string path = base + name;
        // Opened without following a link, and only a folder of this user's.
        const int dirFd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (dirFd < 0)
            continue;
        struct stat st {};
        if (::fstat(dirFd, &st) != 0 || st.st_uid != ::getuid()) {
            ::close(dirFd);
            continue;
        }
        const int lockFd = ::openat(dirFd, kLockName, O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        bool abandoned = false;
        if (lockFd >= 0) {
            // A live run holds the lock; a run that ended, however, does not.
            abandoned = ::flock(lockFd, LOCK_EX | LOCK_NB) == 0;
        } else if (errno == ENOENT) {
            // A run stopped between making the folder and locking it: give a live one a
            // minute to get there.
            abandoned = ::time(nullptr) - st.st_mtime > 60;
        }
        if (abandoned) {
            RemoveOwnFiles(dirFd, path);
            struct stat after {};
            if (::lstat(path.c_str(), &after) != 0)
                ++removed;
        }
        if (lockFd >= 0)
            ::close(lockFd);
        ::close(dirFd);
    }
    return removed;
}
