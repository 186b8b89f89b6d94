#pragma once
// What an installation does to its destination folder, written down as it goes, so that
// a failure can put the folder back as it was, and a later run can do the same for a run
// that was stopped part-way (kill -9, a power cut).
//
// The installer's own files in the destination, all hidden and all swept by the next
// installation or uninstallation:
//   .kal-instalando-XXXXXX   a file being copied, renamed to its name when complete
//   .kal-respaldo-N-M        the file an installation replaced, until it has ended
//   .kal-diario              the journal: "D" (the run created the folder), "C\tname"
//                            (created), "R\tname\tbackup" (replaced; its backup),
//                            "OK" (the installation ended: keep what it did)
#include <string>
#include <vector>

#include "setup/setup_folder.h"

inline constexpr char kInProgressPrefix[] = ".kal-instalando-";
inline constexpr char kBackupPrefix[] = ".kal-respaldo-";
inline constexpr char kJournalName[] = ".kal-diario";

// The destination folder, opened and locked (an advisory lock on the folder itself) for
// one installation or uninstallation, so that two never work in it at once and a
// sweep never takes the files of a run that is still going.
class DestinationLock {
public:
    DestinationLock() = default;
    DestinationLock(const DestinationLock&) = delete;
    DestinationLock& operator=(const DestinationLock&) = delete;

    // False with a Spanish sentence when the folder cannot be opened, or when another
    // installation or uninstallation is working in it.
    bool Acquire(const std::string& folder, std::string& message);
    // Lets the folder and the lock go before the end of the object's life.
    void Release() { m_folder.Close(); }
    // The folder, open while the lock is held.
    const SetupFolder& Opened() const { return m_folder; }
    const std::string& Folder() const { return m_path; }

private:
    SetupFolder m_folder;
    std::string m_path;
};

// Undoes what a stopped run left in the locked folder (its journal without "OK"), keeps
// what a run that ended did, and removes every in-progress file, backup and journal.
struct RecoveredRun {
    std::vector<std::string> touched;  // names taken away or put back
    bool createdFolder = false;        // the stopped run had made the folder itself
};
RecoveredRun RecoverInterruptedRun(const DestinationLock& lock);

class InstallJournal {
public:
    explicit InstallJournal(const DestinationLock& lock);
    ~InstallJournal();
    InstallJournal(const InstallJournal&) = delete;
    InstallJournal& operator=(const InstallJournal&) = delete;

    // Starts the journal; `createdFolder` when this run made the destination folder.
    bool Begin(bool createdFolder, std::string& message);
    // `name` did not exist and is about to be created.
    bool WillCreate(const std::string& name, std::string& message);
    // `name` exists and is about to be replaced: a backup of it is made first (a second
    // link to it, or the file itself moved aside where links cannot be made).
    bool WillReplace(const std::string& name, std::string& message);
    // The installation has ended: the backups and the journal go, what it did stays.
    void Commit();
    // Whether the run has replaced (not only created) any file so far.
    bool ReplacedAny() const;
    // Puts everything back as it was before Begin. Returns the names that could not be
    // restored (empty when the folder is as it was).
    std::vector<std::string> RollBack();

private:
    bool Append(const std::string& line, std::string& message);

    const SetupFolder& m_dir;
    std::string m_folder;
    int m_fd = -1;
    bool m_createdFolder = false;
    struct Step {
        std::string name;
        std::string backup;  // empty: created
        bool backupMoved = false;
    };
    std::vector<Step> m_steps;
    int m_backupCounter = 0;
};
