// The table keeps its indexes in memory and writes only what an add moves. The files must
// not show it: after every add and delete each index file holds exactly the bytes that
// reading it whole, changing it and writing it whole (as the engine used to) gives, and
// the data file holds the header, the records and one blank slot.
#include "base/session_temp_folder.h"
#include "tables/tabla.h"
#include "test_support.h"

#include <random>
#include <sys/stat.h>

namespace {

unsigned ModeOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

// Windows keeps no POSIX permission bits: a file's privacy there comes from the user's
// folders and their access lists.
#ifdef _WIN32
#define SKIP_WITHOUT_PERMISSION_BITS() GTEST_SKIP() << "Windows has no POSIX permission bits"
#else
#define SKIP_WITHOUT_PERMISSION_BITS() (void)0
#endif

class TablaIndexFilesTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScriptedPrompts prompts;
    FixedLocale locale = MexicanLocale();
    CTabla table{prompts, locale};
    std::string name = dir / "pagos";
    // A plain text index with many equal keys, a unique integer index that refuses some
    // adds, a plain signed 16-bit index and a float index whose keys compare equal within 1.
    const std::vector<CKVField> fields = {{"Nombre", 6, kvText, 1, "NOMBRE"},
                                          {"Clave", 0, kvInt32, kvIndexUnique, "CLAVE"},
                                          {"Cuenta", 0, kvInt16, 1, "CUENTA"},
                                          {"Monto", 0, kvFloat, 1, "MONTO"}};

    // Every indexed field must hold a value for an add.
    bool Add(const std::string& nombre, const std::string& clave)
    {
        table.SetText(0, nombre);
        table.SetText(1, clave);
        table.SetText(2, "-3");
        table.SetText(3, "2.5");
        return table.AppendRecord();
    }
    std::string IndexFile(int field) const { return dir / (fields[size_t(field)].IndexName() + ".IDX"); }
    std::vector<uint8_t> KeyOf(int field) const
    {
        const auto key = table.Buffer().subspan(table.Field(field).Offset(), table.Field(field).Width());
        return {key.begin(), key.end()};
    }
    // An index as the whole-file rewrite saw it: everything the file holds.
    CKVIndex Loaded(int field) const
    {
        CKVIndex index(table.Field(field).Type(), table.Field(field).Width());
        index.Load(FileBytes(IndexFile(field)), SIZE_MAX);
        return index;
    }
};

}  // namespace

TEST_F(TablaIndexFilesTest, EveryAddAndDeleteLeavesTheFilesAsAWholeRewriteWould)
{
    ASSERT_TRUE(table.Create(name, fields, false));
    const uint32_t dataOffset = table.DataOffset();
    const std::vector<uint8_t> created = FileBytes(name + ".DAT");
    const std::vector<uint8_t> header(created.begin(), created.begin() + dataOffset);
    std::vector<std::vector<uint8_t>> records;  // the real records, in file order
    const std::vector<std::string> names = {"ana", "beto", "carla", "ana", "dario", "eva", "beto", "zoe"};
    std::mt19937 random(20261207);
    int refused = 0;
    int deleted = 0;

    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        if (step % 37 == 36 && !records.empty()) {
            const int victim = int(random() % records.size()) + 1;
            std::vector<CKVIndex> expected;
            for (int f = 0; f < 4; ++f) {
                expected.push_back(Loaded(f));
                expected.back().RemoveRecord(uint32_t(victim));
            }
            ASSERT_EQ(table.GoToRecord(victim), 1);
            ASSERT_EQ(table.DeleteRecord(false), 1);
            records.erase(records.begin() + (victim - 1));
            for (int f = 0; f < 4; ++f)
                ASSERT_EQ(FileBytes(IndexFile(f)), expected[size_t(f)].Bytes()) << "after deleting, index " << f;
            ++deleted;
            ASSERT_EQ(table.GoToRecord(table.SlotCount()), 1) << "adds go to the new record slot";
        } else {
            table.SetText(0, names[random() % names.size()]);
            // Indexed fields must not be 0.
            int cuenta = int(random() % 40) - 20;
            cuenta += cuenta >= 0 ? 1 : 0;
            table.SetText(1, std::to_string(random() % 300 + 1));
            table.SetText(2, std::to_string(cuenta));
            table.SetText(3, std::to_string(double(random() % 1000 + 1) / 7.0));
            const int record = table.SlotCount();
            std::vector<CKVIndex> expected;
            bool duplicate = false;
            for (int f = 0; f < 4; ++f) {
                expected.push_back(Loaded(f));
                const CKVIndex::Place place = expected.back().Search(KeyOf(f));
                duplicate = duplicate || (f == 1 && place.equal);
                expected.back().Insert(place.slot, uint32_t(record), KeyOf(f));
            }
            const std::vector<uint8_t> values(table.Buffer().begin(), table.Buffer().end());
            std::vector<std::vector<uint8_t>> before;
            for (int f = 0; f < 4; ++f)
                before.push_back(FileBytes(IndexFile(f)));
            ASSERT_EQ(table.AppendRecord(), !duplicate);
            ASSERT_EQ(table.CurrentRecord(), table.SlotCount());
            for (int f = 0; f < 4; ++f) {
                if (duplicate)
                    ASSERT_EQ(FileBytes(IndexFile(f)), before[size_t(f)]) << "refused add, index " << f;
                else
                    ASSERT_EQ(FileBytes(IndexFile(f)), expected[size_t(f)].Bytes()) << "index " << f;
            }
            if (duplicate)
                ++refused;
            else
                records.push_back(values);
        }
        std::vector<uint8_t> data = header;
        for (const auto& r : records)
            data.insert(data.end(), r.begin(), r.end());
        data.resize(data.size() + table.RecordLength(), 0);
        ASSERT_EQ(FileBytes(name + ".DAT"), data);
    }
    EXPECT_GT(refused, 20) << "the run should meet the unique index's refusal";
    EXPECT_GT(deleted, 5);

    // An order over the live index walks the keys in file order.
    ASSERT_TRUE(table.SelectOrder("Clave"));
    const CKVIndex claves = Loaded(1);
    for (size_t i = 0; i < claves.Count(); ++i) {
        ASSERT_EQ(table.GoToOrderPosition(int(i) + 1), 1);
        EXPECT_EQ(uint32_t(table.CurrentRecord()), claves.RecordAt(i));
    }

    std::vector<std::vector<uint8_t>> last;
    for (int f = 0; f < 4; ++f)
        last.push_back(FileBytes(IndexFile(f)));
    table.Close();
    for (int f = 0; f < 4; ++f)
        EXPECT_EQ(FileBytes(IndexFile(f)), last[size_t(f)]) << "closing rewrites index " << f << " unchanged";
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"CLAVE.IDX", "CUENTA.IDX", "MONTO.IDX", "NOMBRE.IDX", "pagos.DAT"}))
        << "no temporary file is left behind";
}

