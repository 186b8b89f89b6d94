// Recovery copies on disk: what a copy holds and which files are refused, and the folder
// of copies shared by every running program (live runs left alone, dead runs offered,
// damaged and foreign files moved aside, old copies expired).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "scratch_folder.h"
#include "base/archive.h"
#include "base/atomic_file.h"
#include "base/file_times.h"
#include "capture/recovery_store.h"
#include "model/format_file.h"

namespace fs = std::filesystem;

namespace {

constexpr int64_t kNow = 1'800'000'000;

std::vector<uint8_t> SampleFormatBytes()
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(ORDEXA_SAMPLES "/Factura.fmt", bytes, nullptr));
    return bytes;
}

RecoveryCopy CaptureCopy(int64_t savedAt = kNow)
{
    ArchiveWriter cap;
    cap.WriteString("Factura.fmt");
    cap.WriteInt32(1);
    cap.WriteString("Constructora del Valle");
    RecoveryCopy copy;
    copy.mode = RecoveryMode::Capture;
    copy.sourcePath = "/datos/formas/Factura.fmt";
    copy.capturePath = "/datos/capturas/enero.cap";
    copy.formatHash = 0x1234'5678'9abc'def0ULL;
    copy.payload = cap.Take();
    copy.savedAtSeconds = savedAt;
    return copy;
}

RecoveryCopy DesignCopy(int64_t savedAt = kNow)
{
    RecoveryCopy copy;
    copy.mode = RecoveryMode::Design;
    copy.sourcePath = "/datos/formas/Factura.fmt";
    copy.payload = SampleFormatBytes();
    copy.savedAtSeconds = savedAt;
    return copy;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A folder of copies as a run that stopped without closing leaves it.
std::string DeadRun(const std::string& folder, const std::string& name,
                    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files)
{
    const std::string run = folder + "/run-" + name;
    fs::create_directories(run);
    for (const auto& [file, bytes] : files)
        WriteFile(run + "/" + file, bytes);
    return run;
}

}  // namespace

TEST(RecoveryCopy, ReadsBackWhatWasWrittenAndRefusesEveryDamage)
{
    for (const RecoveryCopy& original : {CaptureCopy(), DesignCopy()}) {
        RecoveryCopy read;
        std::string reason;
        ASSERT_TRUE(DecodeRecoveryCopy(EncodeRecoveryCopy(original), read, reason)) << reason;
        EXPECT_EQ(read.mode, original.mode);
        EXPECT_EQ(read.sourcePath, original.sourcePath);
        EXPECT_EQ(read.capturePath, original.capturePath);
        EXPECT_EQ(read.formatHash, original.formatHash);
        EXPECT_EQ(read.payload, original.payload);
        EXPECT_EQ(read.savedAtSeconds, original.savedAtSeconds);
    }

    RecoveryCopy notAFormat = DesignCopy();
    notAFormat.payload.resize(notAFormat.payload.size() / 2);
    RecoveryCopy otherFormat = CaptureCopy();
    otherFormat.sourcePath = "/datos/formas/Cheque.fmt";
    const std::vector<uint8_t> good = EncodeRecoveryCopy(CaptureCopy());
    std::vector<uint8_t> flipped = good;
    flipped[good.size() / 2] ^= 0x40;
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    std::vector<uint8_t> hugeLength = good;
    hugeLength[8 + 4 + 8] = 0xFF;  // the source path's length byte
    hugeLength[8 + 4 + 8 + 3] = 0xFF;
    const std::vector<uint8_t> foreign = {'h', 'o', 'l', 'a'};
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 5)},
        {"a byte changed", flipped},
        {"bytes after the end", longer},
        {"a length past the end", hugeLength},
        {"not a copy", foreign},
        {"a format that does not read", EncodeRecoveryCopy(notAFormat)},
        {"captured data of another format", EncodeRecoveryCopy(otherFormat)},
    };
    for (const auto& [what, bytes] : cases) {
        RecoveryCopy read;
        std::string reason;
        EXPECT_FALSE(DecodeRecoveryCopy(bytes, read, reason)) << what;
        EXPECT_FALSE(reason.empty()) << what;
    }
}

