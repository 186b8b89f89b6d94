#include "capture/recovery_store.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "base/file_messages.h"

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

// Opens (making it if needed) and locks the lock file of a run folder without waiting.
// -1 when the lock is held by a live run, or the file cannot be opened.
int TakeLock(const std::string& runFolder, bool create)
{
    const std::string path = runFolder + "/" + kLockName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int64_t ModifiedSeconds(const struct stat& st)
{
    return int64_t(st.st_mtim.tv_sec);
}

std::string FolderProblem(const std::string& folder, int error)
{
    return FileErrorMessage(FileAction::Write, folder, error);
}

}  // namespace

RecoveryStore::~RecoveryStore()
{
    for (Claim& claim : m_claims)
        ::close(claim.lockFd);
    Close();
}

bool RecoveryStore::Open(const std::string& folder, std::string& problem)
{
    Close();
    std::error_code ec;
    fs::create_directories(folder, ec);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        problem = FolderProblem(folder, ec ? ec.value() : errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        problem = FolderProblem(folder, ENOTDIR);
        return false;
    }
    // Typed data may be private: only the clerk may read the copies.
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        problem = FolderProblem(folder, errno);
        return false;
    }
    // The run folder is made under a temporary name and renamed once it is locked, so a
    // program starting at the same moment never takes a live run for a dead one.
    std::string pattern = folder + "/" + kNewRunPrefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        problem = FolderProblem(folder, errno);
        return false;
    }
    const int fd = TakeLock(pattern, true);
    if (fd < 0) {
        const int error = errno;
        fs::remove_all(pattern, ec);
        problem = FolderProblem(folder, error);
        return false;
    }
    const std::string run = folder + "/" + kRunPrefix + pattern.substr(pattern.size() - 6);
    if (::rename(pattern.c_str(), run.c_str()) != 0) {
        const int error = errno;
        ::close(fd);
        fs::remove_all(pattern, ec);
        problem = FolderProblem(folder, error);
        return false;
    }
    m_folder = folder;
    m_runFolder = run;
    m_lockFd = fd;
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
        ::unlink((m_runFolder + "/" + name).c_str());
}

void RecoveryStore::Close()
{
    if (!IsOpen())
        return;
    bool copiesLeft = false;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_runFolder, ec))
        if (entry.path().filename() != kLockName)
            copiesLeft = true;
    if (!copiesLeft) {
        ::unlink((m_runFolder + "/" + kLockName).c_str());
        ::rmdir(m_runFolder.c_str());
    }
    ::close(m_lockFd);
    m_lockFd = -1;
    m_runFolder.clear();
}

RecoveryStore::Leftovers RecoveryStore::ClaimLeftovers(int64_t nowSeconds)
{
    Leftovers found;
    if (m_folder.empty())
        return found;
    m_claimTime = nowSeconds;
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = m_folder + "/" + name;
        if (path == m_runFolder || name == kAsideFolder)
            continue;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        const bool folder = S_ISDIR(st.st_mode);
        if (folder && StartsWith(name, kRunPrefix)) {
            ClaimRun(path, nowSeconds, found);
        } else if (folder && StartsWith(name, kNewRunPrefix)) {
            // Half made by a program that stopped at once: nothing in it but the lock.
            if (nowSeconds - ModifiedSeconds(st) > kAbandonedNewRunSeconds)
                if (const int fd = TakeLock(path, true); fd >= 0) {
                    fs::remove_all(path, ec);
                    ::close(fd);
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
    const int fd = TakeLock(runFolder, true);
    if (fd < 0)
        return;  // a live program's copies
    m_claims.push_back({runFolder, fd});
    const std::string runName = fs::path(runFolder).filename().string();
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(runFolder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = runFolder + "/" + name;
        if (name == kLockName)
            continue;
        if (IsCopyTemporary(name)) {
            // A copy whose writing was cut off: the copy before it is still whole.
            ::unlink(path.c_str());
            continue;
        }
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        if (!S_ISREG(st.st_mode) || !EndsWith(name, kCopySuffix)) {
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
    ::mkdir(aside.c_str(), 0700);
    std::string target = aside + "/" + asideName;
    for (int n = 2; ::access(target.c_str(), F_OK) == 0 && n < 1000; ++n)
        target = aside + "/" + asideName + "." + std::to_string(n);
    if (::rename(path.c_str(), target.c_str()) == 0) {
        // The time it was moved aside is the time its expiry counts from.
        const timespec times[2] = {{time_t(m_claimTime), 0}, {time_t(m_claimTime), 0}};
        ::utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW);
        return;
    }
    // What cannot be moved aside must not be met at every start either.
    std::error_code ec;
    fs::remove_all(path, ec);
}

void RecoveryStore::RemoveOldAside(int64_t nowSeconds)
{
    const std::string aside = m_folder + "/" + kAsideFolder;
    std::error_code ec;
    std::vector<std::string> old;
    for (const fs::directory_entry& entry : fs::directory_iterator(aside, ec)) {
        struct stat st {};
        if (::lstat(entry.path().c_str(), &st) == 0 && nowSeconds - ModifiedSeconds(st) > kExpirySeconds)
            old.push_back(entry.path().string());
    }
    for (const std::string& path : old)
        fs::remove_all(path, ec);
}

void RecoveryStore::Resolve(const LeftCopy& copy)
{
    ::unlink(copy.file.c_str());
}

void RecoveryStore::ReleaseLeftovers(const Leftovers& leftovers)
{
    for (const LeftCopy& left : leftovers.copies)
        if (left.expired)
            Resolve(left);
    for (Claim& claim : m_claims) {
        bool copiesLeft = false;
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(claim.folder, ec))
            if (entry.path().filename() != kLockName)
                copiesLeft = true;
        if (!copiesLeft) {
            ::unlink((claim.folder + "/" + kLockName).c_str());
            ::rmdir(claim.folder.c_str());
        }
        ::close(claim.lockFd);
    }
    m_claims.clear();
}