TEST_F(TablaIndexFilesTest, AnIndexReplacedBehindTheTablesBackIsNeitherWrittenNorRead)
{
#ifdef _WIN32
    GTEST_SKIP() << "on Windows a file the table holds open cannot be replaced under it";
#endif
    ASSERT_TRUE(table.Create(name, fields, false));
    ASSERT_TRUE(Add("ana", "1"));
    // Someone else's file now has the index's name.
    std::ofstream(dir / "other") << "ajeno";
    ASSERT_EQ(std::rename((dir / "other").c_str(), IndexFile(1).c_str()), 0);
    ASSERT_TRUE(Add("beto", "2"));
    EXPECT_EQ(prompts.Shown(),
              std::vector<std::string>{"No existe el índice " + IndexFile(1) + "\nde la tabla pagos.DAT"});
    EXPECT_FALSE(table.SelectOrder("Clave"));
    table.Close();
    const std::vector<uint8_t> foreign = {'a', 'j', 'e', 'n', 'o'};
    EXPECT_EQ(FileBytes(IndexFile(1)), foreign) << "the other file is never written, not even at closing";
    EXPECT_EQ(FileBytes(IndexFile(0)).size(), 2u * 10) << "the other indexes go on";
}

TEST_F(TablaIndexFilesTest, TableFilesAreReadableByTheirOwnerOnly)
{
    SKIP_WITHOUT_PERMISSION_BITS();
    ASSERT_TRUE(table.Create(name, fields, false));
    ASSERT_TRUE(Add("ana", "1"));
    ASSERT_TRUE(Add("ana", "2"));
    ASSERT_EQ(table.GoToRecord(1), 1);
    ASSERT_EQ(table.DeleteRecord(false), 1);  // rewrites every index through a new file
    for (const std::string& path : {name + ".DAT", IndexFile(0), IndexFile(1)})
        EXPECT_EQ(ModeOf(path), 0600u) << path;
    table.Close();
    for (const std::string& path : {name + ".DAT", IndexFile(2), IndexFile(3)})
        EXPECT_EQ(ModeOf(path), 0600u) << path << " after closing";
}

TEST(SessionTempFolder, IsPrivateAndNeverTheSharedTemporaryFolder)
{
    const std::string& folder = SessionTempFolder();
    ASSERT_FALSE(folder.empty()) << SessionTempFolderProblem();
    EXPECT_TRUE(SessionTempFolderProblem().empty());
    EXPECT_NE(std::filesystem::path(folder), std::filesystem::temp_directory_path());
    SKIP_WITHOUT_PERMISSION_BITS();
    EXPECT_EQ(ModeOf(folder), 0700u);
}

TEST(SessionTempFolder, APlaceWhereNoFolderCanBeMadeIsRefusedInSpanish)
{
    ScratchFolder dir;
    std::ofstream(dir / "archivo") << "x";
    const struct {
        std::string parent;
        std::string reason;
    } cases[] = {
        {dir / "no-existe", "la carpeta no existe."},
        {dir / "archivo", "la ruta no es una carpeta."},
    };
    for (const auto& c : cases) {
        std::string folder = "stale";
        std::string problem;
        EXPECT_FALSE(MakePrivateTempFolder(c.parent, folder, problem)) << c.parent;
        EXPECT_TRUE(folder.empty());
        EXPECT_EQ(problem, "No se pudo crear la carpeta temporal privada del programa en \"" + c.parent + "\": " +
                               c.reason + " Las tablas del formato no pueden guardar sus renglones.");
    }
    std::string folder, problem;
    ASSERT_TRUE(MakePrivateTempFolder(dir.Path().string(), folder, problem));
    EXPECT_EQ(std::filesystem::path(folder).parent_path(), dir.Path());
    EXPECT_EQ(dir.Names().size(), 2u);
    SKIP_WITHOUT_PERMISSION_BITS();
    EXPECT_EQ(ModeOf(folder), 0700u);
}
