// The Windows twin of setup_folder_posix.cpp. Windows cannot lock a folder that must stay
// removable, so the lock is a file of the user's temporary folder named after the folder
// (its full path, in lower case as Windows compares names), opened sharing nothing and
// deleted when its handle closes, which the system does however the process ends.
#include "setup/setup_folder.h"

#include <cerrno>
#include <cstdio>
#include <windows.h>

#include "base/windows_paths.h"

namespace {

std::string Joined(const std::string& folder, const std::string& name)
{
    return folder + "/" + name;
}

// FNV-1a of the folder's full path in lower case: one lock name per folder however
// the clerk wrote it.
std::string LockFileName(const std::string& folder)
{
    std::string real = RealPath(folder);
    std::wstring wide = WidePath(real.empty() ? folder : real);
    ::CharLowerBuffW(wide.data(), DWORD(wide.size()));
    uint64_t hash = 1469598103934665603ull;
    for (const wchar_t c : wide) {
        hash ^= uint64_t(c);
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "kal-carpeta-%016llx.bloqueo", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

SetupFolder::~SetupFolder()
{
    Close();
}

bool SetupFolder::Open(const std::string& path, bool followLink)
{
    Close();
    const EntryKind kind = followLink ? KindFollowing(path) : KindAt(path);
    if (kind != EntryKind::Folder) {
        if (kind != EntryKind::Missing)
            errno = ENOTDIR;
        return false;
    }
    m_path = path;
    m_open = true;
    return true;
}

void SetupFolder::Close()
{
    if (m_handle != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
    m_open = false;
}

bool SetupFolder::TryLock()
{
    if (!m_open)
        return false;
    if (m_handle != -1)
        return true;
    const std::string lockPath = SystemTempFolderPath() + LockFileName(m_path);
    const HANDLE h = ::CreateFileW(WidePath(lockPath).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = ErrnoFromWin32(::GetLastError());
        return false;
    }
    m_handle = reinterpret_cast<intptr_t>(h);
    return true;
}

EntryKind SetupFolder::KindOf(const std::string& name) const
{
    return KindAt(Joined(m_path, name));
}

bool SetupFolder::OwnedByUser() const
{
    return true;
}

bool SetupFolder::Names(std::vector<std::string>& names) const
{
    return FolderNames(m_path, names);
}

bool SetupFolder::Remove(const std::string& name) const
{
    return RemoveFile(Joined(m_path, name));
}

bool SetupFolder::Rename(const std::string& from, const std::string& to) const
{
    return RenameOver(Joined(m_path, from), Joined(m_path, to));
}

bool SetupFolder::Link(const std::string& from, const std::string& to) const
{
    if (::CreateHardLinkW(WidePath(Joined(m_path, to)).c_str(), WidePath(Joined(m_path, from)).c_str(), nullptr))
        return true;
    errno = ErrnoFromWin32(::GetLastError());
    return false;
}

bool SetupFolder::SameFile(const std::string& a, const std::string& b) const
{
    const auto identity = [&](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
        const HANDLE h = ::CreateFileW(WidePath(Joined(m_path, name)).c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const bool known = ::GetFileInformationByHandle(h, &info) != 0;
        ::CloseHandle(h);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION first {};
    BY_HANDLE_FILE_INFORMATION second {};
    return identity(a, first) && identity(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

int SetupFolder::CreateNew(const std::string& name) const
{
    return CreateExclusiveFile(Joined(m_path, name));
}

int SetupFolder::OpenForReading(const std::string& name, uint64_t& size) const
{
    return OpenPlainFileForReading(Joined(m_path, name), size, false);
}

void SetupFolder::Sync() const
{
    // Renames are written through (MOVEFILE_WRITE_THROUGH); a folder has no flush of its own.
}
