#pragma once
// Whether a folder can receive the installation, said in a Spanish sentence for the
// clerk. The wizard asks on the folder page (so another folder can still be chosen) and
// the installation asks again right before it copies anything.
#include <cstdint>
#include <string>

// Empty when `folder` can take an installation of `neededBytes`: a full path on one line
// whose parent exists (only its last level is created), not a file, on a disk that is
// writable, that the clerk may write to and that has the room. `neededBytes` 0 skips
// the room.
std::string DestinationProblem(const std::string& folder, const std::string& productName, uint64_t neededBytes);

// "41.2 MB", "512 KB": a size as the clerk reads it.
std::string SizeText(uint64_t bytes);

// The free bytes of the disk that holds `path` (the folder, or its parent while it does
// not exist); false when it cannot be told.
bool FreeBytes(const std::string& path, uint64_t& bytes);

// The shared file sentences quote names with "": this installer's messages use «»
// throughout. Returns `text` with `path`'s quotes changed.
std::string WithAngleQuotes(std::string text, const std::string& path);

// The reason `path` cannot be read, with «» quotes.
std::string SetupReadError(const std::string& path, int errorNumber);

// The reason a file or folder cannot be written, from the error number, quoting with «»
// and telling a disk that is read-only from a missing permission.
std::string SetupWriteError(const std::string& path, int errorNumber);
