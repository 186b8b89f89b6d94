#pragma once
// The pieces of an atomic save (base/atomic_file.h), for writers that stream their bytes
// (a PDF of many pages) and for the two sides of the file layer (POSIX and Windows).
//
// A temporary file is named ".<target's name>.XXXXXX" (six letters or digits) and is held
// locked by the process writing it until it has been renamed (flock on POSIX; on Windows
// it is held open, so nobody can open it exclusively). A save killed half-way leaves its
// temporary behind; the next save of the same target removes the temporaries of that
// target that no live process holds.
#include <cstdint>
#include <span>
#include <string>

// Checks that an existing `target` (already resolved) may be replaced: a plain file the
// clerk may write. False with a Spanish sentence naming `shownPath` otherwise; true when
// nothing exists under the name yet.
bool CheckReplaceableTarget(const std::string& shownPath, const std::string& target, std::string* error);

// True when `name` (a file name without folder) is one of our temporary names for a
// target named `targetName`: "." + targetName + "." + six letters or digits.
bool IsTemporaryNameOf(const std::string& name, const std::string& targetName);

// Removes, from the folder of `target`, the temporary files of that target that no live
// process holds: plain files of this user, named as IsTemporaryNameOf says. Anything
// else (another name, a link, a folder, a file being written) is left alone. Returns
// how many were removed.
int ReclaimStaleTemporaries(const std::string& target);

// A device, a pipe or another object that is not a plain file where one is expected.
std::string NotAPlainFileMessage(const std::string& path);

// A new temporary file beside a target (already resolved), created exclusively and
// locked while this object lives. Commit gives it the target's permissions, flushes it
// and renames it over the target; otherwise the destructor removes it.
class AtomicWriter {
public:
    explicit AtomicWriter(const std::string& target);
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    bool Opened() const { return m_fd >= 0; }
    // The errno value of the last failure.
    int Error() const { return m_error; }
    const std::string& TemporaryPath() const { return m_path; }
    // A C runtime file descriptor open for writing (on Windows too), for writers that
    // stream; it stays owned by this object.
    int Fd() const { return m_fd; }

    bool Write(std::span<const uint8_t> bytes);
    bool Commit(bool flushToDisk = true);

private:
    std::string m_target;
    std::string m_path;
    int m_fd = -1;
    int m_error = 0;
    bool m_committed = false;
};
