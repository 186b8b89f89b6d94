#pragma once
// Writing a file so that a failure never destroys what was there: the bytes go to a new
// temporary file in the same folder, which is flushed and then renamed over the target.
// On any failure the temporary file is removed and the target is left untouched.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Returns false and sets `error` (a Spanish sentence naming the file) on failure.
// `flushToDisk` waits until the bytes are on the disk before the rename; files rewritten
// many times a second (a table's index on every add) skip that wait.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                         bool flushToDisk = true);

// Reads a whole file. Returns false and sets `error` when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error);
