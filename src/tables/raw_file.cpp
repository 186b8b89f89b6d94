#include "tables/raw_file.h"

#include "base/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

bool RawFile::KeepCopy(uint64_t limit)
{
    DropCopy();
    const int64_t size = Size();
    if (limit == 0 || size < 0 || uint64_t(size) > limit)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!ReadAt(0, bytes))
        return false;
    m_copy = std::move(bytes);
    m_copyLimit = limit;
    return true;
}

void RawFile::DropCopy()
{
    m_copyLimit = 0;
    std::vector<uint8_t>().swap(m_copy);
}

void RawFile::CopyWrite(uint64_t position, std::span<const uint8_t> bytes)
{
    if (!HasCopy() || bytes.empty())
        return;
    const uint64_t end = position + bytes.size();
    if (end > m_copyLimit) {
        DropCopy();
        return;
    }
    // Writing past the end leaves a gap the file reads as zeros.
    if (end > m_copy.size())
        m_copy.resize(size_t(end), 0);
    std::copy(bytes.begin(), bytes.end(), m_copy.begin() + ptrdiff_t(position));
}

void RawFile::CopyResize(uint64_t size)
{
    if (!HasCopy())
        return;
    if (size > m_copyLimit)
        DropCopy();
    else
        m_copy.resize(size_t(size), 0);
}

bool RawFile::ReadAt(uint64_t position, std::span<uint8_t> bytes) const
{
    if (HasCopy()) {
        // As from the file: what lies before the end is given, a read past it fails.
        const uint64_t size = m_copy.size();
        const uint64_t available = position < size ? std::min<uint64_t>(size - position, bytes.size()) : 0;
        std::copy_n(m_copy.begin() + ptrdiff_t(position < size ? position : size), size_t(available), bytes.begin());
        if (available == bytes.size())
            return true;
        m_error = EIO;
        return false;
    }
    uint8_t* data = bytes.data();
    size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::pread(m_fd, data, size, off_t(position));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n < 0 ? errno : EIO;
            return false;
        }
        data += n;
        size -= size_t(n);
        position += uint64_t(n);
    }
    return true;
}

bool RawFile::WriteAt(uint64_t position, std::span<const uint8_t> bytes)
{
    if (WriteAllAt(m_fd, position, bytes.data(), bytes.size())) {
        CopyWrite(position, bytes);
        return true;
    }
    m_error = errno;
    // Part of the bytes may have reached the file: only the file knows what it holds.
    DropCopy();
    return false;
}

bool RawFile::Truncate(uint64_t size)
{
    if (::ftruncate(m_fd, off_t(size)) == 0) {
        CopyResize(size);
        return true;
    }
    m_error = errno;
    DropCopy();
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

int64_t RawFile::Size() const
{
    if (HasCopy())
        return int64_t(m_copy.size());
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        m_error = errno;
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

bool RawFile::ReadPrefix(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    RawFile file;
    if (!file.Open(path, false))
        return false;
    const int64_t size = file.Size();
    if (size < 0)
        return false;
    bytes.resize(size_t(std::min<uint64_t>(uint64_t(size), maxBytes)));
    return file.ReadAt(0, bytes);
}

bool RawFile::ReplaceContents(const std::string& path, std::span<const uint8_t> bytes)
{
    return WriteFileAtomically(path, bytes, nullptr, true);
}
