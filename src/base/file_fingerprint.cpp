#include "base/file_fingerprint.h"

#include <filesystem>
#include <vector>

#include "base/atomic_file.h"
#include "base/prompts.h"

namespace {

// FNV-1a, 64 bits: the same bytes always give the same number, on every platform.
uint64_t HashOf(std::span<const uint8_t> bytes)
{
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace

void FileFingerprint::Take(const std::string& path, std::span<const uint8_t> bytes)
{
    m_path = path;
    m_known = true;
    m_size = bytes.size();
    m_hash = HashOf(bytes);
}

bool FileFingerprint::ChangedOnDisk(const std::string& path) const
{
    if (!m_known || path != m_path)
        return false;
    std::error_code ec;
    if (std::filesystem::file_size(std::filesystem::path(path), ec) != m_size || ec)
        return true;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, nullptr))
        return true;
    return HashOf(bytes) != m_hash;
}

bool FileFingerprint::MayOverwrite(const std::string& path, Prompts& prompts) const
{
    if (!ChangedOnDisk(path))
        return true;
    std::string question = kChangedQuestion;
    question.replace(question.find("%s"), 2, path);
    return prompts.AskYesNo(question);
}
