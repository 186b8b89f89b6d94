#pragma once
// What a window last read from or wrote to a file, so that before it writes the file
// again it can tell whether someone else (another window, another clerk on a shared
// folder) has written it in between.
#include <cstdint>
#include <span>
#include <string>

class Prompts;

class FileFingerprint {
public:
    // Remembers `bytes`, just read from or written to `path`: their size and a hash.
    void Take(const std::string& path, std::span<const uint8_t> bytes);
    // Nothing is remembered (a new format, a failed load).
    void Forget() { *this = FileFingerprint{}; }
    const std::string& Path() const { return m_path; }

    // Whether the file at `path` is no longer what was read or written last: it is gone,
    // unreadable, or its size or bytes differ. Modification times are not trusted either
    // way: shared folders keep them to the second or coarser (two saves in one second
    // look alike), and a file written again with the same bytes has not changed for the
    // clerk. Formats are small, so the file is simply read and hashed. False for any
    // other path than the one remembered.
    bool ChangedOnDisk(const std::string& path) const;

    // Before writing `path`: true when it may be written, i.e. it has not changed since
    // it was read or written here, or the clerk answered Yes (default No) to replacing
    // the other version.
    bool MayOverwrite(const std::string& path, Prompts& prompts) const;

    static constexpr const char* kChangedQuestion =
        "El formato %s cambió desde que lo abrió (otra ventana u otra persona lo guardó). "
        "¿Desea reemplazarlo con su versión?";

private:
    std::string m_path;
    bool m_known = false;
    uint64_t m_size = 0;
    uint64_t m_hash = 0;
};
