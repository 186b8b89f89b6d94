// Taking an installer apart: the appended archive, its one entry, the temporary files,
// and the damaged installers refused with a message and nothing left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "setup/package_format.h"
#include "setup/payload.h"
#include "setup/temp_file_name.h"
#include "setup_fixture.h"

using namespace setup_test;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> SamplePackage()
{
    return BuildPackageBytes(SampleEntries(), SampleTrailer());
}

// Where the archive starts inside an installer made by MakeInstaller.
size_t ArchiveStart(const std::vector<uint8_t>& setup)
{
    const size_t n = size_t(setup[setup.size() - 4]) | size_t(setup[setup.size() - 3]) << 8 |
                     size_t(setup[setup.size() - 2]) << 16 | size_t(setup[setup.size() - 1]) << 24;
    return setup.size() - 4 - n;
}

uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

// Where the entry's data starts (after its local header) and where its central header is.
size_t EntryData(const std::vector<uint8_t>& setup)
{
    const size_t start = ArchiveStart(setup);
    return start + 30 + Le(setup, start + 26, 2) + Le(setup, start + 28, 2);
}
size_t CentralHeader(const std::vector<uint8_t>& setup)
{
    const size_t endRecord = setup.size() - 4 - 22;  // no archive comment
    return ArchiveStart(setup) + Le(setup, endRecord + 16, 4);
}

bool Extract(const TempFolder& temp, const std::string& setup, PayloadResult& result, std::string& message)
{
    return ExtractPayload(setup, temp.Path(), nullptr, result, message);
}

}  // namespace

TEST(Payload, ExtractsTheTrailerTextsThePackageAndThePicture)
{
    TempFolder work;
    TempFolder temp;
    const std::string setup = MakeInstaller(work, SamplePackage());
    std::vector<std::string> statuses;
    PayloadResult result;
    std::string message;
    ASSERT_TRUE(ExtractPayload(setup, temp.Path(), [&](const std::string& text) { statuses.push_back(text); },
                               result, message))
        << message;
    EXPECT_EQ(statuses, (std::vector<std::string>{"Descomprimiendo....", "Procesando...."}));
    EXPECT_EQ(result.productName, "ORDEXA");
    EXPECT_EQ(result.description, SampleTrailer().description);
    EXPECT_EQ(result.defaultFolder, "~/ordexa");
    EXPECT_EQ(result.licenceText, SampleTrailer().licenceText);
    EXPECT_EQ(ReadBytes(result.packagePath), SamplePackage());
    EXPECT_EQ(ReadBytes(result.picturePath), SampleTrailer().picture);
    // The ZIP copy, the package and the picture, named in the order they were made.
    EXPECT_EQ(result.temporaryFiles, (std::vector<std::string>{temp / "KAL00001.dat", temp / "KAL00002.dat",
                                                               temp / "KAL00001.bmp"}));
    EXPECT_EQ(fs::status(result.packagePath).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    RemoveTemporaryFiles(result);
    EXPECT_TRUE(fs::is_empty(temp.Path()));
    RemoveTemporaryFiles(result);  // twice is harmless
}

TEST(Payload, AStoredEntryWorksAsADeflatedOne)
{
    TempFolder work;
    TempFolder temp;
    PayloadResult result;
    std::string message;
    ASSERT_TRUE(Extract(temp, MakeInstaller(work, SamplePackage(), false), result, message)) << message;
    EXPECT_EQ(ReadBytes(result.packagePath), SamplePackage());
    RemoveTemporaryFiles(result);
}

TEST(Payload, AnEntryOfExactlyWholeChunksIsReadWhole)
{
    // The package grows by the file's contents until it is exactly 3 × 16384 bytes.
    auto entries = SampleEntries();
    const size_t base = BuildPackageBytes(entries, SampleTrailer()).size();
    entries.push_back({"relleno.bin", {}, {}});
    const size_t withRecord = BuildPackageBytes(entries, SampleTrailer()).size();
    const size_t target = 3 * 16384 + (base / 16384) * 16384;
    ASSERT_GT(target, withRecord);
    entries.back().contents = Pattern(target - withRecord, 7);
    const auto package = BuildPackageBytes(entries, SampleTrailer());
    ASSERT_EQ(package.size() % 16384, 0u);

    TempFolder work;
    TempFolder temp;
    PayloadResult result;
    std::string message;
    ASSERT_TRUE(Extract(temp, MakeInstaller(work, package), result, message)) << message;
    EXPECT_EQ(ReadBytes(result.packagePath), package);
    RemoveTemporaryFiles(result);
}

TEST(Payload, TemporaryNamesSkipAnyNameAlreadyTaken)
{
    TempFolder temp;
    WriteBytes(temp / "KAL00001.dat", {'x'});
    EXPECT_EQ(TempFileName(temp.Path(), "KAL", ".dat"), temp / "KAL00002.dat");
    EXPECT_TRUE(Exists(temp / "KAL00002.dat")) << "the name is taken at once";
    // A link planted under the next name is not followed either.
    fs::create_symlink(temp / "victima", temp / "KAL00003.dat");
    EXPECT_EQ(TempFileName(temp.Path(), "KAL", ".dat"), temp / "KAL00004.dat");
    EXPECT_FALSE(Exists(temp / "victima"));
    EXPECT_EQ(ReadBytes(temp / "KAL00001.dat"), std::vector<uint8_t>{'x'});
    EXPECT_EQ(TempFileName(temp.Path() + "/", "KAL", ".bmp"), temp / "KAL00001.bmp");
    EXPECT_EQ(TempFileName(temp.Path(), "ABCDEFGHIJ", ".dat"), temp / "ABCDEFGHIJ1.dat");

    // The ZIP copy of an extraction then takes the next free number.
    TempFolder work;
    PayloadResult result;
    std::string message;
    ASSERT_TRUE(Extract(temp, MakeInstaller(work, SamplePackage()), result, message)) << message;
    EXPECT_EQ(result.temporaryFiles.front(), temp / "KAL00005.dat");
    RemoveTemporaryFiles(result);
    EXPECT_TRUE(Exists(temp / "KAL00001.dat"));
}

TEST(Payload, GivesUpOnNamesAtAThousandAndOnAFolderThatIsNotThere)
{
    TempFolder temp;
    for (int i = 1; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "KAL%05d.dat", i);
        WriteBytes(temp / name, {});
    }
    EXPECT_EQ(TempFileName(temp.Path(), "KAL", ".dat"), temp.Path() + "/");
    EXPECT_EQ(TempFileName(temp / "no-existe", "KAL", ".dat"), temp / "no-existe/");

    TempFolder work;
    PayloadResult result;
    std::string message;
    EXPECT_FALSE(Extract(temp, MakeInstaller(work, SamplePackage()), result, message));
    EXPECT_NE(message.find("No se puede crear un archivo temporal"), std::string::npos) << message;
}

