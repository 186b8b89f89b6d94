// The Windows twin of setup_files_posix.cpp: the same rules over the Win32 calls. A
// reparse point (a symbolic link or a junction) is what POSIX calls a link: looked at,
// never followed, where the POSIX code refuses to follow a link.
#include "setup/setup_files.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <cstdlib>
#include <windows.h>

#include "base/fs_path.h"
#include "base/windows_paths.h"

namespace {

void SetErrnoFromLastError()
{
    errno = ErrnoFromWin32(::GetLastError());
}

// The attributes and type of what stands at `path`; `follow` goes through a reparse
// point to what it names.
bool Attributes(const std::string& path, bool follow, DWORD& attributes, DWORD& type)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrnoFromLastError();
        return false;
    }
    type = ::GetFileType(h);
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    attributes = known ? info.dwFileAttributes : 0;
    return true;
}

EntryKind Kind(const std::string& path, bool follow)
{
    DWORD attributes = 0;
    DWORD type = 0;
    if (!Attributes(path, follow, attributes, type))
        return EntryKind::Missing;
    if (type != FILE_TYPE_DISK)
        return EntryKind::Other;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return EntryKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
}

int DescriptorOf(HANDLE h, int flags)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), flags | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(h);
        errno = EMFILE;
    }
    return fd;
}

}  // namespace

EntryKind KindAt(const std::string& path)
{
    return Kind(path, false);
}

EntryKind KindFollowing(const std::string& path)
{
    return Kind(path, true);
}

bool OwnedByUser(const std::string& path)
{
    (void)path;
    return true;
}

