#pragma once
// A regular file opened for reading piece by piece (a spreadsheet of many megabytes).
// Opening refuses what would never end or cannot be a document: a folder, a device, a
// named pipe (opened without waiting for a writer), a file larger than the caller's
// bound. POSIX calls in one twin, Win32 calls in the other.
#include <cstddef>
#include <cstdint>
#include <string>

class ReadOnlyFile {
public:
    enum class Opened {
        Yes,
        Failed,         // `error` names the file and the reason
        NotAPlainFile,  // a device, a pipe or another special object
        TooLarge,       // larger than the bound given to Open
    };

    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // `error` (a Spanish sentence naming the file) is set for Failed only.
    Opened Open(const std::string& path, size_t maxBytes, std::string& error);
    // The size when it was opened.
    uint64_t Size() const { return m_size; }
    // Up to `size` bytes: the count read, 0 at the end, or -1 with `error` set.
    long long Read(void* buffer, size_t size, std::string& error);
    void Close();

private:
    std::string m_path;
    intptr_t m_handle = -1;  // a file descriptor, or a Win32 handle
    uint64_t m_size = 0;
};