TEST(RecoveryStore, LeavesLiveRunsAloneAndOffersTheCopiesOfDeadOnesOnce)
{
    ScratchFolder tmp;
    const std::string folder = tmp / "estado/recuperacion";
    RecoveryStore live;
    std::string problem;
    ASSERT_TRUE(live.Open(folder, problem)) << problem;
#ifndef _WIN32
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
#endif
    ASSERT_TRUE(live.Write("captura-1.rec", EncodeRecoveryCopy(CaptureCopy()), problem)) << problem;

    // Another program starting now finds the copy held by a live run.
    RecoveryStore other;
    ASSERT_TRUE(other.Open(folder, problem));
    EXPECT_TRUE(other.ClaimLeftovers(kNow).copies.empty());
    other.ReleaseLeftovers({});

    // The run ends without removing its copy, as a crash leaves it.
    const std::string deadRun = live.RunFolder();
    live.Close();
    RecoveryStore::Leftovers left = other.ClaimLeftovers(kNow);
    ASSERT_EQ(left.copies.size(), 1u);
    EXPECT_EQ(left.copies[0].copy.payload, CaptureCopy().payload);
    EXPECT_FALSE(left.copies[0].expired);

    // While the first claimant decides, a third program does not take the same copies.
    RecoveryStore third;
    ASSERT_TRUE(third.Open(folder, problem));
    EXPECT_TRUE(third.ClaimLeftovers(kNow).copies.empty());

    RecoveryStore::Resolve(left.copies[0]);
    other.ReleaseLeftovers(left);
    EXPECT_FALSE(fs::exists(deadRun));
    EXPECT_TRUE(third.ClaimLeftovers(kNow).copies.empty());
}

TEST(RecoveryStore, MovesDamagedAndForeignFilesAsideAndExpiresOldOnes)
{
    ScratchFolder tmp;
    const std::string folder = tmp / "recuperacion";
    fs::create_directories(folder);
    std::vector<uint8_t> damaged = EncodeRecoveryCopy(DesignCopy());
    damaged.resize(damaged.size() - 1);
    const std::string run = DeadRun(folder, "muerto",
                                    {{"diseno-1.rec", EncodeRecoveryCopy(DesignCopy())},
                                     {"captura-2.rec", EncodeRecoveryCopy(CaptureCopy(kNow - 31 * 86400))},
                                     {"diseno-3.rec", damaged},
                                     {"notas.txt", {'x'}},
                                     {".captura-4.rec.AbC123", {'y'}}});
    WriteFile(folder + "/ajeno.dat", {'z'});
    const std::string oldAside = folder + "/apartados/viejo.rec";
    fs::create_directories(folder + "/apartados");
    WriteFile(oldAside, {'v'});
    ASSERT_TRUE(SetModifiedSeconds(oldAside, kNow - 40 * 86400));

    RecoveryStore store;
    std::string problem;
    ASSERT_TRUE(store.Open(folder, problem));
    RecoveryStore::Leftovers left = store.ClaimLeftovers(kNow);
    ASSERT_EQ(left.copies.size(), 2u);
    EXPECT_TRUE(left.copies[0].expired);  // oldest first
    EXPECT_FALSE(left.copies[1].expired);
    ASSERT_EQ(left.refused.size(), 3u);
    for (const char* name : {"ajeno.dat", "run-muerto-diseno-3.rec", "run-muerto-notas.txt"})
        EXPECT_TRUE(fs::exists(folder + "/apartados/" + name)) << name;
    EXPECT_FALSE(fs::exists(oldAside));
    EXPECT_FALSE(fs::exists(run + "/.captura-4.rec.AbC123"));

    // "Decide later": the expired copy goes, the other waits for the next start.
    store.ReleaseLeftovers(left);
    EXPECT_FALSE(fs::exists(run + "/captura-2.rec"));
    RecoveryStore next;
    ASSERT_TRUE(next.Open(folder, problem));
    left = next.ClaimLeftovers(kNow);
    ASSERT_EQ(left.copies.size(), 1u);
    EXPECT_EQ(left.copies[0].copy.mode, RecoveryMode::Design);
    EXPECT_TRUE(left.refused.empty());
}

TEST(RecoveryStore, SaysWhyWhenTheFolderCannotBeMade)
{
    ScratchFolder tmp;
    const std::string blocker = tmp / "archivo";
    WriteFile(blocker, {'x'});
    RecoveryStore store;
    std::string problem;
    EXPECT_FALSE(store.Open(blocker + "/recuperacion", problem));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_NE(problem.find(blocker), std::string::npos) << problem;
    EXPECT_FALSE(store.Write("captura-1.rec", EncodeRecoveryCopy(CaptureCopy()), problem));
}
