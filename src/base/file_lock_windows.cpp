// The Windows twin of file_lock_posix.cpp. The file is opened sharing nothing but
// deletion: no other program can open it, and so nobody else holds the lock, until the
// handle is closed, which the system does when the process ends in any way.
#include "base/file_lock.h"

#include <cerrno>
#include <windows.h>

#include "base/windows_paths.h"

bool FileLock::TryTake(const std::string& path)
{
    Release(false);
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = ErrnoFromWin32(::GetLastError());
        return false;
    }
    m_path = path;
    m_handle = reinterpret_cast<intptr_t>(h);
    return true;
}

void FileLock::Release(bool removeFile)
{
    if (m_handle == -1)
        return;
    // Deleting a file still open (shared for deletion) removes it when the handle closes.
    if (removeFile)
        ::DeleteFileW(WidePath(m_path).c_str());
    ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
}
