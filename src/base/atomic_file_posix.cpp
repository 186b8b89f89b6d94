#include "base/atomic_file.h"
#include "base/atomic_writer.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/file_messages.h"
#include "base/read_only_file.h"

namespace {

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

}  // namespace

bool ResolveWriteTarget(const std::string& path, std::string& resolved)
{
    namespace fs = std::filesystem;
    fs::path current(path);
    // The same bound the system puts on links followed while opening a path.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = current.string();
            return true;
        }
        std::error_code ec;
        const fs::path link = fs::read_symlink(current, ec);
        if (ec) {
            errno = ec.value();
            return false;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    errno = ELOOP;
    return false;
}

// Refuses an existing target the clerk should not overwrite. The administrator may write
// anything, so a file without any write permission counts as read-only for everyone:
// replacing it would silently undo somebody's deliberate protection.
bool CheckReplaceableTarget(const std::string& shownPath, const std::string& target, std::string* error)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0)
        return errno == ENOENT ? true : (SetError(error, FileErrorMessage(FileAction::Write, shownPath, errno)), false);
    if (S_ISDIR(st.st_mode)) {
        SetError(error, FileErrorMessage(FileAction::Write, shownPath, EISDIR));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        SetError(error, NotAPlainFileMessage(shownPath));
        return false;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) {
        SetError(error, "El archivo \"" + shownPath + "\" es de solo lectura; no se puede reemplazar.");
        return false;
    }
    return true;
}

int ReclaimStaleTemporaries(const std::string& target)
{
    namespace fs = std::filesystem;
    const fs::path targetPath(target);
    const std::string targetName = targetPath.filename().string();
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    int removed = 0;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsTemporaryNameOf(name, targetName))
            continue;
        const std::string candidate = it->path().string();
        // Not following links and not waiting on pipes: only a plain file of our own is
        // looked at, and only while nobody holds its lock.
        const int fd = ::open(candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(candidate.c_str(), &named) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino && ::unlink(candidate.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

AtomicWriter::AtomicWriter(const std::string& target) : m_target(target)
{
    namespace fs = std::filesystem;
    const fs::path targetPath(target);
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    const std::string pattern = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    // A cleaner of another save may take a name between its creation and its lock; the
    // name is then made again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string path = pattern;
        // mkstemp creates the file exclusively with mode 0600, so nobody else's file or
        // link in the folder can receive our bytes.
        const int fd = ::mkstemp(path.data());
        if (fd < 0) {
            m_error = errno;
            return;
        }
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        // The lock goes with the open file: it ends when this process ends, however.
        struct stat held {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_fd = fd;
            m_path = path;
            return;
        }
        m_error = errno ? errno : EAGAIN;
        ::close(fd);
    }
}

AtomicWriter::~AtomicWriter()
{
    if (m_fd >= 0 && !m_committed)
        ::unlink(m_path.c_str());
    if (m_fd >= 0)
        ::close(m_fd);
}

bool AtomicWriter::Commit(bool flushToDisk)
{
    if (m_fd < 0)
        return false;
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(m_target.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_fd, mode) != 0 || (flushToDisk && ::fsync(m_fd) != 0)) {
        m_error = errno;
        return false;
    }
    // Renamed while still open and locked, so no other save takes it for a leftover.
    if (::rename(m_path.c_str(), m_target.c_str()) != 0) {
        m_error = errno;
        return false;
    }
    m_committed = true;
    const int fd = m_fd;
    m_fd = -1;
    // After a flush the bytes are on the disk whatever the close says; without one a
    // failed close (a network folder) may have lost them, and that is a failure.
    if (::close(fd) != 0 && !flushToDisk) {
        m_error = errno;
        return false;
    }
    return true;
}

ReadOnlyFile::Opened ReadOnlyFile::Open(const std::string& path, size_t maxBytes, std::string& error)
{
    Close();
    // Not blocking: a named pipe would otherwise hold the open until somebody writes to
    // it, before it could be refused as not a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = FileErrorMessage(FileAction::Read, path, errno);
        return Opened::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = FileErrorMessage(FileAction::Read, path, errno);
        ::close(fd);
        return Opened::Failed;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = FileErrorMessage(FileAction::Read, path, EISDIR);
        return Opened::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Opened::NotAPlainFile;
    }
    if (uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        return Opened::TooLarge;
    }
    m_path = path;
    m_handle = fd;
    m_size = uint64_t(st.st_size);
    return Opened::Yes;
}

long long ReadOnlyFile::Read(void* buffer, size_t size, std::string& error)
{
    for (;;) {
        const ssize_t n = ::read(int(m_handle), buffer, size);
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            error = FileErrorMessage(FileAction::Read, m_path, errno);
            return -1;
        }
    }
}

void ReadOnlyFile::Close()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
    m_handle = -1;
}

bool WriteAllToFd(int fd, const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        size -= size_t(n);
    }
    return true;
}
