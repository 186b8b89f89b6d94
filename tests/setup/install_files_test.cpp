// Installing a package into a folder: the files byte for byte with their permissions,
// the progress, replacing an earlier installation, and the failures that install
// nothing or leave no half-written file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

#include "setup/install_files.h"
#include "setup/package_format.h"
#include "setup/uninstall.h"
#include "setup_fixture.h"

using namespace setup_test;
namespace fs = std::filesystem;

namespace {

std::string WritePackageFile(const TempFolder& folder, const std::vector<PackageEntry>& entries)
{
    const std::string path = folder / "paquete.dat";
    WriteBytes(path, BuildPackageBytes(entries, SampleTrailer()));
    return path;
}

unsigned Mode(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

}  // namespace

TEST(InstallFiles, CopiesEveryFileByteForByteWithItsPermissions)
{
    TempFolder root;
    auto entries = SampleEntries();
    entries.push_back({"ordexa-cli", {}, Pattern(65536 * 3, 5)});  // whole pieces only
    const std::string package = WritePackageFile(root, entries);
    const std::string dest = root / "ordexa";
    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, package, progress, report, message, TestMenus(root))) << message;

    EXPECT_EQ(progress.maximum, int(entries.size()));
    EXPECT_EQ(progress.steps, int(entries.size()));
    for (const PackageEntry& entry : entries) {
        EXPECT_EQ(ReadBytes(dest + "/" + entry.name), entry.contents) << entry.name;
        const bool program = entry.name == "ORDEXA" || entry.name == "ordexa-cli" || entry.name == "ordexa-desinstalar";
        EXPECT_EQ(Mode(dest + "/" + entry.name), program ? 0755u : 0644u) << entry.name;
    }
    EXPECT_EQ(fs::file_size(dest + "/vacío.txt"), 0u);
    EXPECT_EQ(report.installedFiles.size(), entries.size());
    EXPECT_EQ(report.installListPath, dest + "/ORDEXA.instalados");
    // Nothing but the package's files and the list: no temporary file left over.
    EXPECT_EQ(Listing(dest).size(), entries.size() + 1);
}

TEST(InstallFiles, TheInstallListNamesEverythingWritten)
{
    TempFolder root;
    const std::string dest = root / "ordexa";
    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message,
                             TestMenus(root)))
        << message;
    std::vector<std::string> listed;
    ASSERT_TRUE(ReadInstallList(report.installListPath, listed, message)) << message;
    for (const std::string& path : report.installedFiles)
        EXPECT_NE(std::find(listed.begin(), listed.end(), path), listed.end()) << path;
    ASSERT_FALSE(report.menuFiles.empty());
    for (const std::string& path : report.menuFiles)
        EXPECT_NE(std::find(listed.begin(), listed.end(), path), listed.end()) << path;
    EXPECT_EQ(listed.back(), report.installListPath);
    EXPECT_EQ(FindInstallList(dest), report.installListPath);
}

TEST(InstallFiles, ReplacesAnEarlierInstallationFileByFile)
{
    TempFolder root;
    const std::string dest = root / "ordexa";
    fs::create_directory(dest);
    WriteBytes(dest + "/ORDEXA", Pattern(10, 42));
    WriteBytes(dest + "/mis datos.cap", {'m', 'i', 'o'});
    // A link in the folder under a package file's name is replaced, not written through.
    WriteBytes(root / "ajeno.txt", {'a'});
    fs::create_symlink(root / "ajeno.txt", dest + "/ordexa-desinstalar");

    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message,
                             TestMenus(root)))
        << message;
    EXPECT_EQ(ReadBytes(dest + "/ORDEXA"), SampleEntries()[0].contents);
    EXPECT_FALSE(fs::is_symlink(dest + "/ordexa-desinstalar"));
    EXPECT_EQ(ReadBytes(root / "ajeno.txt"), std::vector<uint8_t>{'a'});
    EXPECT_EQ(ReadBytes(dest + "/mis datos.cap"), (std::vector<uint8_t>{'m', 'i', 'o'}));
}

