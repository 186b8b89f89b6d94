#pragma once
// The installer's private folder in the system's temporary folder for one run:
// "<tmp>/kal-instalador-XXXXXX" (mode 0700), holding the run's temporary files and a
// lock file that stays locked while the run lives. The lock goes with the process
// however it ends (kill -9 included), so a later run recognises the folders of runs that
// are gone and removes them: only folders of this name that belong to the same user,
// and inside them only the installer's own files.
#include <memory>
#include <string>

class FileLock;

inline constexpr char kRunFolderPrefix[] = "kal-instalador-";

class RunFolder {
public:
    RunFolder();
    ~RunFolder();  // leaves the folder; Remove() takes it away
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Sweeps the folders of runs that are gone, then makes this run's own. False with a
    // Spanish sentence when the folder cannot be made.
    bool Create(const std::string& tempFolder, std::string& message);
    const std::string& Path() const { return m_path; }
    // Removes the installer's files in the folder, then the folder, and releases it.
    void Remove();

private:
    std::string m_path;
    std::unique_ptr<FileLock> m_lock;  // on the lock file, while the run lives
};

// Removes the run folders in `tempFolder` whose run has ended without removing them.
// Returns how many were removed.
int SweepAbandonedRunFolders(const std::string& tempFolder);