bool FolderNames(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    WIN32_FIND_DATAW found {};
    const HANDLE h = ::FindFirstFileW(WidePath(folder + "/*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrnoFromLastError();
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty folder
    }
    do {
        const std::string name = Utf8Path(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    return true;
}

bool RemoveFile(const std::string& path)
{
    DWORD attributes = 0;
    DWORD type = 0;
    if (!Attributes(path, false, attributes, type))
        return false;
    const std::wstring wide = WidePath(path);
    // A junction or a link to a folder is removed as a folder is, leaving what it names.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            errno = EISDIR;
            return false;
        }
        if (::RemoveDirectoryW(wide.c_str()))
            return true;
    } else if (::DeleteFileW(wide.c_str())) {
        return true;
    }
    SetErrnoFromLastError();
    return false;
}

bool RemoveFolder(const std::string& path)
{
    if (KindAt(path) == EntryKind::Link) {
        errno = ENOTDIR;
        return false;
    }
    if (::RemoveDirectoryW(WidePath(path).c_str()))
        return true;
    SetErrnoFromLastError();
    return false;
}

bool MakeFolder(const std::string& path)
{
    if (::CreateDirectoryW(WidePath(path).c_str(), nullptr))
        return true;
    SetErrnoFromLastError();
    return false;
}

bool RenameOver(const std::string& from, const std::string& to)
{
    const std::wstring target = WidePath(to);
    if (::MoveFileExW(WidePath(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD code = ::GetLastError();
    // Windows refuses to replace a program that is running with "access denied": where
    // the file is not marked read-only (and the folder took the new file a moment ago),
    // the file is in use, and the clerk is told to close it.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        errno = EBUSY;
    else
        errno = ErrnoFromWin32(code);
    return false;
}

bool SetFileMode(const std::string&, unsigned)
{
    return true;
}

std::string RealPath(const std::string& path)
{
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, resolved.data(), DWORD(resolved.size()), VOLUME_NAME_DOS);
    if (n >= resolved.size()) {
        resolved.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(h, resolved.data(), DWORD(resolved.size()), VOLUME_NAME_DOS);
    }
    ::CloseHandle(h);
    if (n == 0 || n >= resolved.size())
        return {};
    resolved.resize(n);
    std::string text = GenericPath(Utf8Path(resolved));
    if (text.rfind("//?/UNC/", 0) == 0)
        return "//" + text.substr(8);
    if (text.rfind("//?/", 0) == 0)
        return text.substr(4);
    return text;
}

bool IsFullPath(const std::string& path)
{
    return RootLength(path) > 0;
}

std::string GenericPath(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

size_t RootLength(const std::string& path)
{
    const auto separator = [](char c) { return c == '/' || c == '\\'; };
    if (path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
        path[1] == ':' && separator(path[2]))
        return 3;
    return 0;
}

bool MayWriteInFolder(const std::string& folder)
{
    // Windows tells what a user may do in a folder only by trying: a file nobody else can
    // name is made and goes again when its handle closes.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::string probe = folder + "/.kal-prueba-" + RandomNamePart();
        const HANDLE h = ::CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            SetErrnoFromLastError();
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

bool FreeDiskBytes(const std::string& path, uint64_t& bytes)
{
    ULARGE_INTEGER available {};
    if (!::GetDiskFreeSpaceExW(WidePath(path).c_str(), &available, nullptr, nullptr)) {
        SetErrnoFromLastError();
        return false;
    }
    bytes = available.QuadPart;
    return true;
}

std::string SystemTempFolderPath()
{
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    std::string folder = n > 0 && n <= MAX_PATH + 1 ? GenericPath(Utf8Path(std::wstring(buffer, n))) : "C:/Windows/Temp/";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string HomeFolder()
{
    const wchar_t* profile = ::_wgetenv(L"USERPROFILE");
    return profile ? GenericPath(Utf8Path(profile)) : std::string();
}

std::string RunningProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return GenericPath(Utf8Path(path));
        }
        if (path.size() > 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

long ProcessNumber()
{
    return long(::GetCurrentProcessId());
}

int CreateExclusiveFile(const std::string& path)
{
    // CREATE_NEW never opens what is already there, a reparse point included.
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        // A folder under the name may be reported as "access denied": the name is taken.
        errno = code == ERROR_ACCESS_DENIED && KindAt(path) != EntryKind::Missing ? EEXIST : ErrnoFromWin32(code);
        return -1;
    }
    return DescriptorOf(h, _O_WRONLY);
}

int OpenPlainFileForReading(const std::string& path, uint64_t& size, bool followLinks)
{
    const EntryKind kind = followLinks ? KindFollowing(path) : KindAt(path);
    if (kind == EntryKind::Missing)
        return -1;
    if (kind != EntryKind::File) {
        errno = kind == EntryKind::Link ? ELOOP : EINVAL;
        return -1;
    }
    const HANDLE h = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrnoFromLastError();
        return -1;
    }
    LARGE_INTEGER bytes {};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileSizeEx(h, &bytes)) {
        ::CloseHandle(h);
        errno = EINVAL;
        return -1;
    }
    size = uint64_t(bytes.QuadPart);
    return DescriptorOf(h, _O_RDONLY);
}

bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset)
{
    const HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    auto* bytes = static_cast<uint8_t*>(data);
    while (size > 0) {
        OVERLAPPED at {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD n = 0;
        const DWORD want = DWORD(size < (1u << 30) ? size : (1u << 30));
        if (!::ReadFile(h, bytes, want, &n, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                errno = 0;
            else
                SetErrnoFromLastError();
            return false;
        }
        if (n == 0) {
            errno = 0;
            return false;
        }
        bytes += n;
        size -= n;
        offset += n;
    }
    return true;
}

long long ReadSome(int fd, void* data, size_t size)
{
    return ::_read(fd, data, unsigned(size < (1u << 30) ? size : (1u << 30)));
}

bool FlushToDisk(int fd)
{
    if (::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(fd))))
        return true;
    SetErrnoFromLastError();
    return false;
}

bool CloseFile(int fd)
{
    return ::_close(fd) == 0;
}

bool SetOpenFileMode(int, unsigned)
{
    return true;
}

std::string CreateUniqueFile(const std::string& folder, const std::string& prefix, int& fd)
{
    std::string path;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + "/" + prefix + RandomNamePart();
        fd = CreateExclusiveFile(path);
        if (fd >= 0 || errno != EEXIST)
            return path;
    }
    return path;
}
