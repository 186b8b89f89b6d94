#pragma once
// Writing a file so that a failure never destroys what was there: the bytes go to a new
// temporary file in the same folder, which is flushed and then renamed over the target.
// On any failure the temporary file is removed and the target is left untouched.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Returns false and sets `error` (a Spanish sentence naming the file) on failure.
// A symbolic link is followed: the file it points to is replaced, atomically beside
// itself, and the link stays a link. A target that is not a regular file (a device, a
// folder) or that is read-only is refused, even for the administrator.
// `flushToDisk` waits until the bytes are on the disk before the rename; files rewritten
// many times a second (a table's index on every add) skip that wait.
// Writes every byte to an open file descriptor, going on after short writes and
// interruptions. False on the first real write error (errno tells which).
bool WriteAllToFd(int fd, const void* data, size_t size);

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                         bool flushToDisk = true);

// Reads a whole regular file of at most `maxBytes`. Returns false and sets `error` (a
// Spanish sentence naming the file) when it cannot be read, is not a regular file (a
// folder, a device that would never end) or is larger than that.
inline constexpr size_t kMaxWholeFileBytes = size_t(256) << 20;
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error,
                   size_t maxBytes = kMaxWholeFileBytes);

// The file a write to `path` lands on: `path` itself, or where its chain of symbolic
// links ends (which need not exist yet). False with errno set (ELOOP) for a chain that
// never ends.
bool ResolveWriteTarget(const std::string& path, std::string& resolved);
