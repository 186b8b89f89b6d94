#pragma once
// A recovery copy: the unsaved work of one window, kept on disk while the window holds
// it, so that a crash, a power cut or a forced log-out loses at most a few seconds of
// typing. The work itself is held in the bytes of the file it would be saved as (a
// format, or captured data), so it is read back through the same readers as those files.
//
// File layout (little-endian): magic "ORDXRCP1"; u32 mode; u32 seconds since 1970
// (low, high); u32 length + UTF-8 bytes of the source path; u32 length + UTF-8 bytes of
// the captured-data path; u32 format hash (low, high); u32 length + payload; u32
// checksum of everything before it (low, high). Nothing may follow.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class RecoveryMode : uint32_t { Design = 1, ScreenLayout = 2, Capture = 3 };

struct RecoveryCopy {
    RecoveryMode mode = RecoveryMode::Design;
    // Design and screen layout: the format file the work came from (empty for a new
    // format). Capture: the format the values were typed into.
    std::string sourcePath;
    // Capture: the captured-data file the values came from, if any.
    std::string capturePath;
    // Capture: hash of the format file's bytes as they were when it was opened.
    uint64_t formatHash = 0;
    // The format's bytes (design, screen layout) or the captured data (capture).
    std::vector<uint8_t> payload;
    int64_t savedAtSeconds = 0;
};

// The mode as the clerk reads it in a list ("Captura", "Diseño de formato", ...).
const char* RecoveryModeName(RecoveryMode mode);

// 64-bit FNV-1a: tells whether a format file changed, and checks a copy for damage.
uint64_t BytesHash(std::span<const uint8_t> bytes);

std::vector<uint8_t> EncodeRecoveryCopy(const RecoveryCopy& copy);

// Reads a copy and checks its work through the reader of the file it copies: a format
// must read as a whole; captured data must carry the name of its format. False with a
// Spanish reason (without the file name) for a damaged or foreign file.
bool DecodeRecoveryCopy(std::span<const uint8_t> bytes, RecoveryCopy& copy, std::string& reason);
