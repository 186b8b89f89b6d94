#pragma once
// Making an installer: the package deflated into a one-entry ZIP archive ("Data"),
// appended to the wizard's executable and followed by the archive's length as 4 bytes
// (unsigned, little-endian). The reading side is setup/payload.h.
#include <string>

inline constexpr char kPayloadEntryName[] = "Data";

// Puts the package file into a new ZIP archive at `zipPath` as its one entry, deflated
// (or stored, when `deflate` is false).
bool BuildPayloadZip(const std::string& packagePath, const std::string& zipPath, std::string& message,
                     bool deflate = true);

// Writes `outputPath` = the wizard's executable + the archive + its length, with
// execute permission (0755). Atomic: a failure leaves any earlier output as it was.
bool AppendPayload(const std::string& wizardPath, const std::string& zipPath, const std::string& outputPath,
                   std::string& message);
