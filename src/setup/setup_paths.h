#pragma once
// The parts of the paths the installer works with ("/" between names on both systems):
// the folder a path is in, its last name, and a folder without the separators typed
// after it.
#include <string>

#include "setup/setup_files.h"

inline std::string Parent(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    // The root keeps its separator: "/" on POSIX, "C:/" on Windows.
    return slash + 1 == RootLength(path) ? path.substr(0, slash + 1) : path.substr(0, slash);
}

inline std::string BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

inline std::string WithoutTrailingSeparator(std::string folder)
{
    while (folder.size() > 1 && folder.size() > RootLength(folder) && folder.back() == '/')
        folder.pop_back();
    return folder;
}
