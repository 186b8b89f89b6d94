#pragma once
// The folder of recovery copies. Each running program keeps its copies in a folder of
// its own ("run-XXXXXX"), holding a lock on the file "lock" inside it for as long as it
// runs; the system drops that lock when the process ends in any way, so a run folder
// whose lock can be taken belongs to a run that is over, and one whose lock is held
// belongs to a live program whose copies are not ours to take.
//
//   <folder>/                owner-only (0700)
//     run-XXXXXX/lock        held by the live run
//     run-XXXXXX/<name>.rec  one copy per window with unsaved work
//     apartados/             damaged or foreign files, moved out of the way
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/file_lock.h"
#include "capture/recovery_copy.h"

class RecoveryStore {
public:
    // Copies older than this are offered one last time and then removed; files moved
    // aside go after the same time.
    static constexpr int64_t kExpirySeconds = int64_t(30) * 24 * 60 * 60;
    static constexpr const char* kAsideFolder = "apartados";

    struct LeftCopy {
        std::string file;  // full path of the copy
        RecoveryCopy copy;
        bool expired = false;
    };
    struct Refused {
        std::string file;    // where it was found
        std::string reason;  // Spanish, what is wrong with it
    };
    struct Leftovers {
        std::vector<LeftCopy> copies;  // oldest first
        std::vector<Refused> refused;  // moved aside (or removed when even that failed)
    };

    RecoveryStore() = default;
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Makes `folder` (owner-only) and this run's own locked folder in it. False with a
    // Spanish sentence naming the folder and what is wrong when copies cannot be kept
    // there.
    bool Open(const std::string& folder, std::string& problem);
    bool IsOpen() const { return m_lock.Held(); }
    const std::string& Folder() const { return m_folder; }
    const std::string& RunFolder() const { return m_runFolder; }

    // Writes this run's copy `name` (a plain file name) atomically, or removes it. They
    // touch nothing but that file, so one writer thread may call them while the rest of
    // the program goes on.
    bool Write(const std::string& name, std::span<const uint8_t> encoded, std::string& problem) const;
    void Remove(const std::string& name) const;
    // Ends this run: its folder goes when no copy is left in it, and the lock is let go
    // (a copy left behind is then offered at the next start).
    void Close();

    // The copies of runs that did not end normally. Their run folders stay locked by
    // this program until ReleaseLeftovers, so another program starting meanwhile leaves
    // them alone. Damaged and foreign files are moved aside (and listed); leftover
    // temporary files of a dead run are removed; files moved aside more than
    // kExpirySeconds ago are removed.
    Leftovers ClaimLeftovers(int64_t nowSeconds);
    // A copy dealt with (recovered or discarded): its file goes.
    static void Resolve(const LeftCopy& copy);
    // Lets the claimed runs go: expired copies still there are removed, run folders left
    // empty are removed, and the other copies wait for the next start.
    void ReleaseLeftovers(const Leftovers& leftovers);

private:
    struct Claim {
        std::string folder;
        FileLock lock;
    };
    void ClaimRun(const std::string& runFolder, int64_t nowSeconds, Leftovers& found);
    void MoveAside(const std::string& path, const std::string& asideName, const std::string& reason, Leftovers& found);
    void RemoveOldAside(int64_t nowSeconds);

    std::string m_folder;
    std::string m_runFolder;
    FileLock m_lock;
    std::vector<Claim> m_claims;
    int64_t m_claimTime = 0;
};
