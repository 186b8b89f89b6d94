#pragma once
// Shared pieces of the installer's tests: temporary folders, packages made by the
// package writer, installers made from them, folder listings and a counting progress.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "setup/install_files.h"
#include "setup/package_format.h"
#include "setup/program_group.h"

namespace setup_test {

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

// Every entry under `root`, as relative path -> "kind mode size" (links by their target).
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
