#pragma once
// The names in an opened folder listing, without "." and "..", for the POSIX twins of the
// installer's file layer. Takes the listing and closes it. The listing is rewound first:
// one opened on a copy of a folder handle shares its position, which an earlier listing
// of the same handle left at the end.
#include <dirent.h>

#include <string>
#include <vector>

inline bool TakeFolderNames(DIR* dir, std::vector<std::string>& names)
{
    names.clear();
    if (!dir)
        return false;
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return true;
}
