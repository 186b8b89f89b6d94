#pragma once
// Shared pieces of the installer's tests: temporary folders, packages made by the
// package writer, installers made from them, folder listings and a counting progress.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "setup/install_files.h"
#include "setup/package_format.h"
#include "setup/program_group.h"

namespace setup_test {

// The sample package's programs by their file names ("ORDEXA", or "ORDEXA.exe" on Windows).
inline const std::string kProgram = std::string("ORDEXA") + kProgramSuffix;
inline const std::string kUninstaller = std::string(kUninstallerProgramName) + kProgramSuffix;

// What the tests need of the system that differs between POSIX and Windows.
#ifdef _WIN32
inline constexpr bool kPermissionBits = false;  // a program is told by its ".exe"
inline constexpr bool kDesktopMenus = false;    // the program group is Start-menu shortcuts
#else
inline constexpr bool kPermissionBits = true;
inline constexpr bool kDesktopMenus = true;
#endif
// The root of the file system ("/"; on Windows the drive "C:/").
#ifdef _WIN32
inline const std::string kSystemRoot = "C:/";
#else
inline const std::string kSystemRoot = "/";
#endif
// Sets (or, for an empty value, removes) an environment variable.
void SetEnvironment(const char* name, const std::string& value);
// The variable that names the user's home folder (HOME; USERPROFILE on Windows).
const char* HomeVariable();
// Runs `work` in a child process that kills itself (SIGKILL, KillSelf) before it returns;
// true when it died so. Windows cannot fork: there `work` runs in this process and
// KillSelf stops it at once by an exception that only RunKilled catches.
bool RunKilled(const std::function<void()>& work);
// Stops the work given to RunKilled at once, as a power cut would.
[[noreturn]] void KillSelf();
// Makes writes past `bytes` fail as on a full disk (EFBIG), until RestoreFileSizeLimit.
// False where the system has no such limit (Windows).
bool LimitFileSize(uint64_t bytes);
void RestoreFileSizeLimit();
// The permission bits of a file (0 on Windows, which has none).
unsigned ModeOf(const std::string& path);
// Makes a symbolic link; false where the user may not make one (Windows without the
// privilege), and the caller skips.
bool MakeSymlink(const std::string& target, const std::string& link, bool folder = false);

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool Exists(const std::string& path);
// `size` bytes that differ from file to file (`seed`), so a swapped file is noticed.
std::vector<uint8_t> Pattern(size_t size, unsigned seed);

// The shipped package's trailer with a small picture.
PackageTrailer SampleTrailer();
// A program, the uninstaller, a help page with a space in its name and an empty file.
std::vector<PackageEntry> SampleEntries();

// An installer: a stand-in executable, then `package` in a one-entry ZIP archive, then
// the archive's length. Returns the installer's path.
std::string MakeInstaller(const TempFolder& folder, const std::vector<uint8_t>& package, bool deflate = true);

// Every entry under `root`, as relative path -> "kind mode size" (links as links).
std::map<std::string, std::string> Listing(const std::string& root);

// Menu folders inside `root`, caches never refreshed (the tools would add files of
// their own to the folders the tests compare).
MenuLocations TestMenus(const TempFolder& root);

class CountingProgress : public InstallProgress {
public:
    void SetMaximum(int maximum) override { this->maximum = maximum; }
    void Step() override { ++steps; }
    int maximum = -1;
    int steps = 0;
};

}  // namespace setup_test
