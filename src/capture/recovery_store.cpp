#include "capture/recovery_store.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/file_messages.h"
#include "base/file_times.h"
#include "base/fs_path.h"
#include "base/session_temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kRunPrefix = "run-";
constexpr const char* kNewRunPrefix = ".nuevo-";
constexpr const char* kLockName = "lock";
constexpr const char* kCopySuffix = ".rec";
// No window's work comes near this; a larger file is not one of ours.
constexpr size_t kMaxCopyBytes = size_t(64) << 20;
// A run folder still being made carries its temporary name for a moment only; one left
// that long was abandoned half-made.
constexpr int64_t kAbandonedNewRunSeconds = 60 * 60;

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

bool EndsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The atomic writer's temporary name for a copy: ".<name>.rec.XXXXXX".
bool IsCopyTemporary(const std::string& name)
{
    const size_t at = name.rfind(kCopySuffix);
    return name.size() > 1 && name[0] == '.' && at != std::string::npos && at > 1 &&
           name.size() == at + std::string(kCopySuffix).size() + 7 && name[at + 4] == '.';
}

// Takes the lock of a run folder without waiting: false when a live run holds it, or
// the lock file cannot be made.
bool TakeLock(const std::string& runFolder, FileLock& lock)
{
    return lock.TryTake(runFolder + "/" + kLockName);
}

// What stands at `path`, the link itself when it is one; `none` when nothing does.
fs::file_status StatusOf(const std::string& path)
{
    std::error_code ec;
    return fs::symlink_status(FsPath(path), ec);
}

bool HoldsOnlyTheLock(const std::string& runFolder)
{
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(FsPath(runFolder), ec))
        if (entry.path().filename() != kLockName)
            return false;
    return true;
}

std::vector<std::string> SortedNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(FsPath(folder), ec))
        names.push_back(Utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(FsPath(path), ec);
}

void RemoveAll(const std::string& path)
{
    std::error_code ec;
    fs::remove_all(FsPath(path), ec);
}

std::string FolderProblem(const std::string& folder, int error)
{
    return FileErrorMessage(FileAction::Write, folder, error);
}

}  // namespace

RecoveryStore::~RecoveryStore()
{
    m_claims.clear();
    Close();
}

bool RecoveryStore::Open(const std::string& folder, std::string& problem)
{
    Close();
    std::error_code ec;
    fs::create_directories(FsPath(folder), ec);
    const fs::file_status status = StatusOf(folder);
    if (!fs::exists(status)) {
        problem = FolderProblem(folder, ec ? ErrnoOf(ec) : ENOENT);
        return false;
    }
    if (!fs::is_directory(status)) {
        problem = FolderProblem(folder, ENOTDIR);
        return false;
    }
    // Typed data may be private: only the clerk may read the copies.
    int error = 0;
    if (!MakeFolderOwnerOnly(folder, error)) {
        problem = FolderProblem(folder, error);
        return false;
    }
    // The run folder is made under a temporary name and renamed once it is locked, so a
    // program starting at the same moment never takes a live run for a dead one.
    std::string pattern;
    if (!MakeUniqueFolder(folder, kNewRunPrefix, pattern, error)) {
        problem = FolderProblem(folder, error);
        return false;
    }
    FileLock lock;
    if (!TakeLock(pattern, lock)) {
        error = errno;
        RemoveAll(pattern);
        problem = FolderProblem(folder, error);
        return false;
    }
    const std::string run = folder + "/" + kRunPrefix + pattern.substr(pattern.size() - 6);
    // The lock file moves with its folder, held all along (a folder holding a file open
    // for deletion can be renamed on Windows too).
    fs::rename(FsPath(pattern), FsPath(run), ec);
    if (ec) {
        lock.Release(true);
        RemoveAll(pattern);
        problem = FolderProblem(folder, ErrnoOf(ec));
        return false;
    }
    lock.Moved(run + "/" + kLockName);
    m_folder = folder;
    m_runFolder = run;
    m_lock = std::move(lock);
    return true;
}

bool RecoveryStore::Write(const std::string& name, std::span<const uint8_t> encoded, std::string& problem) const
{
    if (!IsOpen()) {
        problem = "Las copias de recuperación están desactivadas.";
        return false;
    }
    return WriteFileAtomically(m_runFolder + "/" + name, encoded, &problem, true);
}

void RecoveryStore::Remove(const std::string& name) const
{
    if (IsOpen())
        RemoveFile(m_runFolder + "/" + name);
}

void RecoveryStore::Close()
{
    if (!IsOpen())
        return;
    const bool empty = HoldsOnlyTheLock(m_runFolder);
    m_lock.Release(empty);
    if (empty)
        RemoveFile(m_runFolder);
    m_runFolder.clear();
}

