#pragma once
// The SHA-256 of a file's contents, as 64 lower-case hexadecimal digits. The install list
// records it beside each installed file, so that the uninstaller and a later installation
// can tell a file still as installed from one the clerk has changed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Fed piece by piece while a file is copied.
class ContentDigest {
public:
    ContentDigest();
    ~ContentDigest();
    ContentDigest(const ContentDigest&) = delete;
    ContentDigest& operator=(const ContentDigest&) = delete;

    void Add(const uint8_t* data, size_t size);
    uint64_t Size() const { return m_size; }
    // The digest of everything added so far.
    std::string Hex() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
    uint64_t m_size = 0;
};

// The size and digest of the regular file at `path` (a link is not followed). False when
// it is not a regular file or cannot be read whole.
bool DigestOfFile(const std::string& path, uint64_t& size, std::string& hex);
