#include "capture/capture_owner.h"

#include <filesystem>
#include <vector>

#include "base/archive.h"
#include "base/atomic_file.h"
#include "base/file_messages.h"

namespace {

constexpr size_t kHeaderBytes = 4096;

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

}  // namespace

bool FindFormatOfCapture(const std::string& capPath, std::string& formatPath, std::string& message)
{
    namespace fs = std::filesystem;
    formatPath.clear();
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(capPath, bytes, &message))
        return false;
    // Only the header is needed: a name is at most 255 bytes after its length.
    if (bytes.size() > kHeaderBytes)
        bytes.resize(kHeaderBytes);
    std::string name;
    try {
        ArchiveReader ar(bytes);
        name = ar.ReadString();
    } catch (const ArchiveError& e) {
        message = DamagedFileMessage(capPath, "una captura de Ordexa", e.Offset());
        return false;
    }
    // A stored name is a file name; anything with a folder in it is not looked for.
    if (name.empty() || name.find_first_of("/\\:") != std::string::npos || name == "." || name == "..") {
        message = DamagedFileMessage(capPath, "una captura de Ordexa", 0);
        return false;
    }
    fs::path folder = fs::path(capPath).parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (Lower(it->path().filename().string()) == Lower(name) && it->is_regular_file(ec)) {
            formatPath = it->path().string();
            return true;
        }
    }
    message = "Los datos capturados \"" + capPath + "\" son del formato \"" + name +
              "\", que no está en la misma carpeta. Abra ese formato en modo de captura y después sus datos.";
    return false;
}
