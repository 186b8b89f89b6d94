#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <sys/stat.h>

#include "base/atomic_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(std::string_view s)
{
    return {s.begin(), s.end()};
}

}  // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryBehind)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.fmt").toStdString();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes("uno"), &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes("dos"), &error)) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(path, back, &error));
    EXPECT_EQ(back, Bytes("dos"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, AFailedWriteLeavesWhatWasThere)
{
    QTemporaryDir dir;
    // A folder standing where the file should go cannot be replaced by a file.
    const fs::path blocked = fs::path(dir.path().toStdString()) / "occupied.fmt";
    fs::create_directory(blocked);
    fs::path inside = blocked / "keep.txt";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(inside.string(), Bytes("keep"), &error));
    EXPECT_FALSE(WriteFileAtomically(blocked.string(), Bytes("new"), &error));
    EXPECT_NE(error.find("occupied.fmt"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_TRUE(fs::exists(inside));
    // Only the folder remains: the temporary file was removed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator()), 1);

    EXPECT_FALSE(WriteFileAtomically((blocked / "no" / "such" / "x.fmt").string(), Bytes("x"), &error));
}

// Saving never turns something that is not the clerk's plain file into one, never
// overrides a deliberate write protection, and keeps links as links.
TEST(AtomicFile, RefusesTargetsThatAreNotWritablePlainFiles)
{
    QTemporaryDir dir;
    std::string error;

    // A device keeps being a device (the administrator could otherwise replace it).
    EXPECT_FALSE(WriteFileAtomically("/dev/null", Bytes("x"), &error));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_NE(error.find("no es un archivo común"), std::string::npos) << error;

    // A read-only file in a writable folder stays as it was, even for root.
    const std::string locked = dir.filePath("bloqueado.fmt").toStdString();
    ASSERT_TRUE(WriteFileAtomically(locked, Bytes("viejo"), &error)) << error;
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteFileAtomically(locked, Bytes("nuevo"), &error));
    EXPECT_NE(error.find("solo lectura"), std::string::npos) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(locked, back, &error));
    EXPECT_EQ(back, Bytes("viejo"));
}

TEST(AtomicFile, SavesThroughASymbolicLinkIntoTheFileItPointsTo)
{
    QTemporaryDir dir;
    const fs::path root(dir.path().toStdString());
    fs::create_directory(root / "real");
    const fs::path real = root / "real" / "factura.fmt";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(real.string(), Bytes("viejo"), &error)) << error;
    // A relative link, as people make them, and a link to that link.
    fs::create_symlink("real/factura.fmt", root / "enlace.fmt");
    fs::create_symlink("enlace.fmt", root / "enlace2.fmt");

    ASSERT_TRUE(WriteFileAtomically((root / "enlace2.fmt").string(), Bytes("nuevo"), &error)) << error;
    EXPECT_TRUE(fs::is_symlink(root / "enlace.fmt"));
    EXPECT_TRUE(fs::is_symlink(root / "enlace2.fmt"));
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(real.string(), back, &error));
    EXPECT_EQ(back, Bytes("nuevo"));
    // The temporary file was made beside the real file and renamed away.
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "real"), fs::directory_iterator()), 1);

    // Links that point at each other are refused in words, not followed forever.
    fs::create_symlink("vuelta_b", root / "vuelta_a");
    fs::create_symlink("vuelta_a", root / "vuelta_b");
    EXPECT_FALSE(WriteFileAtomically((root / "vuelta_a").string(), Bytes("x"), &error));
    EXPECT_NE(error.find("vuelta_a"), std::string::npos) << error;
}

// What a clerk reads when a file cannot be read: Spanish, the file named, no system text.
TEST(AtomicFile, ReadFailuresAreSpanishSentencesNamingTheFile)
{
    QTemporaryDir dir;
    const fs::path root(dir.path().toStdString());
    struct Case {
        const char* what;
        std::string path;
        const char* expected;
    };
    fs::create_directory(root / "carpeta.fmt");
    const std::string fifo = (root / "tubo.fmt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = (root / "grande.fmt").string();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(big, std::vector<uint8_t>(100, 'x'), &error));
    const Case cases[] = {
        {"missing file", (root / "falta.fmt").string(), "no existe"},
        {"folder", (root / "carpeta.fmt").string(), "es una carpeta"},
        {"named pipe (must not block)", fifo, "no es un archivo común"},
        {"device that never ends", "/dev/zero", "no es un archivo común"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(ReadWholeFile(c.path, bytes, &error)) << c.what;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(fs::path(c.path).filename().string()), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find("No such"), std::string::npos) << c.what << ": " << error;
    }
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ReadWholeFile(big, bytes, &error, 99));
    EXPECT_NE(error.find("demasiado grande"), std::string::npos) << error;
    EXPECT_TRUE(ReadWholeFile(big, bytes, &error, 100)) << error;
}