RecoveryStore::Leftovers RecoveryStore::ClaimLeftovers(int64_t nowSeconds)
{
    Leftovers found;
    if (m_folder.empty())
        return found;
    m_claimTime = nowSeconds;
    for (const std::string& name : SortedNames(m_folder)) {
        const std::string path = m_folder + "/" + name;
        if (path == m_runFolder || name == kAsideFolder)
            continue;
        const fs::file_status status = StatusOf(path);
        if (!fs::exists(status))
            continue;
        const bool folder = fs::is_directory(status);
        int64_t modified = 0;
        if (folder && StartsWith(name, kRunPrefix)) {
            ClaimRun(path, nowSeconds, found);
        } else if (folder && StartsWith(name, kNewRunPrefix)) {
            // Half made by a program that stopped at once: nothing in it but the lock.
            FileLock lock;
            if (ModifiedSeconds(path, modified) && nowSeconds - modified > kAbandonedNewRunSeconds &&
                TakeLock(path, lock)) {
                lock.Release(true);
                RemoveAll(path);
            }
        } else {
            MoveAside(path, name, "no es una copia de recuperación de Ordexa.", found);
        }
    }
    RemoveOldAside(nowSeconds);
    std::stable_sort(found.copies.begin(), found.copies.end(), [](const LeftCopy& a, const LeftCopy& b) {
        return a.copy.savedAtSeconds < b.copy.savedAtSeconds;
    });
    return found;
}

void RecoveryStore::ClaimRun(const std::string& runFolder, int64_t nowSeconds, Leftovers& found)
{
    FileLock lock;
    if (!TakeLock(runFolder, lock))
        return;  // a live program's copies
    m_claims.push_back({runFolder, std::move(lock)});
    const std::string runName = Utf8(FsPath(runFolder).filename());
    for (const std::string& name : SortedNames(runFolder)) {
        const std::string path = runFolder + "/" + name;
        if (name == kLockName)
            continue;
        if (IsCopyTemporary(name)) {
            // A copy whose writing was cut off: the copy before it is still whole.
            RemoveFile(path);
            continue;
        }
        const fs::file_status status = StatusOf(path);
        if (!fs::exists(status))
            continue;
        if (!fs::is_regular_file(status) || !EndsWith(name, kCopySuffix)) {
            MoveAside(path, runName + "-" + name, "no es una copia de recuperación de Ordexa.", found);
            continue;
        }
        std::vector<uint8_t> bytes;
        std::string reason;
        LeftCopy left;
        left.file = path;
        if (!ReadWholeFile(path, bytes, &reason, kMaxCopyBytes)) {
            MoveAside(path, runName + "-" + name, reason, found);
            continue;
        }
        if (!DecodeRecoveryCopy(bytes, left.copy, reason)) {
            MoveAside(path, runName + "-" + name, reason, found);
            continue;
        }
        left.expired = nowSeconds - left.copy.savedAtSeconds > kExpirySeconds;
        found.copies.push_back(std::move(left));
    }
}

void RecoveryStore::MoveAside(const std::string& path, const std::string& asideName, const std::string& reason,
                              Leftovers& found)
{
    found.refused.push_back({path, reason});
    const std::string aside = m_folder + "/" + kAsideFolder;
    std::error_code ec;
    if (fs::create_directory(FsPath(aside), ec)) {
        int error = 0;
        MakeFolderOwnerOnly(aside, error);
    }
    std::string target = aside + "/" + asideName;
    for (int n = 2; fs::exists(StatusOf(target)) && n < 1000; ++n)
        target = aside + "/" + asideName + "." + std::to_string(n);
    fs::rename(FsPath(path), FsPath(target), ec);
    if (!ec) {
        // The time it was moved aside is the time its expiry counts from.
        SetModifiedSeconds(target, m_claimTime);
        return;
    }
    // What cannot be moved aside must not be met at every start either.
    RemoveAll(path);
}

void RecoveryStore::RemoveOldAside(int64_t nowSeconds)
{
    const std::string aside = m_folder + "/" + kAsideFolder;
    std::error_code ec;
    std::vector<std::string> old;
    for (const std::string& name : SortedNames(aside)) {
        const std::string path = aside + "/" + name;
        int64_t modified = 0;
        if (ModifiedSeconds(path, modified) && nowSeconds - modified > kExpirySeconds)
            old.push_back(path);
    }
    for (const std::string& path : old)
        RemoveAll(path);
}

void RecoveryStore::Resolve(const LeftCopy& copy)
{
    RemoveFile(copy.file);
}

void RecoveryStore::ReleaseLeftovers(const Leftovers& leftovers)
{
    for (const LeftCopy& left : leftovers.copies)
        if (left.expired)
            Resolve(left);
    for (Claim& claim : m_claims) {
        const bool empty = HoldsOnlyTheLock(claim.folder);
        claim.lock.Release(empty);
        if (empty)
            RemoveFile(claim.folder);
    }
    m_claims.clear();
}
