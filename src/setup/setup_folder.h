#pragma once
// A folder the installer works inside by the names of its entries. On POSIX the folder
// is held open and every call is made relative to it, so a folder swapped for a link
// half-way is never followed; on Windows a folder in use cannot be renamed or removed,
// and the names are joined to its path. Failures leave errno set.
#include <string>
#include <vector>

#include "setup/setup_files.h"

class SetupFolder {
public:
    SetupFolder() = default;
    ~SetupFolder();
    SetupFolder(const SetupFolder&) = delete;
    SetupFolder& operator=(const SetupFolder&) = delete;

    // Opens the folder at `path`, which may be reached through a link when `followLink`.
    bool Open(const std::string& path, bool followLink);
    bool IsOpen() const { return m_open; }
    const std::string& Path() const { return m_path; }
    // Lets the folder go, and with it the lock.
    void Close();
    // Takes, without waiting, a lock on the folder that lasts until Close or the end of
    // the process, however it ends. False when another program holds it.
    bool TryLock();

    EntryKind KindOf(const std::string& name) const;
    bool OwnedByUser() const;
    bool Names(std::vector<std::string>& names) const;
    // A file or link of the folder removed (never a folder).
    bool Remove(const std::string& name) const;
    // Renames within the folder, replacing a file already called `to`.
    bool Rename(const std::string& from, const std::string& to) const;
    // A second name for a file (a hard link).
    bool Link(const std::string& from, const std::string& to) const;
    // True when both names are the same file (two links to it).
    bool SameFile(const std::string& a, const std::string& b) const;
    // A new file created exclusively (mode 0600), open for writing: -1 on failure.
    int CreateNew(const std::string& name) const;
    // A plain file opened for reading, links not followed: -1 on failure.
    int OpenForReading(const std::string& name, uint64_t& size) const;
    // Makes the folder's names (created, renamed, removed) reach the disk.
    void Sync() const;

private:
    std::string m_path;
    bool m_open = false;
    intptr_t m_handle = -1;  // a descriptor of the folder; on Windows a Win32 handle of its lock file
};
