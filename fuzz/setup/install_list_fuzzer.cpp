// Any bytes read as an install list give absolute paths with no ".", ".." or empty
// component, or a refusal with a message; never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "setup/uninstall.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> paths;
    std::string message;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!ParseInstallList(text, "/tmp/ORDEXA.instalados", paths, message)) {
        if (message.empty() || !paths.empty())
            std::abort();
        return 0;
    }
    for (const std::string& path : paths) {
        if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos ||
            path.find("/../") != std::string::npos || path.find("/./") != std::string::npos ||
            path.find("//") != std::string::npos || path.ends_with("/..") || path.ends_with("/.") ||
            path.find('\n') != std::string::npos)
            std::abort();
    }
    return 0;
}
