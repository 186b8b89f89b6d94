// A table keeps its data file in memory beside the file and reads records from there.
// Nothing may show it: the same operations give the same files and the same reads with
// the copy, without it, and with a copy the table outgrows and takes again.
#include "tables/raw_file.h"
#include "tables/tabla.h"
#include "test_support.h"

#include <random>

namespace {

std::vector<uint8_t> Pattern(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(seed * 31 + i * 7 + 1);
    return bytes;
}

}  // namespace

TEST(RawFileCopy, WritesTruncationsAndReadsMatchAFileReadFromTheDisk)
{
    ScratchFolder dir;
    RawFile copied, plain;
    ASSERT_TRUE(copied.CreateNew(dir / "copia"));
    ASSERT_TRUE(plain.CreateNew(dir / "disco"));
    ASSERT_TRUE(copied.KeepCopy(1 << 16));
    std::mt19937 random(7);
    for (int step = 0; step < 600; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const uint64_t size = uint64_t(plain.Size());
        // Positions reach past the end: writes leave gaps, reads run off the end.
        const uint64_t position = random() % (size + 200);
        switch (random() % 4) {
        case 0:
        case 1: {
            const auto bytes = Pattern(random() % 90, uint32_t(step));
            ASSERT_TRUE(copied.WriteAt(position, bytes));
            ASSERT_TRUE(plain.WriteAt(position, bytes));
            break;
        }
        case 2: {
            const uint64_t to = step % 50 == 49 ? 0 : random() % (size + 100);
            ASSERT_TRUE(copied.Truncate(to));
            ASSERT_TRUE(plain.Truncate(to));
            break;
        }
        default: {
            std::vector<uint8_t> a(random() % 60), b(a.size());
            const bool readA = copied.ReadAt(position, a);
            ASSERT_EQ(readA, plain.ReadAt(position, b));
            if (readA)
                ASSERT_EQ(a, b);
            else
                ASSERT_EQ(copied.LastError(), plain.LastError());
        }
        }
        ASSERT_EQ(copied.Size(), plain.Size());
        ASSERT_EQ(FileBytes(dir / "copia"), FileBytes(dir / "disco"));
    }
    EXPECT_TRUE(copied.HasCopy());
}

TEST(RawFileCopy, IsDroppedWhenTheFileOutgrowsItOrAWriteFails)
{
    ScratchFolder dir;
    RawFile file;
    ASSERT_TRUE(file.CreateNew(dir / "f"));
    ASSERT_TRUE(file.WriteAt(0, Pattern(100, 1)));
    ASSERT_TRUE(file.KeepCopy(128)) << "what the file holds already is taken";
    std::vector<uint8_t> read(100);
    ASSERT_TRUE(file.ReadAt(0, read));
    EXPECT_EQ(read, Pattern(100, 1));

    ASSERT_TRUE(file.WriteAt(120, Pattern(20, 2)));
    EXPECT_FALSE(file.HasCopy()) << "140 bytes do not fit in 128";
    std::vector<uint8_t> whole(140);
    ASSERT_TRUE(file.ReadAt(0, whole)) << "the file is read instead";
    EXPECT_EQ(whole, FileBytes(dir / "f"));
    EXPECT_FALSE(file.KeepCopy(128)) << "a file over the limit is not taken";

    // A write that fails leaves the file's contents unknown to the copy.
    RawFile readOnly;
    ASSERT_TRUE(readOnly.Open(dir / "f", false));
    ASSERT_TRUE(readOnly.KeepCopy(1024));
    EXPECT_FALSE(readOnly.WriteAt(0, Pattern(4, 3)));
    EXPECT_FALSE(readOnly.HasCopy());
    EXPECT_FALSE(readOnly.Truncate(0));
    ASSERT_TRUE(readOnly.ReadAt(0, whole));
    EXPECT_EQ(whole, FileBytes(dir / "f"));
}

namespace {

// Three tables fed the same operations: data kept in memory (the default), read from the
// file every time, and kept in a copy so small that the table outgrows it.
class TablaCacheTest : public ::testing::Test {
protected:
    static constexpr uint64_t kSmallCopy = 700;
    ScratchFolder dir;
    ScriptedPrompts prompts;
    FixedLocale locale = MexicanLocale();
    CTabla tables[3] = {{prompts, locale}, {prompts, locale}, {prompts, locale}};
    const char* const folders[3] = {"memoria", "disco", "chica"};
    const std::vector<CKVField> fields = {{"Nombre", 6, kvText, 1, "NOMBRE"},
                                          {"Clave", 0, kvInt32, kvIndexUnique, "CLAVE"},
                                          {"Nota", 12, kvText},
                                          {"Monto", 0, kvDouble}};

