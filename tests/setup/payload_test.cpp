// Taking an installer apart: the appended archive, its one entry, the temporary files,
// and the damaged installers refused with a message and nothing left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/fs_path.h"
#include "setup/package_format.h"
#include "setup/payload.h"
#include "setup/run_folder.h"
#include "setup/setup_files.h"
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
    // The ZIP copy, the package and the picture, named in the order they were made, in
    // the run's own folder.
    ASSERT_TRUE(result.runFolder);
    const std::string run = result.runFolder->Path();
    EXPECT_EQ(run.rfind(temp / "kal-instalador-", 0), 0u) << run;
    EXPECT_EQ(result.temporaryFiles, (std::vector<std::string>{run + "/KAL00001.dat", run + "/KAL00002.dat",
                                                               run + "/KAL00001.bmp"}));
    if (kPermissionBits) {
        EXPECT_EQ(ModeOf(result.packagePath), 0600u);
    }

    RemoveTemporaryFiles(result);
    EXPECT_TRUE(fs::is_empty(FsPath(temp.Path())));
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
    if (MakeSymlink(temp / "victima", temp / "KAL00003.dat")) {
        EXPECT_EQ(TempFileName(temp.Path(), "KAL", ".dat"), temp / "KAL00004.dat");
        EXPECT_FALSE(Exists(temp / "victima"));
    }
    EXPECT_EQ(ReadBytes(temp / "KAL00001.dat"), std::vector<uint8_t>{'x'});
    EXPECT_EQ(TempFileName(temp.Path() + "/", "KAL", ".bmp"), temp / "KAL00001.bmp");
    EXPECT_EQ(TempFileName(temp.Path(), "ABCDEFGHIJ", ".dat"), temp / "ABCDEFGHIJ1.dat");

    // An extraction works in a folder of its own and leaves these names alone.
    TempFolder work;
    PayloadResult result;
    std::string message;
    ASSERT_TRUE(Extract(temp, MakeInstaller(work, SamplePackage()), result, message)) << message;
    EXPECT_EQ(result.temporaryFiles.front(), result.runFolder->Path() + "/KAL00001.dat");
    RemoveTemporaryFiles(result);
    EXPECT_TRUE(Exists(temp / "KAL00001.dat"));
    EXPECT_TRUE(Exists(temp / "KAL00002.dat"));
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
    EXPECT_FALSE(ExtractPayload(MakeInstaller(work, SamplePackage()), temp / "no-existe", nullptr, result, message));
    EXPECT_NE(message.find("No se puede crear una carpeta temporal en «" + temp / "no-existe" + "»"),
              std::string::npos)
        << message;
}

TEST(Payload, ALaterRunRemovesWhatARunThatDiedLeftAndNothingElse)
{
    TempFolder temp;
    // Two runs killed while they held their files, one of them beside someone else's file.
    const bool killed = RunKilled([&] {
        RunFolder first, second;
        std::string message;
        if (first.Create(temp.Path(), message) && second.Create(temp.Path(), message)) {
            WriteBytes(first.Path() + "/KAL00001.dat", Pattern(1000, 1));
            WriteBytes(first.Path() + "/KAL00001.bmp", {'B', 'M'});
            WriteBytes(second.Path() + "/KAL00001.dat", {1});
            WriteBytes(second.Path() + "/notas.txt", {'x'});
        }
        KillSelf();
    });
    ASSERT_TRUE(killed);
    std::vector<std::string> dead;
    for (const auto& entry : fs::directory_iterator(FsPath(temp.Path())))
        dead.push_back(GenericPath(Utf8(entry.path())));
    ASSERT_EQ(dead.size(), 2u);
    // Look-alikes that are not the installer's.
    WriteBytes(temp / "KAL00001.dat", {3});
    fs::create_directory(FsPath(temp / "kal-instalador-otro"));
    MakeSymlink(dead[0], temp / "kal-instalador-enlace", true);

    // The next run sweeps as it starts; a run that is alive is never swept.
    RunFolder next;
    std::string message;
    ASSERT_TRUE(next.Create(temp.Path(), message)) << message;
    WriteBytes(next.Path() + "/KAL00001.dat", {2});
    EXPECT_EQ(SweepAbandonedRunFolders(temp.Path()), 0);
    EXPECT_TRUE(Exists(next.Path() + "/KAL00001.dat"));
    for (const std::string& folder : dead) {
        EXPECT_FALSE(Exists(folder + "/KAL00001.dat")) << folder;
        EXPECT_EQ(Exists(folder), Exists(folder + "/notas.txt")) << "a stranger's file keeps its folder";
    }
    EXPECT_TRUE(Exists(temp / "KAL00001.dat"));
    EXPECT_TRUE(Exists(temp / "kal-instalador-otro"));
    const std::string nextPath = next.Path();
    next.Remove();
    EXPECT_FALSE(Exists(nextPath));
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
        {"stored data that fails its CRC", badCrc, "el archivo comprimido que lleva no pasa la comprobación de integridad (CRC)"},
        {"deflated data damaged", cutDeflate, "está dañado"},
        {"unsupported method", badMethod, "método de compresión 12"},
        {"package that is not ours", badMagic, "no trae un paquete de instalación"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const std::string path = work / "setup-danado";
        WriteBytes(path, c.bytes);
        PayloadResult result;
        std::string message;
        EXPECT_FALSE(Extract(temp, path, result, message)) << c.what;
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
        // The installer the clerk ran is named, with what to do, never the temporary copy.
        EXPECT_NE(message.find("«" + path + "»"), std::string::npos) << c.what << ": " << message;
        EXPECT_NE(message.find("Vuelva a copiar el programa de instalación."), std::string::npos) << message;
        EXPECT_EQ(message.find("KAL0"), std::string::npos) << c.what << ": " << message;
        EXPECT_TRUE(result.temporaryFiles.empty()) << c.what;
        EXPECT_TRUE(fs::is_empty(FsPath(temp.Path()))) << c.what;
    }
}

TEST(Payload, DefaultFolderStartingWithTildeIsUnderHome)
{
    const std::string home = std::getenv(HomeVariable()) ? std::getenv(HomeVariable()) : "";
#ifdef _WIN32
    const std::string ana = "C:/Users/ana";
    SetEnvironment(HomeVariable(), "C:\\Users\\ana");
#else
    const std::string ana = "/home/ana";
    SetEnvironment(HomeVariable(), ana);
#endif
    EXPECT_EQ(ExpandHomeFolder("~/ordexa"), ana + "/ordexa");
    EXPECT_EQ(ExpandHomeFolder("~"), ana);
    EXPECT_EQ(ExpandHomeFolder("/opt/ordexa"), "/opt/ordexa");
    EXPECT_EQ(ExpandHomeFolder("~ana/x"), "~ana/x");
    SetEnvironment(HomeVariable(), home);
}
