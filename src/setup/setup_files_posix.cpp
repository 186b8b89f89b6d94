#include "setup/setup_files.h"
#include "setup/folder_names_posix.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <dirent.h>
#include <unistd.h>

namespace {

EntryKind KindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    if (S_ISLNK(mode))
        return EntryKind::Link;
    return EntryKind::Other;
}

}  // namespace

EntryKind KindAt(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? KindOfMode(st.st_mode) : EntryKind::Missing;
}

EntryKind KindFollowing(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? KindOfMode(st.st_mode) : EntryKind::Missing;
}

bool OwnedByUser(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && st.st_uid == ::getuid();
}

bool FolderNames(const std::string& folder, std::vector<std::string>& names)
{
    return TakeFolderNames(::opendir(folder.c_str()), names);
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool RemoveFolder(const std::string& path)
{
    return ::rmdir(path.c_str()) == 0;
}

bool MakeFolder(const std::string& path)
{
    return ::mkdir(path.c_str(), 0755) == 0;
}

bool RenameOver(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool SetFileMode(const std::string& path, unsigned mode)
{
    return ::chmod(path.c_str(), mode_t(mode)) == 0;
}

std::string RealPath(const std::string& path)
{
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
        return {};
    return resolved;
}

bool IsFullPath(const std::string& path)
{
    return !path.empty() && path[0] == '/';
}

std::string GenericPath(std::string path)
{
    return path;
}

size_t RootLength(const std::string& path)
{
    return IsFullPath(path) ? 1 : 0;
}

bool MayWriteInFolder(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool FreeDiskBytes(const std::string& path, uint64_t& bytes)
{
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0)
        return false;
    bytes = uint64_t(vfs.f_bavail) * uint64_t(vfs.f_frsize);
    return true;
}

std::string SystemTempFolderPath()
{
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp == '/') {
        std::string folder = tmp;
        if (folder.back() != '/')
            folder += '/';
        return folder;
    }
    return "/tmp/";
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

std::string RunningProgramPath()
{
    return "/proc/self/exe";
}

long ProcessNumber()
{
    return long(::getpid());
}

int CreateExclusiveFile(const std::string& path)
{
    for (;;) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

int OpenPlainFileForReading(const std::string& path, uint64_t& size, bool followLinks)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        ::close(fd);
        errno = error ? error : EINVAL;
        return -1;
    }
    size = uint64_t(st.st_size);
    return fd;
}

bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset)
{
    auto* bytes = static_cast<uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= size_t(n);
        offset += uint64_t(n);
    }
    return true;
}

long long ReadSome(int fd, void* data, size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        return n;
    }
}

bool FlushToDisk(int fd)
{
    return ::fsync(fd) == 0;
}

bool CloseFile(int fd)
{
    return ::close(fd) == 0;
}

bool SetOpenFileMode(int fd, unsigned mode)
{
    return ::fchmod(fd, mode_t(mode)) == 0;
}

std::string CreateUniqueFile(const std::string& folder, const std::string& prefix, int& fd)
{
    std::string path = folder + "/" + prefix + "XXXXXX";
    fd = ::mkostemp(path.data(), O_CLOEXEC);
    return path;
}