TEST(Payload, RefusesDamagedInstallersAndLeavesNoTemporaryFile)
{
    TempFolder work;
    const std::string sound = MakeInstaller(work, SamplePackage());
    const auto soundBytes = ReadBytes(sound);
    const std::string stored = MakeInstaller(work, SamplePackage(), false);
    const auto storedBytes = ReadBytes(stored);
    const size_t storedStart = ArchiveStart(storedBytes);

    auto withLength = [&](uint32_t n) {
        auto bytes = soundBytes;
        for (int i = 0; i < 4; ++i)
            bytes[bytes.size() - 4 + i] = uint8_t(n >> (8 * i));
        return bytes;
    };
    auto badCrc = storedBytes;
    badCrc[EntryData(storedBytes) + 100] ^= 0xFF;  // a byte of the stored package
    auto badMethod = storedBytes;
    badMethod[storedStart + 8] = 12;  // the local header's method
    const size_t central = CentralHeader(storedBytes);
    ASSERT_EQ(Le(badMethod, central, 4), 0x02014b50u);
    badMethod[central + 10] = 12;
    auto notZip = soundBytes;
    std::fill(notZip.begin() + long(ArchiveStart(soundBytes)), notZip.end() - 4, uint8_t(0x41));
    auto damagedPackage = SamplePackage();
    damagedPackage[0] = 'X';
    TempFolder other;
    const auto badMagic = ReadBytes(MakeInstaller(other, damagedPackage));
    auto cutDeflate = soundBytes;
    for (size_t i = 40; i < 60; ++i)
        cutDeflate[EntryData(soundBytes) + i] ^= 0x5A;

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"too short to hold anything", {1, 2, 3}, "no trae los archivos"},
        {"length beyond the executable", withLength(0x7FFFFFFF), "declara un archivo comprimido de 2147483647"},
        {"length below any archive", withLength(3), "declara un archivo comprimido de 3"},
        {"not a ZIP archive", notZip, "no es un archivo ZIP"},
        {"stored data that fails its CRC", badCrc, "comprobación de integridad (CRC)"},
        {"deflated data damaged", cutDeflate, "está dañado"},
        {"unsupported method", badMethod, "método de compresión 12"},
        {"package that is not ours", badMagic, "no es un paquete de instalación"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const std::string path = work / "setup-danado";
        WriteBytes(path, c.bytes);
        PayloadResult result;
        std::string message;
        EXPECT_FALSE(Extract(temp, path, result, message)) << c.what;
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
        EXPECT_TRUE(result.temporaryFiles.empty()) << c.what;
        EXPECT_TRUE(fs::is_empty(temp.Path())) << c.what;
    }
}

TEST(Payload, DefaultFolderStartingWithTildeIsUnderHome)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(ExpandHomeFolder("~/ordexa"), "/home/ana/ordexa");
    EXPECT_EQ(ExpandHomeFolder("~"), "/home/ana");
    EXPECT_EQ(ExpandHomeFolder("/opt/ordexa"), "/opt/ordexa");
    EXPECT_EQ(ExpandHomeFolder("~ana/x"), "~ana/x");
    setenv("HOME", home.c_str(), 1);
}
