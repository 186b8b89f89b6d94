#include "base/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool FileLock::TryTake(const std::string& path)
{
    Release(false);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_CREAT, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    m_path = path;
    m_handle = fd;
    return true;
}

void FileLock::Release(bool removeFile)
{
    if (m_handle == -1)
        return;
    if (removeFile)
        ::unlink(m_path.c_str());
    ::close(int(m_handle));
    m_handle = -1;
}