    void SetUp() override
    {
        tables[1].SetDataCacheLimit(0);
        tables[2].SetDataCacheLimit(kSmallCopy);
        for (int t = 0; t < 3; ++t) {
            std::filesystem::create_directory(dir / folders[t]);
            ASSERT_TRUE(tables[t].Create(dir / folders[t] + "/pagos", fields, true));
        }
    }

    std::vector<uint8_t> File(int t, const std::string& name) const { return FileBytes(dir / folders[t] + "/" + name); }

    // Every table gives what the first gives and holds the same files.
    void ExpectAlike(int a, int b, int c)
    {
        ASSERT_EQ(a, b);
        ASSERT_EQ(a, c);
        for (int t = 1; t < 3; ++t) {
            ASSERT_EQ(tables[t].CurrentRecord(), tables[0].CurrentRecord()) << folders[t];
            ASSERT_EQ(tables[t].SlotCount(), tables[0].SlotCount()) << folders[t];
            ASSERT_EQ(tables[t].OrderPosition(), tables[0].OrderPosition()) << folders[t];
            ASSERT_TRUE(std::equal(tables[t].Buffer().begin(), tables[t].Buffer().end(), tables[0].Buffer().begin(),
                                   tables[0].Buffer().end()))
                << folders[t];
            for (const char* file : {"pagos.DAT", "NOMBRE.IDX", "CLAVE.IDX"})
                ASSERT_EQ(File(t, file), File(0, file)) << folders[t] << "/" << file;
        }
    }

    template <typename Op>
    void OnAll(Op op)
    {
        const int a = op(tables[0]), b = op(tables[1]), c = op(tables[2]);
        ExpectAlike(a, b, c);
    }
};

}  // namespace

TEST_F(TablaCacheTest, TheSameOperationsGiveTheSameFilesAndReadsWithOrWithoutTheCopy)
{
    const std::vector<std::string> names = {"ana", "beto", "carla", "dario", "eva"};
    std::mt19937 random(20261207);
    bool outgrown = false, retaken = false;
    for (int step = 0; step < 500; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int slot_count = tables[0].SlotCount();
        const int record = int(random() % uint32_t(slot_count)) + 1;
        const unsigned op = random() % 20;
        if (op < 8) {
            const std::string nombre = names[random() % names.size()];
            const std::string clave = std::to_string(random() % 200 + 1);
            const std::string monto = std::to_string(random() % 5000) + ".25";
            OnAll([&](CTabla& t) {
                t.GoToRecord(t.SlotCount());
                t.SetText(0, nombre);
                t.SetText(1, clave);
                t.SetText(3, monto);
                return int(t.AppendRecord());
            });
        } else if (op < 13) {
            // A record changed in place, as a typed cell is.
            const std::string nota = "nota " + std::to_string(step);
            OnAll([&](CTabla& t) {
                if (t.GoToRecord(record) != 1)
                    return -1;
                t.SetText(2, nota);
                return int(t.WriteRecord());
            });
        } else if (op < 16) {
            OnAll([&](CTabla& t) { return t.GoToRecord(record) * 10 + int(t.ReadRecord()); });
        } else if (op < 18) {
            OnAll([&](CTabla& t) { return t.GoToRecord(record) * 10 + t.DeleteRecord(false); });
        } else if (op < 19) {
            const int position = int(random() % uint32_t(slot_count)) + 1;
            OnAll([&](CTabla& t) { return int(t.SelectOrder("Nombre")) * 10 + t.GoToOrderPosition(position); });
        } else if (step % 3 == 0) {
            OnAll([](CTabla& t) { return int(t.EmptyTable()); });
            retaken = retaken || (outgrown && tables[2].DataIsCached());
        }
        if (HasFatalFailure())
            return;
        outgrown = outgrown || !tables[2].DataIsCached();
        ASSERT_TRUE(tables[0].DataIsCached());
        ASSERT_FALSE(tables[1].DataIsCached());
    }
    EXPECT_TRUE(outgrown) << "the run should outgrow the small copy";
    EXPECT_TRUE(retaken) << "emptying should take the copy again";
    EXPECT_GT(tables[0].SlotCount(), 5);
}
