#pragma once
// A lock a program holds on a file for as long as it keeps it: the system lets it go
// when the process ends in any way, so a lock that can be taken belongs to no live
// program. flock on POSIX; on Windows the file is held open with no sharing.
#include <cstdint>
#include <string>
#include <utility>

class FileLock {
public:
    FileLock() = default;
    ~FileLock() { Release(false); }
    FileLock(FileLock&& other) noexcept { Swap(other); }
    FileLock& operator=(FileLock&& other) noexcept
    {
        Release(false);
        Swap(other);
        return *this;
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of the file at `path` (made when missing) without waiting. False
    // when another program holds it or the file cannot be opened (errno says which).
    bool TryTake(const std::string& path);
    bool Held() const { return m_handle != -1; }
    // Lets the lock go. With `removeFile` the file is removed first, so nobody takes the
    // lock of a file about to vanish.
    void Release(bool removeFile);
    // The locked file was moved (with its folder) to `path`, still locked.
    void Moved(const std::string& path) { m_path = path; }

private:
    void Swap(FileLock& other) noexcept
    {
        std::swap(m_path, other.m_path);
        std::swap(m_handle, other.m_handle);
    }

    std::string m_path;
    intptr_t m_handle = -1;  // a file descriptor, or a Win32 handle
};
