#pragma once
// The system calls of the installer's core, by path: POSIX calls in setup_files_posix.cpp,
// Win32 calls in setup_files_windows.cpp. Paths are UTF-8 with "/" between names on both
// systems ("C:/Users/ana/ordexa" on Windows; the wide-character calls take "/" as well).
// Failures leave errno set, so the Spanish file messages can say why.
#include <cstdint>
#include <string>
#include <vector>

// What stands at a path, looked at without following a link (on Windows a reparse
// point counts as a link).
enum class EntryKind { Missing, File, Folder, Link, Other };
EntryKind KindAt(const std::string& path);
// The same, following links: what a program opening the path would reach.
EntryKind KindFollowing(const std::string& path);
// True when the entry at `path` (not followed) belongs to the user running the
// installer. Always true on Windows, where the folders it looks at are the user's own.
bool OwnedByUser(const std::string& path);

// The names in a folder, without "." and "..". False when it cannot be read.
bool FolderNames(const std::string& folder, std::vector<std::string>& names);
// A file or link (never a folder) removed; a link itself, never what it points to.
bool RemoveFile(const std::string& path);
// An empty folder removed.
bool RemoveFolder(const std::string& path);
// One new folder (its parent must exist), readable by everybody, written by its owner.
bool MakeFolder(const std::string& path);
// Renames `from` to `to`, replacing a file already called `to`.
bool RenameOver(const std::string& from, const std::string& to);
// Gives the file permission bits (0755 for programs, 0644 for the rest). Windows has no
// such bits (a program is told by its ".exe"): nothing to do there.
bool SetFileMode(const std::string& path, unsigned mode);
// The path with every link and "." resolved, or empty when it does not exist.
std::string RealPath(const std::string& path);
// A full path: "/..." on POSIX, a drive's "C:/..." (or "C:\...") on Windows.
bool IsFullPath(const std::string& path);
// A path the system handed over, with "/" between names (Windows gives "\"; on POSIX
// a "\" is part of a name and stays).
std::string GenericPath(std::string path);
// Where the folder of a full path ends and its names begin: 1 for "/x", 3 for "C:/x".
size_t RootLength(const std::string& path);
// Whether the user may create and remove entries in the existing folder. False with
// errno set (EROFS for a read-only disk) otherwise.
bool MayWriteInFolder(const std::string& folder);
// The free bytes of the disk that holds `path`.
bool FreeDiskBytes(const std::string& path, uint64_t& bytes);
// The system's temporary folder, with "/" at its end.
std::string SystemTempFolderPath();
// The user's home folder ($HOME; on Windows the user's profile), empty when unknown.
std::string HomeFolder();
// The file of the program running now.
std::string RunningProgramPath();
// This process's number, for names no other process uses at the same time.
long ProcessNumber();

// Files as C runtime descriptors (on Windows too), for WriteAllToFd.
// A new file created exclusively (never opening or following anything already there),
// readable and writable by its owner only: -1 with errno set (EEXIST when taken).
int CreateExclusiveFile(const std::string& path);
// Opens an existing plain file for reading without following a link or waiting on a
// pipe; -1 with errno set otherwise (a folder, device or pipe gives EINVAL). `size`
// is its size.
int OpenPlainFileForReading(const std::string& path, uint64_t& size, bool followLinks = false);
// Reads exactly `size` bytes at `offset`; false at the end of the file or on an error.
bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset);
// Reads up to `size` bytes: the count, 0 at the end, -1 on an error.
long long ReadSome(int fd, void* data, size_t size);
// Makes the file's bytes reach the disk.
bool FlushToDisk(int fd);
bool CloseFile(int fd);
// Gives an open file the permission bits (nothing to do on Windows).
bool SetOpenFileMode(int fd, unsigned mode);
// A new file "<prefix>XXXXXX" in `folder`, its name drawn so nobody can know it in
// advance: the path, and the descriptor in `fd` (-1 and errno set on failure).
std::string CreateUniqueFile(const std::string& folder, const std::string& prefix, int& fd);
