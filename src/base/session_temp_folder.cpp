#include "base/session_temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <stdlib.h>

namespace {

std::string g_folder;

void RemoveFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
}

std::string MakeFolder()
{
    std::error_code ec;
    const std::filesystem::path system = std::filesystem::temp_directory_path(ec);
    if (ec)
        return "/tmp";
    std::string pattern = (system / "ordexa-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return system.string();
    g_folder = pattern;
    std::atexit(RemoveFolder);
    return pattern;
}

}  // namespace

const std::string& SessionTempFolder()
{
    static const std::string folder = MakeFolder();
    return folder;
}
