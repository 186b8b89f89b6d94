// The Windows twin of atomic_file_posix.cpp: the same rules over the Win32 calls. Paths
// are UTF-8 and go to the wide-character calls; a temporary file is "locked" by being
// held open: nobody can open it exclusively, and so remove it, while its writer lives.
#include "base/atomic_file.h"
#include "base/atomic_writer.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <windows.h>

#include "base/file_messages.h"
#include "base/read_only_file.h"
#include "base/fs_path.h"
#include "base/windows_paths.h"

namespace {

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

int LastErrno()
{
    return ErrnoFromWin32(::GetLastError());
}

bool NameIsMissing(DWORD code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

// The file's type and attributes without following a reparse point. False (GetLastError
// set) when it cannot be looked at.
bool LookAt(const std::wstring& path, DWORD& type, DWORD& attributes)
{
    const HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    type = ::GetFileType(h);
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = ::GetFileInformationByHandle(h, &info) != 0;
    const DWORD code = ::GetLastError();
    ::CloseHandle(h);
    attributes = info.dwFileAttributes;
    ::SetLastError(code);
    return known || type != FILE_TYPE_DISK;
}

}  // namespace

bool ResolveWriteTarget(const std::string& path, std::string& resolved)
{
    // Links are not followed on Windows: CheckReplaceableTarget refuses a reparse point.
    resolved = path;
    return true;
}

bool CheckReplaceableTarget(const std::string& shownPath, const std::string& target, std::string* error)
{
    DWORD type = 0;
    DWORD attributes = 0;
    if (!LookAt(WidePath(target), type, attributes)) {
        const DWORD code = ::GetLastError();
        if (NameIsMissing(code))
            return true;
        SetError(error, FileErrorMessage(FileAction::Write, shownPath, ErrnoFromWin32(code)));
        return false;
    }
    if (type != FILE_TYPE_DISK) {
        SetError(error, NotAPlainFileMessage(shownPath));
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        SetError(error, FileErrorMessage(FileAction::Write, shownPath, EISDIR));
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        SetError(error, "No se puede guardar \"" + shownPath +
                            "\": es un enlace a otro lugar; guarde en el archivo al que apunta.");
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        SetError(error, "El archivo \"" + shownPath + "\" es de solo lectura; no se puede reemplazar.");
        return false;
    }
    return true;
}

int ReclaimStaleTemporaries(const std::string& target)
{
    namespace fs = std::filesystem;
    const fs::path targetPath(WidePath(target));
    const std::string targetName = Utf8Path(targetPath.filename().wstring());
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = L".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    int removed = 0;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (!IsTemporaryNameOf(Utf8Path(it->path().filename().wstring()), targetName))
            continue;
        // Opened with no sharing at all: this fails while any process holds the file, so
        // a save in progress keeps its temporary. A folder or a link is not opened as a
        // file and stays.
        const HANDLE h = ::CreateFileW(it->path().wstring().c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        BY_HANDLE_FILE_INFORMATION info {};
        FILE_DISPOSITION_INFO dispose {TRUE};
        if (::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
            !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose))
            ++removed;
        ::CloseHandle(h);
    }
    return removed;
}

AtomicWriter::AtomicWriter(const std::string& target) : m_target(target)
{
    namespace fs = std::filesystem;
    const fs::path targetPath(WidePath(target));
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = L".";
    const std::string prefix = "." + Utf8Path(targetPath.filename().wstring()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path path = folder / WidePath(prefix + RandomNamePart());
        // CREATE_NEW never opens what is already there. Deleting is shared so that the
        // file can be renamed while it is still held.
        const HANDLE h = ::CreateFileW(path.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
                continue;
            m_error = ErrnoFromWin32(code);
            return;
        }
        const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
        if (fd < 0) {
            ::CloseHandle(h);
            ::DeleteFileW(path.wstring().c_str());
            m_error = EMFILE;
            return;
        }
        m_fd = fd;
        m_path = Utf8Path(path.wstring());
        return;
    }
    m_error = EEXIST;
}

AtomicWriter::~AtomicWriter()
{
    if (m_fd < 0)
        return;
    ::_close(m_fd);
    if (!m_committed)
        ::DeleteFileW(WidePath(m_path).c_str());
}

bool AtomicWriter::Commit(bool flushToDisk)
{
    if (m_fd < 0)
        return false;
    const HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(m_fd));
    if (flushToDisk && !::FlushFileBuffers(h)) {
        m_error = LastErrno();
        return false;
    }
    // Renamed while still held, so no other save takes it for a leftover.
    if (!::MoveFileExW(WidePath(m_path).c_str(), WidePath(m_target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_error = LastErrno();
        return false;
    }
    m_committed = true;
    const int fd = m_fd;
    m_fd = -1;
    ::_close(fd);
    return true;
}

bool WriteAllToFd(int fd, const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const unsigned piece = unsigned(size < (1u << 30) ? size : (1u << 30));
        const int n = ::_write(fd, bytes, piece);
        if (n < 0)
            return false;
        bytes += n;
        size -= size_t(n);
    }
    return true;
}

ReadOnlyFile::Opened ReadOnlyFile::Open(const std::string& path, size_t maxBytes, std::string& error)
{
    Close();
    const std::wstring wide = WidePath(path);
    DWORD type = 0;
    DWORD attributes = 0;
    if (!LookAt(wide, type, attributes)) {
        error = FileErrorMessage(FileAction::Read, path, LastErrno());
        return Opened::Failed;
    }
    if (type != FILE_TYPE_DISK)
        return Opened::NotAPlainFile;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = FileErrorMessage(FileAction::Read, path, EISDIR);
        return Opened::Failed;
    }
    const HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = FileErrorMessage(FileAction::Read, path, LastErrno());
        return Opened::Failed;
    }
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(h, &size)) {
        error = FileErrorMessage(FileAction::Read, path, LastErrno());
        ::CloseHandle(h);
        return Opened::Failed;
    }
    if (uint64_t(size.QuadPart) > maxBytes) {
        ::CloseHandle(h);
        return Opened::TooLarge;
    }
    m_path = path;
    m_handle = reinterpret_cast<intptr_t>(h);
    m_size = uint64_t(size.QuadPart);
    return Opened::Yes;
}

long long ReadOnlyFile::Read(void* buffer, size_t size, std::string& error)
{
    DWORD n = 0;
    const DWORD want = DWORD(std::min<size_t>(size, 1u << 30));
    if (!::ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, want, &n, nullptr)) {
        error = FileErrorMessage(FileAction::Read, m_path, LastErrno());
        return -1;
    }
    return n;
}

void ReadOnlyFile::Close()
{
    if (m_handle != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
}
