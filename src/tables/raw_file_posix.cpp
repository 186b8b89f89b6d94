// The system side of RawFile over POSIX file descriptors; raw_file_windows.cpp is its
// Windows twin.
#include "tables/raw_file.h"
#include "tables/raw_file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAllAt(int fd, uint64_t position, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, off_t(position));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
        position += uint64_t(n);
    }
    return true;
}

}  // namespace

bool RawFile::CreateNew(const std::string& path)
{
    Close();
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    m_error = m_fd < 0 ? errno : 0;
    return m_fd >= 0 && TakeIdentity();
}

bool RawFile::TakeIdentity()
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        m_error = errno;
        Close();
        return false;
    }
    m_device = uint64_t(st.st_dev);
    m_inode = uint64_t(st.st_ino);
    return true;
}

bool RawFile::Open(const std::string& path, bool writable)
{
    Close();
    m_fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = EINVAL;
        Close();
        return false;
    }
    m_error = 0;
    m_device = uint64_t(st.st_dev);
    m_inode = uint64_t(st.st_ino);
    return true;
}

void RawFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    DropCopy();
}

bool FileReadAt(int fd, uint64_t position, std::span<uint8_t> bytes, int& error)
{
    uint8_t* data = bytes.data();
    size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size, off_t(position));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            return false;
        }
        data += n;
        size -= size_t(n);
        position += uint64_t(n);
    }
    return true;
}

bool FileWriteAt(int fd, uint64_t position, std::span<const uint8_t> bytes, int& error)
{
    if (WriteAllAt(fd, position, bytes.data(), bytes.size()))
        return true;
    error = errno;
    return false;
}

bool FileResize(int fd, uint64_t size, int& error)
{
    if (::ftruncate(fd, off_t(size)) == 0)
        return true;
    error = errno;
    return false;
}

bool RawFile::Flush()
{
    if (::fsync(m_fd) == 0)
        return true;
    m_error = errno;
    return false;
}

bool RawFile::IsAt(const std::string& path) const
{
    struct stat st {};
    return m_fd >= 0 && ::lstat(path.c_str(), &st) == 0 && uint64_t(st.st_dev) == m_device &&
           uint64_t(st.st_ino) == m_inode;
}

int64_t FileSizeOf(int fd, int& error)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = errno;
        return -1;
    }
    return int64_t(st.st_size);
}

bool RawFile::Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool RawFile::Remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}
