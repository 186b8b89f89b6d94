#pragma once
// The installer's package: the files to install and, at its end, the texts and the
// picture the wizard shows.
//
//   magic "KALVOR Cab" (10 bytes, no terminator)
//   count (4 bytes, unsigned, little-endian)
//   count records: L (4 bytes), name (L bytes), S (4 bytes), contents (S bytes)
//   trailer: five blocks, each its bytes followed by their 4-byte length, written
//            forwards as licence text, picture (a BMP file), default folder,
//            description, product name; read backwards from the end of the package.
//
// Names and texts are stored in Windows-1252; in memory (and everything this library
// hands out) they are UTF-8. Integers are little-endian.
//
// The reader never trusts a length: every count, name length and content length is
// checked against the bytes that remain before anything is allocated or written, and a
// name that could put a file anywhere but in the destination folder is refused.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kPackageMagic[] = "KALVOR Cab";
inline constexpr size_t kPackageMagicSize = 10;
// A file name must be shorter than this many bytes.
inline constexpr uint32_t kPackageNameLimit = 65536;
// Bounds on the trailer blocks, far above anything a real package holds, so a damaged
// length can never make the reader allocate the whole package.
inline constexpr uint32_t kMaxTrailerTextBytes = 1u << 20;
inline constexpr uint32_t kMaxPictureBytes = 32u << 20;
// The largest package the installer accepts (the decompressed entry).
inline constexpr uint64_t kMaxPackageBytes = uint64_t(1) << 30;

// The five trailer blocks, texts in UTF-8. `picture` holds the bytes of a BMP file.
struct PackageTrailer {
    std::string productName;
    std::string description;
    std::string defaultFolder;
    std::vector<uint8_t> picture;
    std::string licenceText;
};

// True when `name` (UTF-8) may be created inside the destination folder: not empty,
// shorter than kPackageNameLimit, no "/" or "\\", not "." or "..", no NUL, no control
// characters.
bool IsSafePackageFileName(std::string_view name);

// A package file opened for reading. Open() checks the whole layout (magic, count, every
// record header, the trailer) without reading any file contents, so a damaged package is
// refused before anything is installed. Then the records are read in order:
//
//   SetupPackage package;
//   if (!package.Open(path, message)) ...;
//   SetupPackage::Record record;
//   while (package.NextRecord(record, message)) {
//       while (record.remaining > 0) package.ReadContents(buffer, n, message) ...
//   }
//   // NextRecord returns false with an empty message after the last record.
//
// Every failure leaves a Spanish sentence naming the package and what is wrong.
class SetupPackage {
public:
    struct Record {
        std::string name;        // UTF-8, already checked by IsSafePackageFileName
        uint64_t size = 0;       // S
        uint64_t remaining = 0;  // bytes of contents not yet read
    };

    SetupPackage() = default;
    ~SetupPackage();
    SetupPackage(const SetupPackage&) = delete;
    SetupPackage& operator=(const SetupPackage&) = delete;

    bool Open(const std::string& path, std::string& message);
    void Close();
    // The package travels inside the installer: messages about its contents then name
    // the installer the clerk ran (not the temporary file it was taken out to) and advise
    // copying it again. Call before Open.
    void ShowAsInstaller(const std::string& installerPath) { m_installer = installerPath; }

    // Only the first 10 bytes: false when they are not the magic (or the file is shorter).
    // Open() also checks them; this is the cheap test before a full open.
    static bool HasMagic(const std::string& path);

    uint32_t FileCount() const { return m_count; }
    // The sum of every file's size: what the installation needs on the disk.
    uint64_t ContentBytes() const { return m_contentBytes; }
    const PackageTrailer& Trailer() const { return m_trailer; }
    const std::string& Path() const { return m_path; }

    // Moves to the next record, skipping whatever is left of the current one's contents.
    bool NextRecord(Record& record, std::string& message);
    // Reads up to `capacity` bytes of the current record's contents (never past its end).
    // Returns the number read; 0 with a message on a read error.
    size_t ReadContents(Record& record, uint8_t* buffer, size_t capacity, std::string& message);

private:
    bool Fail(std::string& message, const std::string& text);
    bool ReadAt(uint64_t offset, void* buffer, size_t size);
    bool ReadTrailer(std::string& message);
    bool CheckRecords(std::string& message);
    bool ReadRecordHeader(uint64_t& offset, Record& record, std::string& message);
    std::string Damaged(const std::string& what) const;
    std::string Incomplete(const std::string& what) const;

    int m_fd = -1;  // open for reading while the package is open
    std::string m_path;
    std::string m_installer;
    uint64_t m_fileSize = 0;
    uint64_t m_contentBytes = 0;
    uint64_t m_dataEnd = 0;     // where the records end and the trailer begins
    uint64_t m_position = 0;    // the next byte the record reading takes
    uint64_t m_recordEnd = 0;   // where the current record's contents end
    uint32_t m_count = 0;
    uint32_t m_nextIndex = 0;
    PackageTrailer m_trailer;
};

// ---- Writing (the packaging tool and the tests) ----

// One file of a package: its name in the package and where its bytes come from (a file
// on disk, or `contents` when `sourcePath` is empty).
struct PackageEntry {
    std::string name;
    std::string sourcePath;
    std::vector<uint8_t> contents;
};

// Writes the package to `path` (atomically: a temporary file beside it, renamed at the
// end). Each name is checked as the reader would; a source that cannot be read stops
// the writing with a Spanish message.
bool WritePackage(const std::string& path, const std::vector<PackageEntry>& entries,
                  const PackageTrailer& trailer, std::string& message);

// The same bytes in memory, for small packages (tests, fuzz seeds). Names are not checked,
// so that tests can build hostile packages.
std::vector<uint8_t> BuildPackageBytes(const std::vector<PackageEntry>& entries, const PackageTrailer& trailer);
