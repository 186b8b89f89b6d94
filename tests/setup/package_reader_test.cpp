// The package reader: what it hands back from a sound package, and the damaged or
// hostile packages it refuses before anything is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "setup/package_format.h"
#include "setup_fixture.h"

using namespace setup_test;

namespace {

// Raw package bytes, for packages the writer would never make.
struct RawPackage {
    std::vector<uint8_t> bytes;
    RawPackage& Text(std::string_view text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    RawPackage& U32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(value >> (8 * i)));
        return *this;
    }
    RawPackage& Record(std::string_view name, std::string_view contents)
    {
        return U32(uint32_t(name.size())).Text(name).U32(uint32_t(contents.size())).Text(contents);
    }
    RawPackage& Block(std::string_view text) { return Text(text).U32(uint32_t(text.size())); }
    RawPackage& Trailer() { return Block("licencia").Block("BM").Block("~/ordexa").Block("desc").Block("ORDEXA"); }
};

bool OpenBytes(const TempFolder& folder, const std::vector<uint8_t>& bytes, std::string& message)
{
    const std::string path = folder / "paquete.dat";
    WriteBytes(path, bytes);
    SetupPackage package;
    return package.Open(path, message);
}

}  // namespace

TEST(PackageReader, GivesBackWhatTheWriterPutInAndReadsEachRecordInOrder)
{
    TempFolder folder;
    const auto entries = SampleEntries();
    const std::string path = folder / "paquete.dat";
    std::string message;
    ASSERT_TRUE(WritePackage(path, entries, SampleTrailer(), message)) << message;

    SetupPackage package;
    ASSERT_TRUE(package.Open(path, message)) << message;
    EXPECT_EQ(package.FileCount(), entries.size());
    const PackageTrailer& trailer = package.Trailer();
    EXPECT_EQ(trailer.productName, "ORDEXA");
    EXPECT_EQ(trailer.description, SampleTrailer().description);
    EXPECT_EQ(trailer.defaultFolder, "~/ordexa");
    EXPECT_EQ(trailer.picture, SampleTrailer().picture);
    EXPECT_EQ(trailer.licenceText, SampleTrailer().licenceText);

    SetupPackage::Record record;
    for (const PackageEntry& entry : entries) {
        ASSERT_TRUE(package.NextRecord(record, message)) << message;
        EXPECT_EQ(record.name, entry.name);
        std::vector<uint8_t> contents;
        uint8_t buffer[4096];
        while (size_t n = package.ReadContents(record, buffer, sizeof buffer, message))
            contents.insert(contents.end(), buffer, buffer + n);
        EXPECT_EQ(contents, entry.contents) << entry.name;
    }
    EXPECT_FALSE(package.NextRecord(record, message));
    EXPECT_TRUE(message.empty()) << message;
}

TEST(PackageReader, StoresNamesAndTextsInWindows1252)
{
    std::vector<PackageEntry> entries = {{"Declaración.fmt", {}, {'x'}}};
    const auto bytes = BuildPackageBytes(entries, SampleTrailer());
    // 4-byte length, then the name with "ó" as the single byte 0xF3.
    const std::string name(bytes.begin() + 18, bytes.begin() + 18 + 15);
    EXPECT_EQ(name, "Declaraci\xF3n.fmt");
}

TEST(PackageReader, SkippingARecordsContentsLandsOnTheNextRecord)
{
    TempFolder folder;
    const std::string path = folder / "paquete.dat";
    WriteBytes(path, BuildPackageBytes(SampleEntries(), SampleTrailer()));
    SetupPackage package;
    std::string message;
    ASSERT_TRUE(package.Open(path, message)) << message;
    SetupPackage::Record record;
    std::vector<std::string> names;
    while (package.NextRecord(record, message))
        names.push_back(record.name);
    EXPECT_EQ(names, (std::vector<std::string>{kProgram, kUninstaller, "Declaración general 5.fmt", "vacío.txt"}));
}

