#include "setup/install_journal.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/destination_check.h"
#include "setup/package_format.h"
#include "base/file_messages.h"

namespace {

constexpr size_t kMaxJournalBytes = size_t(1) << 20;

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool IsDirectoryAt(int dirFd, const std::string& name)
{
    struct stat st {};
    return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

bool ExistsAt(int dirFd, const std::string& name)
{
    struct stat st {};
    return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// Removes a file (never a folder) of the destination by name.
bool RemoveAt(int dirFd, const std::string& name)
{
    if (name.empty() || IsDirectoryAt(dirFd, name))
        return false;
    return ::unlinkat(dirFd, name.c_str(), 0) == 0 || errno == ENOENT;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return parts;
        start = tab + 1;
    }
}

// The journal a stopped run left, read defensively: only names a package may hold and
// backups of our own are ever acted on.
bool ReadJournal(int dirFd, std::vector<std::vector<std::string>>& lines)
{
    const int fd = ::openat(dirFd, kJournalName, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && uint64_t(st.st_size) <= kMaxJournalBytes) {
        text.resize(size_t(st.st_size));
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += size_t(n);
        }
        text.resize(done);
    }
    ::close(fd);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break;  // a line cut short by the stop was never acted on
        const std::vector<std::string> parts = SplitTabs(text.substr(start, end - start));
        start = end + 1;
        const bool valid = (parts.size() == 1 && (parts[0] == "D" || parts[0] == "OK")) ||
                           (parts.size() == 2 && parts[0] == "C" && IsSafePackageFileName(parts[1])) ||
                           (parts.size() == 3 && parts[0] == "R" && IsSafePackageFileName(parts[1]) &&
                            StartsWith(parts[2], kBackupPrefix) && IsSafePackageFileName(parts[2]));
        if (valid)
            lines.push_back(parts);
    }
    return true;
}

}  // namespace

// ---- DestinationLock ----

DestinationLock::~DestinationLock()
{
    if (m_fd >= 0)
        ::close(m_fd);  // releases the lock
}

bool DestinationLock::Acquire(const std::string& folder, std::string& message)
{
    m_folder = folder;
    // The folder as the clerk chose it, which may be reached through a link.
    m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        message = "No se puede abrir la carpeta " + InGuillemets(folder) + ". " + SetupWriteError(folder, errno);
        return false;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
        message = "Otro programa de instalación (o el desinstalador) está trabajando en la carpeta " + InGuillemets(folder) +
                  ". Espere a que termine y vuelva a intentarlo.";
        return false;
    }
    return true;
}

RecoveredRun RecoverInterruptedRun(const DestinationLock& lock)
{
    RecoveredRun recovery;
    std::vector<std::string>& touched = recovery.touched;
    const int dirFd = lock.Fd();
    if (dirFd < 0)
        return recovery;
    std::vector<std::vector<std::string>> lines;
    bool ended = false;
    if (ReadJournal(dirFd, lines)) {
        for (const auto& parts : lines)
            ended = ended || parts[0] == "OK";
        // Undone newest first, so a name created and then replaced ends as it began.
        for (auto it = lines.rbegin(); !ended && it != lines.rend(); ++it) {
            const auto& parts = *it;
            if (parts[0] == "C" && ExistsAt(dirFd, parts[1]) && RemoveAt(dirFd, parts[1]))
                touched.push_back(parts[1]);
            else if (parts[0] == "R" && ExistsAt(dirFd, parts[2]) && !IsDirectoryAt(dirFd, parts[1]) &&
                     ::renameat(dirFd, parts[2].c_str(), dirFd, parts[1].c_str()) == 0)
                touched.push_back(parts[1]);
        }
    }
    // Whatever is left of the installer's own in-progress files goes: partial copies,
    // backups no longer needed, the journal.
    DIR* dir = ::fdopendir(::dup(dirFd));
    if (dir) {
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (StartsWith(name, kInProgressPrefix) || StartsWith(name, kBackupPrefix) || name == kJournalName)
                names.push_back(name);
        }
        ::closedir(dir);
        for (const std::string& name : names)
            RemoveAt(dirFd, name);
    }
    ::fsync(dirFd);
    for (const auto& parts : lines)
        recovery.createdFolder = recovery.createdFolder || (!ended && parts[0] == "D");
    return recovery;
}

// ---- InstallJournal ----

InstallJournal::InstallJournal(const DestinationLock& lock) : m_dirFd(lock.Fd()), m_folder(lock.Folder())
{
}

InstallJournal::~InstallJournal()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstallJournal::Append(const std::string& line, std::string& message)
{
    if (m_fd < 0 || !WriteAll(m_fd, line + "\n") || ::fdatasync(m_fd) != 0) {
        message = SetupWriteError(m_folder + "/" + kJournalName, errno ? errno : EIO);
        return false;
    }
    return true;
}

bool InstallJournal::Begin(bool createdFolder, std::string& message)
{
    m_createdFolder = createdFolder;
    RemoveAt(m_dirFd, kJournalName);
    m_fd = ::openat(m_dirFd, kJournalName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        message = SetupWriteError(m_folder, errno);
        return false;
    }
    return !createdFolder || Append("D", message);
}

bool InstallJournal::WillCreate(const std::string& name, std::string& message)
{
    if (!Append("C\t" + name, message))
        return false;
    m_steps.push_back({name, {}, false});
    return true;
}

bool InstallJournal::WillReplace(const std::string& name, std::string& message)
{
    std::string backup;
    do
        backup = std::string(kBackupPrefix) + std::to_string(::getpid()) + "-" + std::to_string(++m_backupCounter);
    while (ExistsAt(m_dirFd, backup));
    // Written down before the backup exists: a run stopped in between finds no backup and
    // leaves the file as it is, which is still the old one.
    if (!Append("R\t" + name + "\t" + backup, message))
        return false;
    Step step{name, backup, false};
    if (::linkat(m_dirFd, name.c_str(), m_dirFd, backup.c_str(), 0) != 0) {
        const int failure = errno;
        // A disk without hard links: the old file itself is moved aside.
        if (failure == ENOSPC || failure == EDQUOT || failure == EROFS ||
            ::renameat(m_dirFd, name.c_str(), m_dirFd, backup.c_str()) != 0) {
            message = SetupWriteError(m_folder + "/" + name, failure);
            return false;
        }
        step.backupMoved = true;
    }
    m_steps.push_back(step);
    return true;
}

void InstallJournal::Commit()
{
    std::string ignored;
    Append("OK", ignored);
    for (const Step& step : m_steps)
        if (!step.backup.empty())
            RemoveAt(m_dirFd, step.backup);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    RemoveAt(m_dirFd, kJournalName);
    m_steps.clear();
}

bool InstallJournal::ReplacedAny() const
{
    return std::any_of(m_steps.begin(), m_steps.end(), [](const Step& step) { return !step.backup.empty(); });
}

std::vector<std::string> InstallJournal::RollBack()
{
    std::vector<std::string> notRestored;
    for (auto it = m_steps.rbegin(); it != m_steps.rend(); ++it) {
        if (it->backup.empty()) {
            if (!RemoveAt(m_dirFd, it->name))
                notRestored.push_back(it->name);
        } else if (::renameat(m_dirFd, it->backup.c_str(), m_dirFd, it->name.c_str()) != 0 && errno != ENOENT) {
            notRestored.push_back(it->name);
        }
    }
    m_steps.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    RemoveAt(m_dirFd, kJournalName);
    ::fsync(m_dirFd);
    if (m_createdFolder && notRestored.empty())
        ::rmdir(m_folder.c_str());
    return notRestored;
}
