// Installing a package into a folder: the files byte for byte with their permissions,
// the progress, replacing an earlier installation, and the failures that install
// nothing or leave no half-written file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/fs_path.h"
#include "setup/destination_check.h"
#include "setup/install_files.h"
#include "setup/install_journal.h"
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

}  // namespace

TEST(InstallFiles, CopiesEveryFileByteForByteWithItsPermissions)
{
    TempFolder root;
    auto entries = SampleEntries();
    const std::string cli = std::string(kCliProgramName) + kProgramSuffix;
    entries.push_back({cli, {}, Pattern(65536 * 3, 5)});  // whole pieces only
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
        const bool program = entry.name == kProgram || entry.name == cli || entry.name == kUninstaller;
        if (kPermissionBits) {
            EXPECT_EQ(ModeOf(dest + "/" + entry.name), program ? 0755u : 0644u) << entry.name;
        }
    }
    EXPECT_EQ(fs::file_size(FsPath(dest + "/vacío.txt")), 0u);
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
    WriteBytes(dest + "/" + kProgram, Pattern(10, 42));
    WriteBytes(dest + "/mis datos.cap", {'m', 'i', 'o'});
    // A link in the folder under a package file's name is replaced, not written through.
    WriteBytes(root / "ajeno.txt", {'a'});
    const bool linked = MakeSymlink(root / "ajeno.txt", dest + "/" + kUninstaller);

    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message,
                             TestMenus(root)))
        << message;
    EXPECT_EQ(ReadBytes(dest + "/" + kProgram), SampleEntries()[0].contents);
    EXPECT_FALSE(linked && fs::is_symlink(dest + "/" + kUninstaller));
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
    EXPECT_NE(message.find("No existe la carpeta «" + root / "falta" + "»"), std::string::npos) << message;
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

TEST(InstallFiles, AnyFailurePartWayLeavesTheFolderAndTheMenusAsTheyWere)
{
    // Over nothing, and over an earlier installation whose files it had begun to replace;
    // the third file's name is taken by a folder, or the disk fills on the first file.
    for (const bool over : {false, true}) {
        for (const bool diskFull : {false, true}) {
            TempFolder root;
            const std::string dest = root / "ordexa";
            const MenuLocations menus = TestMenus(root);
            CountingProgress progress;
            InstallReport report;
            std::string message;
            if (over) {
                auto older = SampleEntries();
                older[0].contents = Pattern(500, 9);
                ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, older), progress, report, message, menus))
                    << message;
            }
            if (!diskFull) {
                fs::create_directories(dest);
                fs::remove(FsPath(dest + "/Declaración general 5.fmt"));
                fs::create_directory(FsPath(dest + "/Declaración general 5.fmt"));
            }
            const std::string package = WritePackageFile(root, SampleEntries());
            const auto before = Listing(root.Path());
            if (diskFull && !LimitFileSize(20000))
                continue;  // no way to fill the disk on purpose here (Windows)
            const bool ok = InstallFiles(dest, package, progress, report, message, menus);
            if (diskFull)
                RestoreFileSizeLimit();
            const std::string what = std::string(over ? "over an installation" : "fresh") +
                                     (diskFull ? ", disk full" : ", name taken");
            EXPECT_FALSE(ok) << what;
            EXPECT_EQ(Listing(root.Path()), before) << what << "\n" << message;
            EXPECT_NE(message.find(diskFull ? "el disco se llenó" : "ya existe una carpeta"), std::string::npos)
                << what << ": " << message;
            EXPECT_NE(message.find("Se quitó lo que esta instalación había copiado"), std::string::npos) << message;
            EXPECT_EQ(message.find('"'), std::string::npos) << "one kind of quotes: " << message;
        }
    }
}

TEST(InstallFiles, RefusesAFolderWithoutRoomForThePackage)
{
    TempFolder temp;
    EXPECT_TRUE(DestinationProblem(temp.Path(), "ORDEXA", 1).empty());
    const std::string problem = DestinationProblem(temp.Path(), "ORDEXA", uint64_t(1) << 50);
    EXPECT_NE(problem.find("se necesitan 1073741824.0 MB y quedan "), std::string::npos) << problem;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "Escriba la carpeta"},
        {"ordexa", "no es una ruta completa"},
        {temp / "dos\nrenglones", "salto de renglón"},
        {kSystemRoot + "no-existe/ordexa", "No existe la carpeta «" + kSystemRoot + "no-existe»"},
    };
    for (const auto& [folder, expected] : cases)
        EXPECT_NE(DestinationProblem(folder, "ORDEXA", 0).find(expected), std::string::npos) << folder;
    EXPECT_NE(SetupWriteError("/x", EROFS).find("solo lectura"), std::string::npos);
    EXPECT_EQ(SetupWriteError("/x", EACCES).find("solo lectura"), std::string::npos);
}

TEST(InstallFiles, AReinstallKeepsASampleTheClerkChangedAndPutsTheNewOneBeside)
{
    TempFolder root;
    const std::string dest = root / "ordexa";
    const MenuLocations menus = TestMenus(root);
    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message, menus));
    const std::vector<uint8_t> edited{'m', 'i', 'o'};
    WriteBytes(dest + "/Declaración general 5.fmt", edited);
    WriteBytes(dest + "/vacío.txt", {});  // saved again unchanged: still ours

    auto newer = SampleEntries();
    newer[2].contents = Pattern(2000, 8);
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, newer), progress, report, message, menus)) << message;
        EXPECT_EQ(ReadBytes(dest + "/Declaración general 5.fmt"), edited);
        EXPECT_EQ(ReadBytes(dest + "/Declaración general 5 (nuevo).fmt"), newer[2].contents) << round;
        EXPECT_EQ(report.keptChanged, std::vector<std::string>{"Declaración general 5.fmt"});
        EXPECT_EQ(report.besideNames, std::vector<std::string>{"Declaración general 5 (nuevo).fmt"});
    }
    EXPECT_FALSE(Exists(dest + "/Declaración general 5 (nuevo 2).fmt")) << "the new copy is ours: replaced";
    EXPECT_FALSE(Exists(dest + "/vacío (nuevo).txt"));
}

