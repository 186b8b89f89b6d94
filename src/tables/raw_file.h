#pragma once
// A file opened for reading and writing at explicit positions, over the system's file
// descriptors. New files are always created exclusively: a file or link that appears
// under the name before the creation makes it fail instead of being opened or followed.
// They are readable and writable by their owner only: a table holds the clerk's data.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class RawFile {
public:
    RawFile() = default;
    ~RawFile() { Close(); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // Creates a new, empty file; fails when anything exists under the name.
    bool CreateNew(const std::string& path);
    // Opens an existing regular file for reading and writing, or for reading only.
    bool Open(const std::string& path, bool writable = true);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    bool ReadAt(uint64_t position, std::span<uint8_t> bytes) const;
    bool WriteAt(uint64_t position, std::span<const uint8_t> bytes);
    bool Truncate(uint64_t size);
    // Waits until what was written is on the disk.
    bool Flush();
    // -1 on failure.
    int64_t Size() const;
    // True when the name still leads to this open file: not removed, not replaced by
    // another file or a link since it was opened.
    bool IsAt(const std::string& path) const;

    // Keeps a copy of the file's bytes in memory from now on, as long as the file is at
    // most `limit` bytes long, and answers reads and the size from it: every write and
    // truncation still goes to the file first and then to the copy, so the file holds
    // exactly what it would without it. Only for a file nothing else writes while it is
    // open (one this handle made). A failed write or truncation, or a file outgrowing the
    // limit, drops the copy for good: the file is read again from then on. False when
    // the file is too large or cannot be read (nothing is kept then).
    bool KeepCopy(uint64_t limit);
    bool HasCopy() const { return m_copyLimit > 0; }

    // The system error of the last failed call, as an errno value.
    int LastError() const { return m_error; }

    // True when anything (a file, a folder, a link, even a dangling one) has the name.
    static bool Exists(const std::string& path);
    // Removes a name; a link is removed itself, never what it points to.
    static bool Remove(const std::string& path);
    // Reads at most maxBytes of a regular file. False when it cannot be opened or read.
    static bool ReadPrefix(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes);
    // Replaces a whole file: the bytes go to a new file created exclusively in the same
    // folder, which is flushed to the disk and then renamed over the target, keeping the
    // target's permissions.
    static bool ReplaceContents(const std::string& path, std::span<const uint8_t> bytes);

private:
    bool TakeIdentity();
    void DropCopy();
    // The copy after a successful write or truncation: kept when it stays in the limit.
    void CopyWrite(uint64_t position, std::span<const uint8_t> bytes);
    void CopyResize(uint64_t size);

    int m_fd = -1;
    mutable int m_error = 0;
    uint64_t m_device = 0;
    uint64_t m_inode = 0;
    std::vector<uint8_t> m_copy;
    uint64_t m_copyLimit = 0;  // 0: no copy is kept
};
