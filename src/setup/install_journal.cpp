#include "setup/install_journal.h"

#include <algorithm>
#include <cerrno>

#include "base/atomic_file.h"
#include "setup/destination_check.h"
#include "setup/package_format.h"
#include "base/file_messages.h"

namespace {

constexpr size_t kMaxJournalBytes = size_t(1) << 20;

bool IsDiskFull(int error)
{
#ifdef EDQUOT
    if (error == EDQUOT)
        return true;
#endif
    return error == ENOSPC;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool IsDirectoryAt(const SetupFolder& dir, const std::string& name)
{
    return dir.KindOf(name) == EntryKind::Folder;
}

bool ExistsAt(const SetupFolder& dir, const std::string& name)
{
    return dir.KindOf(name) != EntryKind::Missing;
}

// Removes a file (never a folder) of the destination by name.
bool RemoveAt(const SetupFolder& dir, const std::string& name)
{
    if (name.empty() || IsDirectoryAt(dir, name))
        return false;
    return dir.Remove(name) || errno == ENOENT;
}

bool WriteAll(int fd, const std::string& text)
{
    return WriteAllToFd(fd, text.data(), text.size());
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
bool ReadJournal(const SetupFolder& dir, std::vector<std::vector<std::string>>& lines)
{
    uint64_t size = 0;
    const int fd = dir.OpenForReading(kJournalName, size);
    if (fd < 0)
        return errno == EINVAL;  // something else under the journal's name: no journal to act on
    std::string text;
    if (size <= kMaxJournalBytes) {
        text.resize(size_t(size));
        size_t done = 0;
        while (done < text.size()) {
            const long long n = ReadSome(fd, text.data() + done, text.size() - done);
            if (n <= 0)
                break;
            done += size_t(n);
        }
        text.resize(done);
    }
    CloseFile(fd);
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

bool DestinationLock::Acquire(const std::string& folder, std::string& message)
{
    m_path = folder;
    // The folder as the clerk chose it, which may be reached through a link.
    if (!m_folder.Open(folder, true)) {
        message = "No se puede abrir la carpeta " + InGuillemets(folder) + ". " + SetupWriteError(folder, errno);
        return false;
    }
    if (!m_folder.TryLock()) {
        m_folder.Close();
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
    const SetupFolder& dir = lock.Opened();
    if (!dir.IsOpen())
        return recovery;
    std::vector<std::vector<std::string>> lines;
    bool ended = false;
    if (ReadJournal(dir, lines)) {
        for (const auto& parts : lines)
            ended = ended || parts[0] == "OK";
        // Undone newest first, so a name created and then replaced ends as it began.
        for (auto it = lines.rbegin(); !ended && it != lines.rend(); ++it) {
            const auto& parts = *it;
            if (parts[0] == "C" && ExistsAt(dir, parts[1]) && RemoveAt(dir, parts[1]))
                touched.push_back(parts[1]);
            else if (parts[0] == "R" && ExistsAt(dir, parts[2]) && !IsDirectoryAt(dir, parts[1]) &&
                     dir.Rename(parts[2], parts[1]))
                touched.push_back(parts[1]);
        }
    }
    // Whatever is left of the installer's own in-progress files goes: partial copies,
    // backups no longer needed, the journal.
    std::vector<std::string> all;
    if (dir.Names(all)) {
        std::vector<std::string> names;
        for (const std::string& name : all)
            if (StartsWith(name, kInProgressPrefix) || StartsWith(name, kBackupPrefix) || name == kJournalName)
                names.push_back(name);
        for (const std::string& name : names)
            RemoveAt(dir, name);
    }
    dir.Sync();
    for (const auto& parts : lines)
        recovery.createdFolder = recovery.createdFolder || (!ended && parts[0] == "D");
    return recovery;
}

// ---- InstallJournal ----

InstallJournal::InstallJournal(const DestinationLock& lock) : m_dir(lock.Opened()), m_folder(lock.Folder())
{
}

InstallJournal::~InstallJournal()
{
    if (m_fd >= 0)
        CloseFile(m_fd);
}

bool InstallJournal::Append(const std::string& line, std::string& message)
{
    errno = 0;
    if (m_fd < 0 || !WriteAll(m_fd, line + "\n") || !FlushToDisk(m_fd)) {
        message = SetupWriteError(m_folder + "/" + kJournalName, errno ? errno : EIO);
        return false;
    }
    return true;
}

bool InstallJournal::Begin(bool createdFolder, std::string& message)
{
    m_createdFolder = createdFolder;
    RemoveAt(m_dir, kJournalName);
    m_fd = m_dir.CreateNew(kJournalName);
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
        backup = std::string(kBackupPrefix) + std::to_string(ProcessNumber()) + "-" + std::to_string(++m_backupCounter);
    while (ExistsAt(m_dir, backup));
    // Written down before the backup exists: a run stopped in between finds no backup and
    // leaves the file as it is, which is still the old one.
    if (!Append("R\t" + name + "\t" + backup, message))
        return false;
    Step step{name, backup, false};
    if (!m_dir.Link(name, backup)) {
        const int failure = errno;
        // A disk without hard links: the old file itself is moved aside.
        if (IsDiskFull(failure) || failure == EROFS || !m_dir.Rename(name, backup)) {
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
            RemoveAt(m_dir, step.backup);
    if (m_fd >= 0)
        CloseFile(m_fd);
    m_fd = -1;
    RemoveAt(m_dir, kJournalName);
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
            if (!RemoveAt(m_dir, it->name))
                notRestored.push_back(it->name);
        } else if (!it->backupMoved && m_dir.SameFile(it->name, it->backup)) {
            // The replacement never happened: the name still holds the old file, and the
            // backup is only a second name for it.
            RemoveAt(m_dir, it->backup);
        } else if (!m_dir.Rename(it->backup, it->name) && errno != ENOENT) {
            notRestored.push_back(it->name);
        }
    }
    m_steps.clear();
    if (m_fd >= 0)
        CloseFile(m_fd);
    m_fd = -1;
    RemoveAt(m_dir, kJournalName);
    m_dir.Sync();
    if (m_createdFolder && notRestored.empty())
        RemoveFolder(m_folder);
    return notRestored;
}
