// Any bytes given to the format reader are either refused or read into a format that
// writes back to bytes which read again to the same format.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/format_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Format format;
    FormatReadError error;
    if (!ReadFormat(std::span<const uint8_t>(data, size), format, error)) {
        if (error.offset > size || !format.elements.empty())
            std::abort();
        return 0;
    }
    const std::vector<uint8_t> written = WriteFormat(format, FormatWriter::Rewrite);
    Format again;
    if (!ReadFormat(written, again, error))
        std::abort();
    if (WriteFormat(again, FormatWriter::Rewrite) != written)
        std::abort();
    return 0;
}
