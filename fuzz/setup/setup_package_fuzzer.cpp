// Any bytes opened as an installer package are refused with a message or read record by
// record; never a crash, an allocation beyond the input, a name that could leave the
// destination folder, or contents that run past the end of the package.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "setup/package_format.h"

namespace {

const std::string& ScratchFile()
{
    static const std::string path = [] {
        // The file's name is removed at once and it is reached through the descriptor
        // kept open, so nothing is left behind however the fuzzer ends.
        std::string pattern = "/tmp/ordexa-fuzz-package-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            std::abort();
        ::unlink(pattern.c_str());
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = ScratchFile();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();

    SetupPackage package;
    std::string message;
    if (!package.Open(path, message)) {
        if (message.empty())
            std::abort();
        return 0;
    }
    const PackageTrailer& trailer = package.Trailer();
    if (!IsSafePackageFileName(trailer.productName) || trailer.picture.size() > size)
        std::abort();
    SetupPackage::Record record;
    uint64_t total = 0;
    uint32_t records = 0;
    uint8_t buffer[4096];
    while (package.NextRecord(record, message)) {
        ++records;
        if (!IsSafePackageFileName(record.name) || record.size > size)
            std::abort();
        // Read the odd records whole, skip the even ones: both must land on the next one.
        if (records % 2) {
            uint64_t read = 0;
            while (size_t n = package.ReadContents(record, buffer, sizeof buffer, message))
                read += n;
            if (read != record.size)
                std::abort();
        }
        total += record.size;
        if (total > size)
            std::abort();
    }
    // The whole package was checked when it opened: the reading never fails after that.
    if (!message.empty() || records != package.FileCount())
        std::abort();
    return 0;
}
