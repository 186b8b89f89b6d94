// Installing on Windows: a file of the installation that another program holds open
// cannot be replaced; the installation stops, says so and puts the folder back, and the
// next one, once the program is closed, finishes the work.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/windows_paths.h"
#include "setup/install_files.h"
#include "setup/package_format.h"
#include "setup_fixture.h"

using namespace setup_test;

TEST(InstallFilesWindows, AProgramInUseIsNotReplacedAndTheClerkIsToldToCloseIt)
{
    TempFolder root;
    const std::string dest = root / "ordexa";
    const MenuLocations menus = TestMenus(root);
    WriteBytes(root / "paquete.dat", BuildPackageBytes(SampleEntries(), SampleTrailer()));
    CountingProgress progress;
    InstallReport report;
    std::string message;
    ASSERT_TRUE(InstallFiles(dest, root / "paquete.dat", progress, report, message, menus)) << message;

    // The program is running: held open, and Windows lets nobody rename over it.
    const HANDLE running = ::CreateFileW(WidePath(dest + "/" + kProgram).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    auto newer = SampleEntries();
    newer[0].contents = Pattern(1000, 7);
    WriteBytes(root / "paquete.dat", BuildPackageBytes(newer, SampleTrailer()));
    const auto before = Listing(root.Path());
    EXPECT_FALSE(InstallFiles(dest, root / "paquete.dat", progress, report, message, menus));
    ::CloseHandle(running);
    EXPECT_NE(message.find("«" + dest + "/" + kProgram + "» está en uso por otro programa; ciérrelo"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("quedó como estaba"), std::string::npos) << message;
    // As it was; only the backup, a second name of the file in use, could not go yet.
    auto after = Listing(root.Path());
    std::erase_if(after, [](const auto& entry) { return entry.first.rfind("ordexa/.kal-respaldo-", 0) == 0; });
    EXPECT_EQ(after, before);
    EXPECT_EQ(ReadBytes(dest + "/" + kProgram), SampleEntries()[0].contents);

    // Once the program is closed the next installation replaces it and sweeps the backup.
    ASSERT_TRUE(InstallFiles(dest, root / "paquete.dat", progress, report, message, menus)) << message;
    EXPECT_EQ(ReadBytes(dest + "/" + kProgram), newer[0].contents);
    for (const auto& [name, kind] : Listing(dest))
        EXPECT_EQ(name.find(".kal-"), std::string::npos) << name;
}
