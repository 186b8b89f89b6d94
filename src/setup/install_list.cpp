#include "setup/install_list.h"

#include <algorithm>
#include <cctype>

#include "base/file_messages.h"
#include "base/atomic_file.h"
#include "setup/content_digest.h"
#include "setup/destination_check.h"
#include "setup/setup_files.h"

namespace {

// A real list names a few dozen paths; anything near this is not one.
constexpr size_t kMaxListBytes = size_t(1) << 20;
constexpr size_t kMaxListLines = 10000;
constexpr std::string_view kFolderHeader = "# carpeta: ";
constexpr size_t kDigestDigits = 64;

// An absolute path with no empty, "." or ".." component (a trailing "/" marks a folder).
bool IsCleanAbsolutePath(const std::string& line)
{
    // Written with "/" between names on both systems: a Windows "\\" is refused.
    const size_t root = RootLength(line);
    if (root == 0 || line.find('\0') != std::string::npos || GenericPath(line) != line)
        return false;
    const std::string path = IsFolderEntry(line) ? line.substr(0, line.size() - 1) : line;
    size_t start = root;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string_view part(path.data() + start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

// "<size> <digest> <path>": at most 20 digits of size, exactly 64 hex digits.
bool ParseRecordedFile(const std::string& line, InstallListEntry& entry)
{
    const size_t space = line.find(' ');
    if (space == 0 || space == std::string::npos || space > 20)
        return false;
    uint64_t size = 0;
    for (size_t i = 0; i < space; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[i])) || size > (UINT64_MAX - 9) / 10)
            return false;
        size = size * 10 + uint64_t(line[i] - '0');
    }
    const size_t digestStart = space + 1;
    if (line.size() < digestStart + kDigestDigits + 1 || line[digestStart + kDigestDigits] != ' ')
        return false;
    const std::string digest = line.substr(digestStart, kDigestDigits);
    if (!std::all_of(digest.begin(), digest.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f'); }))
        return false;
    entry.path = line.substr(digestStart + kDigestDigits + 1);
    if (IsFolderEntry(entry.path))
        return false;
    entry.hasDigest = true;
    entry.size = size;
    entry.digest = digest;
    return true;
}

}  // namespace

bool IsFolderEntry(const std::string& path)
{
    return path.size() > 1 && path.back() == '/';
}

bool ParseInstallList(std::string_view text, const std::string& listPath, InstallList& list, std::string& message)
{
    list = {};
    size_t start = 0;
    size_t lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (line.rfind(kFolderHeader, 0) == 0 && list.folder.empty() && list.entries.empty())
                list.folder = line.substr(kFolderHeader.size());
            continue;
        }
        InstallListEntry entry;
        const bool recorded = !IsFullPath(line);
        if (recorded && !ParseRecordedFile(line, entry))
            entry.path.clear();
        else if (!recorded)
            entry.path = line;
        if (list.entries.size() >= kMaxListLines || !IsCleanAbsolutePath(entry.path)) {
            message = "La lista de archivos instalados " + InGuillemets(listPath) + " está dañada: la línea " +
                      std::to_string(lineNumber) + " no es una ruta completa de archivo.";
            list = {};
            return false;
        }
        list.entries.push_back(std::move(entry));
    }
    return true;
}

bool ReadInstallList(const std::string& listPath, InstallList& list, std::string& message)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(listPath, bytes, &message, kMaxListBytes)) {
        message = WithAngleQuotes(message, listPath);
        list = {};
        return false;
    }
    return ParseInstallList(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), listPath,
                            list, message);
}

bool ParseInstallList(std::string_view text, const std::string& listPath, std::vector<std::string>& paths,
                      std::string& message)
{
    InstallList list;
    const bool ok = ParseInstallList(text, listPath, list, message);
    paths.clear();
    for (InstallListEntry& entry : list.entries)
        paths.push_back(std::move(entry.path));
    return ok;
}

bool ReadInstallList(const std::string& listPath, std::vector<std::string>& paths, std::string& message)
{
    InstallList list;
    const bool ok = ReadInstallList(listPath, list, message);
    paths.clear();
    for (InstallListEntry& entry : list.entries)
        paths.push_back(std::move(entry.path));
    return ok;
}

std::string FormatInstallList(const InstallList& list)
{
    std::string text;
    if (!list.folder.empty())
        text += std::string(kFolderHeader) + list.folder + "\n";
    for (const InstallListEntry& entry : list.entries) {
        if (entry.hasDigest)
            text += std::to_string(entry.size) + " " + entry.digest + " ";
        text += entry.path + "\n";
    }
    return text;
}

bool IsAsInstalled(const InstallListEntry& entry)
{
    if (!entry.hasDigest)
        return true;
    uint64_t size = 0;
    std::string digest;
    return DigestOfFile(entry.path, size, digest) && size == entry.size && digest == entry.digest;
}