TEST(PackageReader, RefusesDamagedPackagesWithASpanishMessage)
{
    const auto sound = RawPackage().Text("KALVOR Cab").U32(1).Record("a.fmt", "hola").Trailer().bytes;
    auto truncatedInTrailer = sound;
    truncatedInTrailer.resize(sound.size() - 3);
    auto leftover = RawPackage().Text("KALVOR Cab").U32(1).Record("a.fmt", "hola").Text("xyz").Trailer().bytes;

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* expected;  // part of the message
    };
    const std::vector<Case> cases = {
        {"bad magic", RawPackage().Text("KALVOR Cax").U32(1).Record("a.fmt", "hola").Trailer().bytes,
         "no es un paquete de instalación"},
        {"empty file", {}, "incompleto"},
        {"magic only", RawPackage().Text("KALVOR Cab").bytes, "incompleto"},
        {"no trailer", RawPackage().Text("KALVOR Cab").U32(0).bytes, "falta el nombre del producto"},
        {"trailer cut short", truncatedInTrailer, "incompleto"},
        {"contents run into the trailer",
         RawPackage().Text("KALVOR Cab").U32(1).U32(5).Text("a.fmt").U32(5000).Text("hola").Trailer().bytes,
         "el archivo «a.fmt» declara 5000 bytes y solo quedan 4."},
        {"name runs past the data",
         RawPackage().Text("KALVOR Cab").U32(1).U32(400).Text("a.fmt").Trailer().bytes, "declara 400 bytes"},
        {"name of 65536 bytes", RawPackage().Text("KALVOR Cab").U32(1).U32(65536).Text("abcdefgh").Trailer().bytes,
         "el límite es 65535"},
        {"count beyond the data", RawPackage().Text("KALVOR Cab").U32(0xFFFFFFFFu).Trailer().bytes,
         "declara 4294967295 archivos"},
        {"fewer records than counted", RawPackage().Text("KALVOR Cab").U32(2).Record("a.fmt", "hola").Trailer().bytes,
         "incompleto"},
        {"bytes between the records and the trailer", leftover, "sobran 3 bytes"},
        {"trailer length beyond the file",
         RawPackage().Text("KALVOR Cab").U32(0).Block("licencia").Block("BM").Block("~/o").Block("d").Text("ORDEXA").U32(
             999999).bytes,
         "el nombre del producto declara 999999 bytes"},
        {"product name unfit for a file name",
         RawPackage().Text("KALVOR Cab").U32(0).Block("l").Block("BM").Block("~/o").Block("d").Block("../ORDEXA").bytes,
         "no sirve como nombre de archivo"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        std::string message;
        EXPECT_FALSE(OpenBytes(folder, c.bytes, message)) << c.what;
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
        EXPECT_NE(message.find(folder / "paquete.dat"), std::string::npos) << c.what << " names the package: " << message;
    }
}

TEST(PackageReader, RefusesNamesThatCouldLeaveTheDestinationFolder)
{
    const std::vector<std::string> names = {"../fuera", "..", ".", "/etc/passwd", "sub/archivo", "a\\b",
                                            std::string("a\0b", 3), "", "línea\nnueva"};
    for (const std::string& name : names) {
        TempFolder folder;
        std::string message;
        const auto bytes = RawPackage().Text("KALVOR Cab").U32(1).Record(name, "x").Trailer().bytes;
        EXPECT_FALSE(OpenBytes(folder, bytes, message)) << name;
        EXPECT_NE(message.find("nombre no permitido"), std::string::npos) << name << ": " << message;
    }
    for (const char* name : {"Declaracion general 5.fmt", "..archivo", "a.b.c", "ORDEXA"})
        EXPECT_TRUE(IsSafePackageFileName(name)) << name;
}

TEST(PackageReader, AcceptsAnEmptyFileAndAPackageWithNoFiles)
{
    TempFolder folder;
    std::string message;
    EXPECT_TRUE(OpenBytes(folder, RawPackage().Text("KALVOR Cab").U32(1).Record("vacio.txt", "").Trailer().bytes,
                          message))
        << message;
    EXPECT_TRUE(OpenBytes(folder, RawPackage().Text("KALVOR Cab").U32(0).Trailer().bytes, message)) << message;
}

TEST(PackageReader, WriterRefusesNamesTheReaderWouldRefuse)
{
    TempFolder folder;
    std::string message;
    EXPECT_FALSE(WritePackage(folder / "p.dat", {{"../x", {}, {'a'}}}, SampleTrailer(), message));
    EXPECT_NE(message.find("«../x»"), std::string::npos) << message;
    EXPECT_FALSE(Exists(folder / "p.dat"));
    EXPECT_FALSE(WritePackage(folder / "p.dat", {{"a", folder / "no-existe", {}}}, SampleTrailer(), message));
    EXPECT_NE(message.find("no-existe"), std::string::npos) << message;
}

TEST(PackageReader, APackageCutShortWhileBeingReadStopsWithAMessage)
{
    TempFolder folder;
    const std::string path = folder / "paquete.dat";
    WriteBytes(path, BuildPackageBytes(SampleEntries(), SampleTrailer()));
    SetupPackage package;
    std::string message;
    ASSERT_TRUE(package.Open(path, message)) << message;
    std::filesystem::resize_file(path, 1000);  // in the middle of the first file
    SetupPackage::Record record;
    ASSERT_TRUE(package.NextRecord(record, message)) << message;
    uint8_t buffer[65536];
    size_t total = 0;
    int reads = 0;
    while (size_t n = package.ReadContents(record, buffer, sizeof buffer, message)) {
        total += n;
        ASSERT_LT(++reads, 10);
    }
    EXPECT_LT(total, record.size);
    EXPECT_NE(message.find("«" + kProgram + "» se termina antes de sus 70000 bytes"), std::string::npos) << message;
}
