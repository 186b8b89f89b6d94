#include "setup/content_digest.h"

#include <nettle/sha2.h>
#include <vector>

#include "setup/setup_files.h"

struct ContentDigest::State {
    sha256_ctx context;
};

ContentDigest::ContentDigest() : m_state(std::make_unique<State>())
{
    sha256_init(&m_state->context);
}

ContentDigest::~ContentDigest() = default;

void ContentDigest::Add(const uint8_t* data, size_t size)
{
    sha256_update(&m_state->context, size, data);
    m_size += size;
}

std::string ContentDigest::Hex() const
{
    sha256_ctx copy = m_state->context;  // sha256_digest resets the context it is given
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&copy, sizeof digest, digest);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * sizeof digest);
    for (const uint8_t byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    return hex;
}

bool DigestOfFile(const std::string& path, uint64_t& size, std::string& hex)
{
    uint64_t fileSize = 0;
    const int fd = OpenPlainFileForReading(path, fileSize);
    if (fd < 0)
        return false;
    ContentDigest digest;
    std::vector<uint8_t> buffer(65536);
    bool ok = true;
    for (;;) {
        const long long n = ReadSome(fd, buffer.data(), buffer.size());
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        digest.Add(buffer.data(), size_t(n));
    }
    CloseFile(fd);
    if (!ok)
        return false;
    size = digest.Size();
    hex = digest.Hex();
    return true;
}
