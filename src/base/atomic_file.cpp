#include "base/atomic_file.h"

#include "base/atomic_writer.h"

#include <cerrno>

#include "base/file_messages.h"
#include "base/read_only_file.h"

namespace {

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

bool IsLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string NotAPlainFileMessage(const std::string& path)
{
    return "No se puede usar \"" + path +
           "\": no es un archivo común (es un dispositivo u otro objeto especial del sistema).";
}

bool IsTemporaryNameOf(const std::string& name, const std::string& targetName)
{
    constexpr size_t kSuffix = 6;
    if (targetName.empty() || name.size() != targetName.size() + 2 + kSuffix)
        return false;
    if (name[0] != '.' || name.compare(1, targetName.size(), targetName) != 0 || name[targetName.size() + 1] != '.')
        return false;
    for (size_t i = name.size() - kSuffix; i < name.size(); ++i)
        if (!IsLetterOrDigit(name[i]))
            return false;
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                         bool flushToDisk)
{
    std::string resolved;
    if (!ResolveWriteTarget(path, resolved)) {
        SetError(error, FileErrorMessage(FileAction::Write, path, errno));
        return false;
    }
    if (!CheckReplaceableTarget(path, resolved, error))
        return false;
    // What earlier saves of this target left when they were killed goes before this save
    // adds its own temporary beside it.
    ReclaimStaleTemporaries(resolved);
    AtomicWriter writer(resolved);
    if (writer.Opened() && writer.Write(bytes) && writer.Commit(flushToDisk))
        return true;
    SetError(error, FileErrorMessage(FileAction::Write, path, writer.Error()));
    return false;
}

bool AtomicWriter::Write(std::span<const uint8_t> bytes)
{
    if (m_fd < 0 || !WriteAllToFd(m_fd, bytes.data(), bytes.size())) {
        m_error = m_fd < 0 ? m_error : errno;
        return false;
    }
    return true;
}

ReadOnlyFile::~ReadOnlyFile()
{
    Close();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error, size_t maxBytes)
{
    ReadOnlyFile file;
    std::string problem;
    switch (file.Open(path, maxBytes, problem)) {
    case ReadOnlyFile::Opened::Yes:
        break;
    case ReadOnlyFile::Opened::Failed:
        SetError(error, problem);
        return false;
    case ReadOnlyFile::Opened::NotAPlainFile:
        SetError(error, NotAPlainFileMessage(path));
        return false;
    case ReadOnlyFile::Opened::TooLarge:
        SetError(error, FileErrorMessage(FileAction::Read, path, EFBIG));
        return false;
    }
    bytes.clear();
    bytes.reserve(size_t(file.Size()));
    uint8_t buffer[65536];
    for (;;) {
        const long long n = file.Read(buffer, sizeof buffer, problem);
        if (n == 0)
            return true;
        if (n < 0) {
            SetError(error, problem);
            return false;
        }
        // A file that grows while it is read is still held to the same bound.
        if (bytes.size() + size_t(n) > maxBytes) {
            SetError(error, FileErrorMessage(FileAction::Read, path, EFBIG));
            return false;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}
