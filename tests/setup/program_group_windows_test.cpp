// The program group on Windows: a folder of Start-menu shortcuts to the installed
// programs, read back with the shell's own IShellLinkW.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include "base/fs_path.h"
#include "base/windows_paths.h"
#include "setup/install_files.h"
#include "setup/package_format.h"
#include "setup/program_group.h"
#include "setup/setup_files.h"
#include "setup/uninstall.h"
#include "setup_fixture.h"

using namespace setup_test;
namespace fs = std::filesystem;

namespace {

struct Shortcut {
    std::string target;
    std::string workingFolder;
};

Shortcut ReadShortcut(const std::string& path)
{
    Shortcut shortcut;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(WidePath(path).c_str(), STGM_READ))) {
        wchar_t buffer[MAX_PATH * 4] = {};
        if (link->GetPath(buffer, MAX_PATH * 4, nullptr, SLGP_RAWPATH) == S_OK)
            shortcut.target = GenericPath(Utf8Path(buffer));
        buffer[0] = L'\0';
        if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH * 4)))
            shortcut.workingFolder = GenericPath(Utf8Path(buffer));
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return shortcut;
}

std::string MakeInstalledFolder(const TempFolder& root, const std::string& name)
{
    const std::string dest = root / name;
    fs::create_directories(FsPath(dest));
    for (const std::string& file : {kProgram, kUninstaller})
        WriteBytes(dest + "/" + file, {'M', 'Z'});
    return dest;
}

}  // namespace

TEST(ProgramGroupWindows, BecomesAStartMenuFolderOfShortcutsToTheInstalledPrograms)
{
    TempFolder root;
    const std::string dest = MakeInstalledFolder(root, "mis programas/Año ñandú");
    const MenuLocations menus = TestMenus(root);
    const ProgramGroupResult result = RegisterProgramGroup(dest, "ORDEXA", menus);

    const std::string group = menus.dataHome + "/ORDEXA";
    EXPECT_EQ(result.createdFolders, (std::vector<std::string>{menus.dataHome, group}));
    ASSERT_EQ(result.writtenFiles, (std::vector<std::string>{group + "/ORDEXA.lnk", group + "/Desinstalar Ordexa.lnk"}));
    EXPECT_EQ(result.carriedOut.size(), 4u);
    for (const auto& [path, program] : {std::pair{result.writtenFiles[0], kProgram},
                                        std::pair{result.writtenFiles[1], kUninstaller}}) {
        const Shortcut shortcut = ReadShortcut(path);
        EXPECT_EQ(shortcut.target, dest + "/" + program) << path;
        EXPECT_EQ(shortcut.workingFolder, dest) << path;
    }
    // Nothing else in the group's folder: no temporary file left over.
    EXPECT_EQ(Listing(group).size(), 2u);

    UndoProgramGroup(result, menus);
    EXPECT_FALSE(Exists(menus.dataHome));
}

TEST(ProgramGroupWindows, TheStartMenuIsTheUsersProgramsFolder)
{
    const MenuLocations menus = MenuLocations::FromEnvironment();
    ASSERT_TRUE(IsFullPath(menus.dataHome)) << menus.dataHome;
    EXPECT_EQ(menus.dataHome.find('\\'), std::string::npos) << menus.dataHome;
    const std::string tail = "/Start Menu/Programs";
    EXPECT_EQ(menus.dataHome.compare(menus.dataHome.size() - tail.size(), tail.size(), tail), 0) << menus.dataHome;
}

TEST(ProgramGroupWindows, UninstallTakesOnlyShortcutsToItsOwnPrograms)
{
    TempFolder root;
    const std::string dest = MakeInstalledFolder(root, "ordexa");
    const MenuLocations menus = TestMenus(root);
    // Another product's shortcut in the Start menu (its uninstaller's), named in an
    // edited list.
    const std::string other = MakeInstalledFolder(root, "otro");
    const ProgramGroupResult theirs = RegisterProgramGroup(other, "OTRO", menus);
    ASSERT_EQ(theirs.writtenFiles, std::vector<std::string>{menus.dataHome + "/OTRO/Desinstalar Ordexa.lnk"});

    WriteBytes(root / "paquete.dat", BuildPackageBytes(SampleEntries(), SampleTrailer()));
    fs::remove_all(FsPath(dest));
    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, root / "paquete.dat", progress, report, message, menus)) << message;
    EXPECT_EQ(report.menuFiles.size(), 2u);
    auto lines = ReadBytes(report.installListPath);
    const std::string extra = theirs.writtenFiles[0] + "\n";
    lines.insert(lines.end(), extra.begin(), extra.end());
    WriteBytes(report.installListPath, lines);

    UninstallReport removed;
    ASSERT_TRUE(Uninstall(report.installListPath, removed, message, menus)) << message;
    for (const std::string& path : report.menuFiles)
        EXPECT_FALSE(Exists(path)) << path;
    EXPECT_FALSE(Exists(menus.dataHome + "/ORDEXA"));
    EXPECT_TRUE(Exists(theirs.writtenFiles[0]));
    EXPECT_NE(std::find(removed.kept.begin(), removed.kept.end(), theirs.writtenFiles[0]), removed.kept.end());
}
