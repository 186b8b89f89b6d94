// The installer the build makes (bin/setup), taken apart by the installer's own code and
// installed into a temporary folder: every file is its source, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "setup/install_files.h"
#include "setup/payload.h"
#include "setup/uninstall.h"
#include "setup_fixture.h"

using namespace setup_test;
namespace fs = std::filesystem;

TEST(RealInstaller, InstallsTheBuiltProgramsHelpAndSamplesByteForByte)
{
    const std::string bin = ORDEXA_BUILD_BIN;
    const std::string source = ORDEXA_SOURCE_DIR;
    if (!Exists(bin + "/setup"))
        GTEST_SKIP() << "bin/setup has not been built (target setup)";

    TempFolder temp;
    PayloadResult payload;
    std::string message;
    ASSERT_TRUE(ExtractPayload(bin + "/setup", temp.Path(), nullptr, payload, message)) << message;
    EXPECT_EQ(payload.productName, "ORDEXA");
    EXPECT_EQ(payload.defaultFolder, "~/ordexa");
    EXPECT_NE(payload.licenceText.find("\r\n"), std::string::npos);
    EXPECT_EQ(payload.licenceText.find("\n\n"), std::string::npos) << "every line ends with CR LF";
    EXPECT_FALSE(payload.description.empty());
    const auto picture = ReadBytes(payload.picturePath);
    ASSERT_GT(picture.size(), 54u);
    EXPECT_EQ(picture[0], 'B');
    EXPECT_EQ(picture[1], 'M');
    EXPECT_EQ(picture[28], 8) << "8 bits per pixel, with a palette";
    EXPECT_GE(picture[18] | picture[19] << 8, 68) << "at least 68 pixels wide";

    TempFolder root;
    const std::string dest = root / "ordexa";
    CountingProgress progress;
    InstallReport report;
    ASSERT_TRUE(InstallFiles(dest, payload.packagePath, progress, report, message, TestMenus(root))) << message;
    RemoveTemporaryFiles(payload);
    EXPECT_TRUE(fs::is_empty(temp.Path()));

    std::vector<std::pair<std::string, std::string>> expected = {
        {"ORDEXA", bin + "/Ordexa"},
        {"ordexa-cli", bin + "/ordexa-cli"},
        {"ordexa-desinstalar", bin + "/ordexa-desinstalar"},
        {"estilo.css", source + "/help/estilo.css"},
        {"ordexa.svg", source + "/src/app/icons/ordexa.svg"},
        {"ordexa-mime.xml", source + "/packaging/desktop/mx.kalvorsoft.Ordexa.xml"},
    };
    for (const auto& folder : {source + "/help", source + "/samples"})
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".html") || name.ends_with(".fmt"))
                expected.emplace_back(name, entry.path().string());
        }
    EXPECT_EQ(progress.maximum, int(expected.size()));
    EXPECT_EQ(progress.steps, int(expected.size()));
    for (const auto& [name, from] : expected) {
        EXPECT_TRUE(ReadBytes(dest + "/" + name) == ReadBytes(from)) << name << " differs from " << from;
        struct stat st {};
        ::stat((dest + "/" + name).c_str(), &st);
        const bool program = name == "ORDEXA" || name == "ordexa-cli" || name == "ordexa-desinstalar";
        EXPECT_EQ(st.st_mode & 0777, program ? 0755u : 0644u) << name;
    }

    UninstallReport removed;
    ASSERT_TRUE(Uninstall(report.installListPath, removed, message, TestMenus(root))) << message;
    EXPECT_FALSE(Exists(dest));
}
