#pragma once
// The install list beside the program ("<dest>/<product>.instalados"): what one
// installation put on the disk, which the uninstaller follows and a later installation
// into the same folder takes over. UTF-8 text, one entry a line:
//
//   # carpeta: /home/ana/ordexa                       the folder it was written for
//   70000 9f86d0…(64 hex digits) /home/ana/ordexa/ORDEXA   an installed file, its size and SHA-256
//   /home/ana/.local/share/applications/kalvorsoft-ordexa-ordexa.desktop   a menu file
//   /home/ana/.local/share/applications/              a folder the installation created
//   /home/ana/ordexa/ORDEXA.instalados               the list itself, last
//
// Lists written before sizes and digests were recorded hold bare paths only; their
// files count as unchanged. Other lines starting with "#" are comments.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct InstallListEntry {
    std::string path;        // absolute; a folder's ends with "/"
    bool hasDigest = false;  // size and digest recorded
    uint64_t size = 0;
    std::string digest;      // SHA-256, 64 lower-case hex digits
};

struct InstallList {
    std::string folder;  // from "# carpeta: ", empty in lists that do not say
    std::vector<InstallListEntry> entries;
};

// Reads the list defensively (bounded size and line count, absolute paths only, no ".",
// ".." or empty components, well-formed sizes and digests). False with a Spanish
// sentence, and nothing in `list`, for a list that cannot be trusted.
bool ParseInstallList(std::string_view text, const std::string& listPath, InstallList& list, std::string& message);
bool ReadInstallList(const std::string& listPath, InstallList& list, std::string& message);
// The paths alone, as read.
bool ParseInstallList(std::string_view text, const std::string& listPath, std::vector<std::string>& paths,
                      std::string& message);
bool ReadInstallList(const std::string& listPath, std::vector<std::string>& paths, std::string& message);

std::string FormatInstallList(const InstallList& list);

bool IsFolderEntry(const std::string& path);

// True when the regular file at `entry.path` holds what the entry recorded, or when the
// entry recorded nothing (an older list).
bool IsAsInstalled(const InstallListEntry& entry);