TEST(InstallFiles, CreatesOnlyTheLastLevelOfTheDestination)
{
    TempFolder root;
    CountingProgress progress;
    InstallReport report;
    std::string message;
    EXPECT_FALSE(InstallFiles(root / "falta/ordexa", WritePackageFile(root, SampleEntries()), progress, report,
                              message, TestMenus(root)));
    EXPECT_NE(message.find("la carpeta «" + root / "falta" + "» no existe"), std::string::npos) << message;
    EXPECT_FALSE(Exists(root / "falta"));
    EXPECT_EQ(progress.steps, 0);
    EXPECT_FALSE(Exists(root / "datos"));
}

TEST(InstallFiles, APackageThatIsNotOursOrIsDamagedInstallsNothing)
{
    auto badMagic = BuildPackageBytes(SampleEntries(), SampleTrailer());
    badMagic[3] = '?';
    auto truncated = BuildPackageBytes(SampleEntries(), SampleTrailer());
    truncated.resize(truncated.size() / 2);
    auto hostileName = BuildPackageBytes({{"x", {}, {'1'}}}, SampleTrailer());
    hostileName[18] = '/';  // the name "x" becomes "/"
    for (const auto& [what, bytes] : std::vector<std::pair<std::string, std::vector<uint8_t>>>{
             {"bad magic", badMagic}, {"truncated", truncated}, {"name with a separator", hostileName}}) {
        TempFolder root;
        WriteBytes(root / "paquete.dat", bytes);
        const auto before = Listing(root.Path());
        CountingProgress progress;
        InstallReport report;
        std::string message;
        EXPECT_FALSE(InstallFiles(root / "ordexa", root / "paquete.dat", progress, report, message, TestMenus(root)))
            << what;
        EXPECT_FALSE(message.empty()) << what;
        EXPECT_EQ(Listing(root.Path()), before) << what << ": nothing written anywhere";
        EXPECT_EQ(progress.steps, 0) << what;
    }
}

TEST(InstallFiles, AFailurePartWayLeavesNoHalfWrittenFileAndListsWhatWasInstalled)
{
    TempFolder root;
    const std::string dest = root / "ordexa";
    fs::create_directory(dest);
    // The third file's name is taken by a folder, so it cannot be installed.
    fs::create_directory(dest + "/Declaración general 5.fmt");
    CountingProgress progress;
    InstallReport report;
    std::string message;
    EXPECT_FALSE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message,
                              TestMenus(root)));
    EXPECT_NE(message.find("Declaración general 5.fmt"), std::string::npos) << message;
    EXPECT_EQ(progress.steps, 2);
    EXPECT_FALSE(Exists(dest + "/vacío.txt"));
    for (const auto& [name, kind] : Listing(dest))
        EXPECT_EQ(name.find(".kal-"), std::string::npos) << "temporary file left: " << name;
    // The two installed files are listed, so the uninstaller can take them away.
    std::vector<std::string> listed;
    ASSERT_TRUE(ReadInstallList(dest + "/ORDEXA.instalados", listed, message)) << message;
    EXPECT_NE(std::find(listed.begin(), listed.end(), dest + "/ORDEXA"), listed.end());
    EXPECT_FALSE(Exists(root / "datos")) << "no program group after a failed copy";
}

TEST(InstallFiles, ALinkNamedLikeTheInstallListIsReplacedNotWrittenThrough)
{
    TempFolder root;
    const std::string dest = root / "ordexa";
    fs::create_directory(dest);
    // Planted before the installation: the list's name pointing at a file of the clerk's,
    // which would otherwise be read as an earlier list and then overwritten by the new one.
    const std::vector<uint8_t> precious{'/', 'e', 't', 'c', '\n'};
    WriteBytes(root / "mis-notas.txt", precious);
    fs::create_symlink(root / "mis-notas.txt", dest + "/ORDEXA.instalados");

    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message,
                             TestMenus(root)))
        << message;
    EXPECT_EQ(ReadBytes(root / "mis-notas.txt"), precious);
    EXPECT_FALSE(fs::is_symlink(dest + "/ORDEXA.instalados"));
    std::vector<std::string> listed;
    ASSERT_TRUE(ReadInstallList(dest + "/ORDEXA.instalados", listed, message)) << message;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "/etc"), 0);
}
