#pragma once
// Taking the installer's own executable apart at start-up. The executable ends with a ZIP
// archive of N bytes followed by N as 4 bytes (unsigned, little-endian). The archive's
// first entry (stored or deflated) is the package (setup/package_format.h).
//
// ExtractPayload leaves three temporary files in a private folder of the run inside
// `tempFolder` (setup/run_folder.h), all named by TempFileName with the prefix "KAL": the
// ZIP copy (".dat"), the package (".dat") and the picture (".bmp"). RemoveTemporaryFiles
// deletes them with the folder; the wizard calls it when its window is destroyed. A run
// that never got there (killed) leaves its folder to the next run, which removes it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The status texts shown while extracting.
inline constexpr char kStatusDecompressing[] = "Descomprimiendo....";
inline constexpr char kStatusProcessing[] = "Procesando....";

class RunFolder;

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
    uint64_t contentBytes = 0;  // the sum of the files' sizes: what the installation needs
    // Every temporary file created, including those of a failed extraction.
    std::vector<std::string> temporaryFiles;
    // The run's private folder that holds them.
    std::shared_ptr<RunFolder> runFolder;
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
