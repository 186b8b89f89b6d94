#include "setup/setup_folder.h"
#include "setup/folder_names_posix.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

SetupFolder::~SetupFolder()
{
    Close();
}

bool SetupFolder::Open(const std::string& path, bool followLink)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return false;
    m_path = path;
    m_handle = fd;
    m_open = true;
    return true;
}

void SetupFolder::Close()
{
    if (m_handle != -1)
        ::close(int(m_handle));  // releases the lock
    m_handle = -1;
    m_open = false;
}

bool SetupFolder::TryLock()
{
    return m_open && ::flock(int(m_handle), LOCK_EX | LOCK_NB) == 0;
}

EntryKind SetupFolder::KindOf(const std::string& name) const
{
    struct stat st {};
    if (::fstatat(int(m_handle), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Missing;
    if (S_ISREG(st.st_mode))
        return EntryKind::File;
    if (S_ISDIR(st.st_mode))
        return EntryKind::Folder;
    return S_ISLNK(st.st_mode) ? EntryKind::Link : EntryKind::Other;
}

bool SetupFolder::OwnedByUser() const
{
    struct stat st {};
    return ::fstat(int(m_handle), &st) == 0 && st.st_uid == ::getuid();
}

bool SetupFolder::Names(std::vector<std::string>& names) const
{
    const int copy = ::dup(int(m_handle));
    DIR* dir = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!dir && copy >= 0)
        ::close(copy);
    return TakeFolderNames(dir, names);
}

bool SetupFolder::Remove(const std::string& name) const
{
    return ::unlinkat(int(m_handle), name.c_str(), 0) == 0;
}

bool SetupFolder::Rename(const std::string& from, const std::string& to) const
{
    return ::renameat(int(m_handle), from.c_str(), int(m_handle), to.c_str()) == 0;
}

bool SetupFolder::Link(const std::string& from, const std::string& to) const
{
    return ::linkat(int(m_handle), from.c_str(), int(m_handle), to.c_str(), 0) == 0;
}

bool SetupFolder::SameFile(const std::string& a, const std::string& b) const
{
    struct stat first {};
    struct stat second {};
    return ::fstatat(int(m_handle), a.c_str(), &first, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(int(m_handle), b.c_str(), &second, AT_SYMLINK_NOFOLLOW) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

int SetupFolder::CreateNew(const std::string& name) const
{
    return ::openat(int(m_handle), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
}

int SetupFolder::OpenForReading(const std::string& name, uint64_t& size) const
{
    const int fd = ::openat(int(m_handle), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    size = uint64_t(st.st_size);
    return fd;
}

void SetupFolder::Sync() const
{
    ::fsync(int(m_handle));
}