TEST(InstallFiles, AListInTheFolderThatIsNotOursNeverMakesTheClerksFilesOurs)
{
    for (const bool ownHeader : {false, true}) {
        TempFolder root;
        const std::string dest = root / "ordexa";
        fs::create_directory(dest);
        WriteBytes(dest + "/tesis.odt", {'t'});
        WriteBytes(dest + "/notas.txt", {'n'});
        // A stale list naming the clerk's files: one without a digest, one whose digest no
        // longer matches; the second time it even claims to be written for this folder.
        const std::string header = ownHeader ? "# carpeta: " + dest + "\n" : "";
        const std::string stale = header + dest + "/tesis.odt\n1 " + std::string(64, 'a') + " " + dest +
                                  "/notas.txt\n" + dest + "/ORDEXA.instalados\n";
        WriteBytes(dest + "/ORDEXA.instalados", std::vector<uint8_t>(stale.begin(), stale.end()));

        CountingProgress progress;
        InstallReport report;
        std::string message;
        ASSERT_TRUE(InstallFiles(dest, WritePackageFile(root, SampleEntries()), progress, report, message,
                                 TestMenus(root)))
            << message;
        EXPECT_EQ(report.ignoredListed, (std::vector<std::string>{dest + "/tesis.odt", dest + "/notas.txt"}));
        UninstallReport removed;
        ASSERT_TRUE(Uninstall(report.installListPath, removed, message, TestMenus(root))) << message;
        EXPECT_TRUE(Exists(dest + "/tesis.odt"));
        EXPECT_TRUE(Exists(dest + "/notas.txt"));
        EXPECT_FALSE(Exists(dest + "/" + kProgram));
    }
}

TEST(InstallFiles, ARunKilledPartWayIsUndoneByTheNextInstallationOrUninstallation)
{
    // Killed while copying a fresh installation, then while replacing it.
    struct KillingProgress : CountingProgress {
        void Step() override
        {
            if (++steps == 2)
                KillSelf();
        }
    };
    const auto installKilled = [](const std::string& dest, const std::string& package, const MenuLocations& menus) {
        return RunKilled([&] {
            KillingProgress progress;
            InstallReport report;
            std::string message;
            InstallFiles(dest, package, progress, report, message, menus);
        });
    };
    TempFolder root;
    const std::string dest = root / "ordexa";
    const MenuLocations menus = TestMenus(root);
    const auto before = Listing(root.Path());
    ASSERT_TRUE(installKilled(dest, WritePackageFile(root, SampleEntries()), menus));
    ASSERT_TRUE(Exists(dest + "/.kal-diario"));

    // The next installation undoes the stopped one; then it is a clean installation.
    CountingProgress progress;
    InstallReport report;
    std::string message;
    auto older = SampleEntries();
    older[0].contents = Pattern(300, 4);
    const std::string olderPackage = WritePackageFile(root, older);
    ASSERT_TRUE(InstallFiles(dest, olderPackage, progress, report, message, menus)) << message;
    EXPECT_FALSE(report.recovered.empty());
    const auto installed = Listing(root.Path());
    for (const auto& [name, kind] : installed)
        EXPECT_EQ(name.find(".kal-"), std::string::npos) << name;

    // Killed while replacing it: the uninstaller puts back and takes away everything.
    ASSERT_TRUE(installKilled(dest, WritePackageFile(root, SampleEntries()), menus));
    fs::remove(FsPath(root / "paquete.dat"));
    UninstallReport removed;
    ASSERT_TRUE(Uninstall(report.installListPath, removed, message, menus)) << message;
    EXPECT_TRUE(removed.changed.empty()) << removed.changed.front();
    EXPECT_EQ(Listing(root.Path()), before);
}

TEST(InstallFiles, APackageWithNoFilesMakesNoMenuGroup)
{
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(root / "ordexa", WritePackageFile(root, {}), progress, report, message, menus))
        << message;
    EXPECT_FALSE(Exists(menus.dataHome));
    EXPECT_FALSE(Exists(menus.configHome));
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
    if (!MakeSymlink(root / "mis-notas.txt", dest + "/ORDEXA.instalados"))
        GTEST_SKIP() << "no symbolic link can be made here (Windows without the privilege)";

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

TEST(InstallFiles, OneInstallationOrUninstallationAtATimeWorksInAFolder)
{
    TempFolder root;
    DestinationLock first;
    DestinationLock second;
    std::string message;
    ASSERT_TRUE(first.Acquire(root.Path(), message)) << message;
    EXPECT_FALSE(second.Acquire(root.Path() + "/", message));
    EXPECT_NE(message.find("Otro programa de instalación (o el desinstalador) está trabajando en la carpeta"),
              std::string::npos)
        << message;
    // Nothing of the lock is left in the folder the clerk chose.
    EXPECT_TRUE(fs::is_empty(FsPath(root.Path())));
    first.Release();
    EXPECT_TRUE(second.Acquire(root.Path(), message)) << message;
}
