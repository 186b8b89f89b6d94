// Uninstalling: exactly what the install list names goes, the folders are left as they
// were before the installation, and a list that was tampered with removes nothing that
// the installer did not write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/fs_path.h"
#include "setup/install_files.h"
#include "setup/package_format.h"
#include "setup/uninstall.h"
#include "setup_fixture.h"

using namespace setup_test;
namespace fs = std::filesystem;

namespace {

std::string Install(const TempFolder& root, const std::string& dest, const MenuLocations& menus,
                    std::vector<PackageEntry> entries = SampleEntries())
{
    WriteBytes(root / "paquete.dat", BuildPackageBytes(entries, SampleTrailer()));
    CountingProgress progress;
    InstallReport report;
    std::string message;
    EXPECT_TRUE(InstallFiles(dest, root / "paquete.dat", progress, report, message, menus)) << message;
    fs::remove(FsPath(root / "paquete.dat"));
    return report.installListPath;
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

TEST(Uninstall, LeavesEveryFolderExactlyAsItWasBeforeTheInstallation)
{
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    // Menu folders that already hold somebody else's entries, and some that do not exist.
    fs::create_directories(menus.dataHome + "/applications");
    WriteText(menus.dataHome + "/applications/otro.desktop", "[Desktop Entry]\n");
    const auto before = Listing(root.Path());

    const std::string list = Install(root, root / "ordexa", menus);
    ASSERT_NE(Listing(root.Path()), before);
    UninstallReport report;
    std::string message;
    ASSERT_TRUE(Uninstall(list, report, message, menus)) << message;
    EXPECT_EQ(Listing(root.Path()), before);
    EXPECT_TRUE(report.kept.empty());
}

TEST(Uninstall, TheDesktopCachesOfFoldersItCreatedGoWithThem)
{
    if (!kDesktopMenus)
        GTEST_SKIP() << "Windows keeps no desktop caches: its program group is Start-menu shortcuts";
    if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0 ||
        std::system("command -v update-desktop-database >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
    TempFolder root;
    MenuLocations menus = TestMenus(root);
    menus.refreshDesktopCaches = true;
    const auto before = Listing(root.Path());

    // The program's own MIME types, so that the MIME database is made and refreshed.
    std::vector<PackageEntry> entries = SampleEntries();
    entries.push_back({kPackageMimeName, std::string(ORDEXA_SOURCE_DIR) + "/packaging/desktop/mx.kalvorsoft.Ordexa.xml", {}});
    const std::string list = Install(root, root / "ordexa", menus, entries);
    ASSERT_TRUE(fs::exists(menus.dataHome + "/mime/mime.cache"));
    UninstallReport report;
    std::string message;
    ASSERT_TRUE(Uninstall(list, report, message, menus)) << message;
    EXPECT_EQ(Listing(root.Path()), before);

    // Somebody else's entry in a folder the installation did not create keeps that
    // folder's cache, refreshed without our types.
    fs::create_directories(menus.dataHome + "/applications");
    WriteText(menus.dataHome + "/applications/otro.desktop",
              "[Desktop Entry]\nType=Application\nName=Otro\nExec=otro %f\nMimeType=text/plain;\n");
    const std::string again = Install(root, root / "ordexa", menus, entries);
    ASSERT_TRUE(Uninstall(again, report, message, menus)) << message;
    EXPECT_TRUE(fs::exists(menus.dataHome + "/applications/otro.desktop"));
    std::ifstream cache(menus.dataHome + "/applications/mimeinfo.cache");
    const std::string text((std::istreambuf_iterator<char>(cache)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("otro.desktop"), std::string::npos);
    EXPECT_EQ(text.find("ordexa"), std::string::npos);
}

TEST(Uninstall, KeepsTheClerksOwnFilesAndTheirFolder)
{
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    const std::string dest = root / "ordexa";
    const std::string list = Install(root, dest, menus);
    WriteText(dest + "/mi captura.cap", "datos");
    UninstallReport report;
    std::string message;
    ASSERT_TRUE(Uninstall(list, report, message, menus)) << message;
    EXPECT_EQ(Listing(dest).size(), 1u);
    EXPECT_TRUE(Exists(dest + "/mi captura.cap"));
}

TEST(Uninstall, KeepsAnInstalledFileTheClerkChangedAndNamesIt)
{
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    const std::string dest = root / "ordexa";
    const std::string list = Install(root, dest, menus);
    WriteText(dest + "/Declaración general 5.fmt", "editado");
    UninstallReport report;
    std::string message;
    ASSERT_TRUE(Uninstall(list, report, message, menus)) << message;
    EXPECT_EQ(report.changed, std::vector<std::string>{dest + "/Declaración general 5.fmt"});
    EXPECT_EQ(Listing(dest).size(), 1u);

    // A list from before sizes and digests were recorded: every listed file is as installed.
    const std::string old = Install(root, dest, menus);
    std::vector<std::string> paths;
    ASSERT_TRUE(ReadInstallList(old, paths, message)) << message;
    std::string bare;
    for (const std::string& path : paths)
        bare += path + "\n";
    WriteText(old, bare);
    WriteText(dest + "/" + kProgram, "cambiado");
    ASSERT_TRUE(Uninstall(old, report, message, menus)) << message;
    EXPECT_FALSE(Exists(dest + "/" + kProgram));
    EXPECT_TRUE(report.changed.empty());
}

TEST(Uninstall, RemovesOnlyWhatTheInstallerCouldHaveWritten)
{
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    const std::string dest = root / "ordexa";
    const std::string list = Install(root, dest, menus);
    // Somebody adds paths to the list: a file elsewhere, one reached through a link,
    // and a folder.
    WriteText(root / "importante.txt", "no borrar");
    fs::create_directory(root / "otra");
    WriteText(root / "otra/dato.txt", "no borrar");
    const bool linked = MakeSymlink(root / "otra", dest + "/enlace", true);
    auto lines = ReadBytes(list);
    const std::string extra = root / "importante.txt\n" + dest + "/enlace/dato.txt\n" + root / "otra\n";
    lines.insert(lines.begin(), extra.begin(), extra.end());
    WriteBytes(list, lines);
    // A listed file that is already gone is fine.
    fs::remove(FsPath(dest + "/vacío.txt"));

    UninstallReport report;
    std::string message;
    ASSERT_TRUE(Uninstall(list, report, message, menus)) << message;
    EXPECT_TRUE(Exists(root / "importante.txt"));
    EXPECT_TRUE(Exists(root / "otra/dato.txt"));
    EXPECT_FALSE(Exists(dest + "/" + kProgram));
    EXPECT_FALSE(Exists(list));
    EXPECT_EQ(report.kept.size(), linked ? 3u : 2u);
}

TEST(Uninstall, ADamagedListRemovesNothing)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"relative path", "ordexa/ORDEXA\n"},
        {"dot-dot component", kSystemRoot + "tmp/ordexa/../ORDEXA\n"},
        {"dot component", kSystemRoot + "tmp/./ORDEXA\n"},
        {"empty component", kSystemRoot + "tmp//ORDEXA\n"},
        {"NUL byte", kSystemRoot + std::string("tmp/ORD\0EXA\n", 12)},
    };
    for (const auto& [what, bad] : cases) {
        TempFolder root;
        const MenuLocations menus = TestMenus(root);
        const std::string list = Install(root, root / "ordexa", menus);
        auto bytes = ReadBytes(list);
        bytes.insert(bytes.end(), bad.begin(), bad.end());
        WriteBytes(list, bytes);
        const auto before = Listing(root.Path());
        UninstallReport report;
        std::string message;
        EXPECT_FALSE(Uninstall(list, report, message, menus)) << what;
        EXPECT_NE(message.find("está dañada"), std::string::npos) << what << ": " << message;
        EXPECT_EQ(Listing(root.Path()), before) << what;
    }
    TempFolder root;
    UninstallReport report;
    std::string message;
    EXPECT_FALSE(Uninstall(root / "no-existe.instalados", report, message, TestMenus(root)));
    EXPECT_NE(message.find("no-existe.instalados"), std::string::npos) << message;
}

TEST(Uninstall, ListsAreFoundBesideTheUninstaller)
{
    TempFolder root;
    EXPECT_EQ(FindInstallList(root.Path()), "");
    WriteText(root / "ORDEXA.instalados", "");
    EXPECT_EQ(FindInstallList(root.Path()), root / "ORDEXA.instalados");
    WriteText(root / "OTRO.instalados", "");
    EXPECT_EQ(FindInstallList(root.Path()), "") << "two lists: which one is ours cannot be told";
}

TEST(Uninstall, AVendorPrefixedFileOutsideTheMenuFoldersIsKept)
{
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    const std::string dest = root / "ordexa";
    const std::string list = Install(root, dest, menus);
    // The prefix alone makes nothing ours: the clerk's own file that happens to carry it,
    // named in an edited list, stays.
    fs::create_directory(root / "Documentos");
    const std::string clerks = root / "Documentos/kalvorsoft-contrato.txt";
    WriteText(clerks, "no borrar");
    auto lines = ReadBytes(list);
    const std::string extra = clerks + "\n";
    lines.insert(lines.begin(), extra.begin(), extra.end());
    WriteBytes(list, lines);

    UninstallReport report;
    std::string message;
    ASSERT_TRUE(Uninstall(list, report, message, menus)) << message;
    EXPECT_TRUE(Exists(clerks));
    EXPECT_NE(std::find(report.kept.begin(), report.kept.end(), clerks), report.kept.end());
    // The menu entries the installation wrote still go.
    EXPECT_FALSE(Exists(menus.dataHome + "/applications/kalvorsoft-ordexa-ordexa.desktop"));
    EXPECT_FALSE(Exists(menus.configHome + "/menus/applications-merged/kalvorsoft-ordexa.menu"));
}

TEST(Uninstall, AFolderNameTheListCannotHoldIsRefusedBeforeInstalling)
{
    // The list holds one path a line: a line break in the folder's name would split every
    // path in two and leave an installation that no uninstall can read.
    TempFolder root;
    const MenuLocations menus = TestMenus(root);
    const std::string dest = root / "dos\nrenglones";
    WriteBytes(root / "paquete.dat", BuildPackageBytes(SampleEntries(), SampleTrailer()));
    CountingProgress progress;
    InstallReport report;
    std::string message;
    EXPECT_FALSE(InstallFiles(dest, root / "paquete.dat", progress, report, message, menus));
    EXPECT_NE(message.find("salto de renglón"), std::string::npos) << message;
    EXPECT_FALSE(Exists(dest));
    EXPECT_FALSE(Exists(menus.dataHome));
}
