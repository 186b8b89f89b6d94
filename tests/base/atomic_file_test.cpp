#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/atomic_file.h"
#include "base/atomic_writer.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(std::string_view s)
{
    return {s.begin(), s.end()};
}

#ifdef _WIN32
constexpr const char* kNullDevice = "NUL";
#else
constexpr const char* kNullDevice = "/dev/null";
#endif

}  // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryBehind)
{
    ScratchFolder dir;
    const std::string path = dir / "a.fmt";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes("uno"), &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes("dos"), &error)) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(path, back, &error));
    EXPECT_EQ(back, Bytes("dos"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, AFailedWriteLeavesWhatWasThere)
{
    ScratchFolder dir;
    // A folder standing where the file should go cannot be replaced by a file.
    const fs::path blocked = dir.Path() / "occupied.fmt";
    fs::create_directory(blocked);
    fs::path inside = blocked / "keep.txt";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(inside.string(), Bytes("keep"), &error));
    EXPECT_FALSE(WriteFileAtomically(blocked.string(), Bytes("new"), &error));
    EXPECT_NE(error.find("occupied.fmt"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_TRUE(fs::exists(inside));
    // Only the folder remains: the temporary file was removed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

    EXPECT_FALSE(WriteFileAtomically((blocked / "no" / "such" / "x.fmt").string(), Bytes("x"), &error));
}

// Saving never turns something that is not the clerk's plain file into one, never
// overrides a deliberate write protection, and keeps links as links.
TEST(AtomicFile, RefusesTargetsThatAreNotWritablePlainFiles)
{
    ScratchFolder dir;
    std::string error;

    // A device keeps being a device (the administrator could otherwise replace it).
    EXPECT_FALSE(WriteFileAtomically(kNullDevice, Bytes("x"), &error));
    EXPECT_NE(error.find("no es un archivo común"), std::string::npos) << error;

    // A read-only file in a writable folder stays as it was, even for root.
    const std::string locked = dir / "bloqueado.fmt";
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
#ifdef _WIN32
    GTEST_SKIP() << "making a symbolic link needs a privilege on Windows; a link there is refused, not followed";
#endif
    ScratchFolder dir;
    const fs::path root = dir.Path();
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
    ScratchFolder dir;
    const fs::path root = dir.Path();
    struct Case {
        const char* what;
        std::string path;
        const char* expected;
    };
    fs::create_directory(root / "carpeta.fmt");
    const std::string big = (root / "grande.fmt").string();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(big, std::vector<uint8_t>(100, 'x'), &error));
    std::vector<Case> cases = {
        {"missing file", (root / "falta.fmt").string(), "no existe"},
        {"folder", (root / "carpeta.fmt").string(), "es una carpeta"},
    };
#ifdef _WIN32
    cases.push_back({"device", "NUL", "no es un archivo común"});
#else
    const std::string fifo = (root / "tubo.fmt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({"named pipe (must not block)", fifo, "no es un archivo común"});
    cases.push_back({"device that never ends", "/dev/zero", "no es un archivo común"});
#endif
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(ReadWholeFile(c.path, bytes, &error)) << c.what;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(c.path.substr(c.path.find_last_of("/\\") + 1)), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find("No such"), std::string::npos) << c.what << ": " << error;
    }
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ReadWholeFile(big, bytes, &error, 99));
    EXPECT_NE(error.find("demasiado grande"), std::string::npos) << error;
    EXPECT_TRUE(ReadWholeFile(big, bytes, &error, 100)) << error;
}

// A save that was killed leaves its temporary beside the target; the next save of that
// target removes it, and nothing else: not a save still writing, not another target's,
// not a name that only looks like ours, never what a link points to.
TEST(AtomicFile, ASaveRemovesItsTargetsTemporariesThatNobodyHolds)
{
    ScratchFolder dir;
    const fs::path root = dir.Path();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir / "a.fmt", Bytes("viejo"), &error)) << error;
    AtomicWriter live(dir / "a.fmt");
    ASSERT_TRUE(live.Opened());
    ASSERT_TRUE(live.Write(Bytes("a medias")));
    const std::string liveName = fs::path(live.TemporaryPath()).filename().string();
    std::vector<std::string> kept = {"a.fmt", liveName, ".a.fmt.abc12", ".a.fmt.abc123.bak", ".b.fmt.abc123",
                                     "a.fmt.abc123", ".a.fmt.ab-123"};
    for (const std::string& name : kept) {
        if (name != "a.fmt" && name != liveName) {
            ASSERT_TRUE(WriteFileAtomically(dir / name, Bytes("ajeno"), &error)) << error;
        }
    }
    fs::create_directory(root / ".a.fmt.Carpet");
    kept.push_back(".a.fmt.Carpet");
#ifndef _WIN32
    ASSERT_TRUE(WriteFileAtomically(dir / "destino", Bytes("destino"), &error)) << error;
    fs::create_symlink("destino", root / ".a.fmt.Enlace");
    kept.insert(kept.end(), {"destino", ".a.fmt.Enlace"});
#endif
    // Two leftovers of saves that ended without finishing: nobody holds them.
    for (const char* leftover : {".a.fmt.Zx81Qp", ".a.fmt.000000"}) {
        ASSERT_TRUE(WriteFileAtomically(dir / leftover, Bytes("resto"), &error)) << error;
    }

    ASSERT_TRUE(WriteFileAtomically(dir / "a.fmt", Bytes("nuevo"), &error)) << error;
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(dir.Names(), kept);
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(dir / "a.fmt", back, &error));
    EXPECT_EQ(back, Bytes("nuevo"));
    // The save still writing finishes as if nothing had happened.
    ASSERT_TRUE(live.Commit()) << live.Error();
    ASSERT_TRUE(ReadWholeFile(dir / "a.fmt", back, &error));
    EXPECT_EQ(back, Bytes("a medias"));
}

TEST(AtomicFile, AKilledSaveLeavesTheOldFileAndTheNextSaveClearsItsTemporary)
{
#ifdef _WIN32
    GTEST_SKIP() << "no fork on Windows; the held and abandoned temporaries of the test above stand for it";
#else
    ScratchFolder dir;
    const std::string target = dir / "factura.pdf";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, Bytes("viejo"), &error)) << error;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Half a save: the temporary is written to and held, then the process is killed.
        AtomicWriter writer(target);
        const bool wrote = writer.Opened() && writer.Write(std::vector<uint8_t>(1 << 20, 'x'));
        const char c = wrote ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(c, 'y');
    ASSERT_EQ(dir.Names().size(), 2u);

    // While the killed save is still alive its temporary is not touched.
    ASSERT_TRUE(WriteFileAtomically(target, Bytes("segundo"), &error)) << error;
    EXPECT_EQ(dir.Names().size(), 2u);

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(target, back, &error));
    EXPECT_EQ(back, Bytes("segundo"));

    ASSERT_TRUE(WriteFileAtomically(target, Bytes("tercero"), &error)) << error;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"factura.pdf"});
    ASSERT_TRUE(ReadWholeFile(target, back, &error));
    EXPECT_EQ(back, Bytes("tercero"));
#endif
}
