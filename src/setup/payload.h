#pragma once
// Taking the installer's own executable apart at start-up. The executable ends with a ZIP
// archive of N bytes followed by N as 4 bytes (unsigned, little-endian). The archive's
// first entry (stored or deflated) is the package (setup/package_format.h).
//
// ExtractPayload leaves three temporary files in `tempFolder`, all named by
// TempFileName with the prefix "KAL": the ZIP copy (".dat"), the package (".dat") and
// the picture (".bmp"). RemoveTemporaryFiles deletes them; the wizard calls it when its
// window is destroyed.
#include <functional>
#include <string>
#include <vector>

// The status texts shown while extracting.
inline constexpr char kStatusDecompressing[] = "Descomprimiendo....";
inline constexpr char kStatusProcessing[] = "Procesando....";

struct PayloadResult {
    // From the package's trailer, UTF-8. `defaultFolder` is as stored: the shipped
    // package holds "~/ordexa", and the wizard expands a leading "~/" to the home folder
    // (ExpandHomeFolder below) before showing or using it.
    std::string productName;
    std::string description;
    std::string defaultFolder;
    std::string licenceText;  // lines separated by CR LF, as stored
    std::string packagePath;  // give it to InstallFiles
    std::string picturePath;  // a BMP file (8-bit palette in the shipped package)
    // Every temporary file created, including those of a failed extraction.
    std::vector<std::string> temporaryFiles;
};

// Called with kStatusDecompressing, then kStatusProcessing; the wizard shows the text
// and repaints at once.
using PayloadStatus = std::function<void(const std::string& text)>;

// `exePath`: the installer's own executable (on Linux "/proc/self/exe" or the
// application's file path). `tempFolder`: where the temporary files go (SystemTempFolder()).
// On failure returns false with a Spanish sentence in `message` (a damaged or missing
// payload, a ZIP entry that is not stored or deflated, a decompression or CRC error, a
// damaged package, a temporary file that cannot be written); the temporary files made so
// far are removed and `result.temporaryFiles` is empty.
bool ExtractPayload(const std::string& exePath, const std::string& tempFolder, const PayloadStatus& status,
                    PayloadResult& result, std::string& message);

// Deletes each temporary file that exists. Safe to call more than once.
void RemoveTemporaryFiles(const PayloadResult& result);

// "~/x" -> "$HOME/x" ("~" alone -> "$HOME"); anything else unchanged.
std::string ExpandHomeFolder(const std::string& folder);
