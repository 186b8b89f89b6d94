// The system side of RawFile on Windows, the twin of raw_file_posix.cpp. The handle is
// kept as a C runtime descriptor (m_fd); every handle shares reading, writing and
// deleting, as POSIX files do, and a name that is a reparse point (a link) is refused
// where the POSIX side refuses to follow a symbolic link.
#include "tables/raw_file.h"
#include "tables/raw_file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "base/windows_paths.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE HandleOf(int fd)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

OVERLAPPED At(uint64_t position)
{
    OVERLAPPED at {};
    at.Offset = DWORD(position & 0xFFFFFFFFu);
    at.OffsetHigh = DWORD(position >> 32);
    return at;
}

bool Identity(HANDLE h, uint64_t& volume, uint64_t& index)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (!::GetFileInformationByHandle(h, &info))
        return false;
    volume = info.dwVolumeSerialNumber;
    index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

}  // namespace

bool RawFile::CreateNew(const std::string& path)
{
    Close();
    // CREATE_NEW fails on anything standing under the name, a link included.
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = ErrnoFromWin32(::GetLastError());
        return false;
    }
    m_fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_RDWR);
    if (m_fd < 0) {
        ::CloseHandle(h);
        m_error = EMFILE;
        return false;
    }
    m_error = 0;
    return TakeIdentity();
}

bool RawFile::TakeIdentity()
{
    if (!Identity(HandleOf(m_fd), m_device, m_inode)) {
        m_error = ErrnoFromWin32(::GetLastError());
        Close();
        return false;
    }
    return true;
}

bool RawFile::Open(const std::string& path, bool writable)
{
    Close();
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                   kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = ErrnoFromWin32(::GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        ::CloseHandle(h);
        m_error = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? ELOOP : EINVAL;
        return false;
    }
    m_fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | (writable ? _O_RDWR : _O_RDONLY));
    if (m_fd < 0) {
        ::CloseHandle(h);
        m_error = EMFILE;
        return false;
    }
    m_error = 0;
    m_device = info.dwVolumeSerialNumber;
    m_inode = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

void RawFile::Close()
{
    if (m_fd >= 0)
        ::_close(m_fd);
    m_fd = -1;
    DropCopy();
}

bool FileReadAt(int fd, uint64_t position, std::span<uint8_t> bytes, int& error)
{
    uint8_t* data = bytes.data();
    size_t size = bytes.size();
    while (size > 0) {
        OVERLAPPED at = At(position);
        DWORD n = 0;
        const DWORD piece = DWORD(size < (1u << 30) ? size : (1u << 30));
        if (!::ReadFile(HandleOf(fd), data, piece, &n, &at) || n == 0) {
            const DWORD code = ::GetLastError();
            error = n == 0 && (code == ERROR_HANDLE_EOF || code == NO_ERROR) ? EIO : ErrnoFromWin32(code);
            return false;
        }
        data += n;
        size -= n;
        position += n;
    }
    return true;
}

bool FileWriteAt(int fd, uint64_t position, std::span<const uint8_t> bytes, int& error)
{
    const uint8_t* data = bytes.data();
    size_t size = bytes.size();
    while (size > 0) {
        OVERLAPPED at = At(position);
        DWORD n = 0;
        const DWORD piece = DWORD(size < (1u << 30) ? size : (1u << 30));
        if (!::WriteFile(HandleOf(fd), data, piece, &n, &at)) {
            error = ErrnoFromWin32(::GetLastError());
            return false;
        }
        data += n;
        size -= n;
        position += n;
    }
    return true;
}

bool FileResize(int fd, uint64_t size, int& error)
{
    FILE_END_OF_FILE_INFO end {};
    end.EndOfFile.QuadPart = LONGLONG(size);
    if (::SetFileInformationByHandle(HandleOf(fd), FileEndOfFileInfo, &end, sizeof end))
        return true;
    error = ErrnoFromWin32(::GetLastError());
    return false;
}

bool RawFile::Flush()
{
    if (::FlushFileBuffers(HandleOf(m_fd)))
        return true;
    m_error = ErrnoFromWin32(::GetLastError());
    return false;
}

bool RawFile::IsAt(const std::string& path) const
{
    if (m_fd < 0)
        return false;
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    uint64_t volume = 0;
    uint64_t index = 0;
    const bool same = Identity(h, volume, index) && volume == m_device && index == m_inode;
    ::CloseHandle(h);
    return same;
}

int64_t FileSizeOf(int fd, int& error)
{
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(HandleOf(fd), &size)) {
        error = ErrnoFromWin32(::GetLastError());
        return -1;
    }
    return int64_t(size.QuadPart);
}

bool RawFile::Exists(const std::string& path)
{
    return ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RawFile::Remove(const std::string& path)
{
    return ::DeleteFileW(WidePath(path).c_str()) != 0;
}
