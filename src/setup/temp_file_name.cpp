#include "setup/temp_file_name.h"

#include <cerrno>
#include <cstdio>

#include "setup/setup_files.h"

namespace {

// The digits that follow the prefix: 8 minus the prefix's length, at least one.
std::string Numbered(const std::string& prefix, int number)
{
    const int width = prefix.size() < 8 ? int(8 - prefix.size()) : 1;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*d", width, number);
    return prefix + digits;
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
}

std::string SystemTempFolder()
{
    return SystemTempFolderPath();
}

std::string CreateTempFile(const std::string& folder, const std::string& prefix, const std::string& extension,
                           int& fd)
{
    fd = -1;
    const std::string base = WithTrailingSeparator(folder);
    for (int i = 1; i < 1000; ++i) {
        const std::string candidate = base + Numbered(prefix, i) + extension;
        const int created = CreateExclusiveFile(candidate);
        if (created >= 0) {
            fd = created;
            return candidate;
        }
        // Taken (a file, a folder or a link of that name): the next number. Anything else
        // (no such folder, no permission, a full disk) would fail for every number alike.
        if (errno != EEXIST)
            break;
    }
    return base;
}

std::string TempFileName(const std::string& folder, const std::string& prefix, const std::string& extension)
{
    int fd = -1;
    std::string path = CreateTempFile(folder, prefix, extension, fd);
    if (fd >= 0)
        CloseFile(fd);
    return path;
}
