#include "tables/tabla.h"
#include "test_support.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

class TablaTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScriptedPrompts prompts;
    FixedLocale locale = MexicanLocale();
    CTabla table{prompts, locale};
    std::string name = dir / "clientes";

    // Text of width 10 without index; 32-bit key, unique and default, index name generated.
    void CreateKeyed(bool temporary = false)
    {
        const CKVField fields[] = {{"Nombre", 10, kvText}, {"Clave", 0, kvInt32, kvIndexUnique | kvIndexDefault}};
        ASSERT_TRUE(table.Create(name, fields, temporary));
    }
    bool Add(const std::string& nombre, const std::string& clave)
    {
        table.SetText(0, nombre);
        table.SetText(1, clave);
        return table.AppendRecord();
    }
    std::vector<uint8_t> Data() const { return FileBytes(name + ".DAT"); }
    std::vector<uint8_t> Index() const { return FileBytes(dir / "KV000001.IDX"); }
    // (record number, 32-bit key) of each entry of an index of 32-bit keys.
    static std::vector<std::pair<uint32_t, int32_t>> Entries(const std::vector<uint8_t>& idx)
    {
        std::vector<std::pair<uint32_t, int32_t>> out;
        for (size_t at = 0; at + 8 <= idx.size(); at += 8)
            out.emplace_back(U32At(idx, at), int32_t(U32At(idx, at + 4)));
        return out;
    }
    using Entry = std::pair<uint32_t, int32_t>;
};

}  // namespace

TEST_F(TablaTest, NewTableWritesTheHeaderOneBlankSlotAndAnEmptyIndex)
{
    CreateKeyed();
    const std::vector<uint8_t> data = Data();
    std::vector<uint8_t> expected = {59, 0, 0, 0, 2, 0};
    auto name16 = [&](const char* s) {
        std::string b(s);
        b.resize(16, '\0');
        expected.insert(expected.end(), b.begin(), b.end());
    };
    name16("Nombre");
    expected.insert(expected.end(), {10, 0, 0, 0, 6, 0});
    name16("Clave");
    expected.insert(expected.end(), {4, 0, 11, 0, 0, 3});
    expected.insert(expected.end(), {'K', 'V', '0', '0', '0', '0', '0', '1', 0});
    expected.resize(59 + 15, 0);
    EXPECT_EQ(data, expected);
    EXPECT_EQ(table.RecordLength(), 15);
    EXPECT_EQ(table.DataOffset(), 59u);
    EXPECT_EQ(table.Field(1).IndexName(), "KV000001");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"KV000001.IDX", "clientes.DAT"}));
    EXPECT_TRUE(Index().empty());
    EXPECT_EQ(table.SlotCount(), 1);
    EXPECT_EQ(table.CurrentRecord(), 1);
    EXPECT_EQ(table.Title(), "clientes.DAT");
    EXPECT_EQ(table.Directory(), dir.Path().string() + char(std::filesystem::path::preferred_separator));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(TablaTest, AddsKeepTheIndexSortedWithRecordNumbers)
{
    CreateKeyed();
    ASSERT_TRUE(Add("cinco", "5"));
    ASSERT_TRUE(Add("tres", "3"));
    ASSERT_TRUE(Add("nueve", "9"));
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{2, 3}, {1, 5}, {3, 9}}));
    EXPECT_EQ(Index().size(), 24u);
    EXPECT_EQ(Data().size(), 59u + 4 * 15);
    EXPECT_EQ(table.SlotCount(), 4);
    EXPECT_EQ(table.CurrentRecord(), 4);
    EXPECT_TRUE(table.IsBlank()) << "the cursor is on the fresh slot";
    ASSERT_EQ(table.GoToRecord(2), 1);
    EXPECT_EQ(table.GetText(0), "tres");
    EXPECT_EQ(table.GoToRecord(0), -1);
    EXPECT_EQ(table.GoToRecord(5), -1);
    EXPECT_EQ(table.CurrentRecord(), 2) << "a refused move changes nothing";
    EXPECT_EQ(table.GetText(0), "tres");
    ASSERT_EQ(table.GoToRecord(4), 1);
    EXPECT_TRUE(table.IsBlank());
}

TEST_F(TablaTest, DuplicateUniqueKeyIsRefusedLeavingEveryFileAsItWas)
{
    CreateKeyed();
    ASSERT_TRUE(Add("cinco", "5"));
    ASSERT_TRUE(Add("tres", "3"));
    ASSERT_TRUE(Add("nueve", "9"));
    const auto dataBefore = Data();
    const auto indexBefore = Index();
    EXPECT_FALSE(Add("otro", "5"));
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"Clave repetido, no puedo adicionar\n" + name});
    EXPECT_EQ(Data(), dataBefore);
    EXPECT_EQ(Index(), indexBefore);
    EXPECT_EQ(table.SlotCount(), 4);
    EXPECT_EQ(table.CurrentRecord(), 4);
    EXPECT_EQ(table.GetText(0), "otro") << "the refused values stay in the buffer to be corrected";
    table.SetText(1, "7");
    ASSERT_TRUE(table.AppendRecord());
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{2, 3}, {1, 5}, {4, 7}, {3, 9}}));
}

TEST_F(TablaTest, ASecondUniqueIndexRefusingLeavesTheFirstUntouched)
{
    const CKVField fields[] = {{"A", 0, kvInt32, kvIndexUnique, "IDXA"}, {"B", 0, kvInt32, kvIndexUnique, "IDXB"}};
    ASSERT_TRUE(table.Create(name, fields, false));
    table.SetText(0, "1");
    table.SetText(1, "1");
    ASSERT_TRUE(table.AppendRecord());
    const auto a = FileBytes(dir / "IDXA.IDX");
    const auto data = Data();
    table.SetText(0, "2");
    table.SetText(1, "1");
    EXPECT_FALSE(table.AppendRecord());
    EXPECT_EQ(FileBytes(dir / "IDXA.IDX"), a);
    EXPECT_EQ(Data(), data);
    EXPECT_EQ(table.SlotCount(), 2);
}

TEST_F(TablaTest, EqualKeysOfAPlainIndexGoRightAfterTheEqualEntryFound)
{
    const CKVField fields[] = {{"K", 0, kvInt32, 1}};
    ASSERT_TRUE(table.Create(name, fields, false));
    for (const char* k : {"5", "5", "5", "2"}) {
        table.SetText(0, k);
        ASSERT_TRUE(table.AppendRecord()) << k;
    }
    // The third 5 meets the first at the search's first probe and goes in after it.
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{4, 2}, {1, 5}, {3, 5}, {2, 5}}));
}

TEST_F(TablaTest, DeletingRenumbersRecordsAndIndexEntries)
{
    CreateKeyed();
    ASSERT_TRUE(Add("cinco", "5"));
    ASSERT_TRUE(Add("tres", "3"));
    ASSERT_TRUE(Add("nueve", "9"));
    ASSERT_EQ(table.GoToRecord(1), 1);
    EXPECT_EQ(table.DeleteRecord(true), -1) << "No is the default answer";
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"¿Está seguro de borrar el registro actual?"});
    EXPECT_EQ(table.SlotCount(), 4);
    prompts.QueueAnswer(true);
    ASSERT_EQ(table.DeleteRecord(true), 1);
    EXPECT_EQ(table.SlotCount(), 3);
    EXPECT_EQ(Data().size(), 59u + 3 * 15);
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{1, 3}, {2, 9}}));
    EXPECT_EQ(table.CurrentRecord(), 1);
    EXPECT_EQ(table.GetText(0), "tres");
    ASSERT_EQ(table.GoToRecord(2), 1);
    EXPECT_EQ(table.GetText(1), "9");
    ASSERT_EQ(table.DeleteRecord(false), 1);
    EXPECT_EQ(table.CurrentRecord(), 2) << "the new record slot took the deleted number";
    EXPECT_TRUE(table.IsBlank());
    EXPECT_EQ(table.DeleteRecord(false), -1) << "the new record slot is not a record";
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{1, 3}}));
    // The freed key can be used again.
    ASSERT_TRUE(Add("otra vez", "9"));
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{1, 3}, {2, 9}}));
}

TEST_F(TablaTest, AnOrderWalksRecordsByKey)
{
    CreateKeyed();
    EXPECT_TRUE(table.SelectOrder("Clave"));
    EXPECT_EQ(table.OrderPosition(), 1) << "an empty table";
    ASSERT_TRUE(Add("cinco", "5"));
    ASSERT_TRUE(Add("tres", "3"));
    ASSERT_TRUE(Add("nueve", "9"));
    ASSERT_EQ(table.GoToRecord(1), 1);
    ASSERT_TRUE(table.SelectOrder("Clave"));
    EXPECT_EQ(table.ActiveIndexField(), 1);
    EXPECT_EQ(table.OrderPosition(), 2) << "record 1 holds 5, the second key";
    std::vector<std::string> walked;
    for (int i = 1; i < table.SlotCount(); ++i) {
        ASSERT_EQ(table.GoToOrderPosition(i), 1);
        walked.push_back(table.GetText(0));
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"tres", "cinco", "nueve"}));
    EXPECT_EQ(table.GoToOrderPosition(4), -1);
    EXPECT_EQ(table.GoToOrderPosition(0), -1);

    // Adds reload the active order.
    ASSERT_EQ(table.GoToRecord(table.SlotCount()), 1);
    ASSERT_TRUE(Add("uno", "1"));
    ASSERT_EQ(table.GoToOrderPosition(1), 1);
    EXPECT_EQ(table.GetText(0), "uno");

    EXPECT_FALSE(table.SelectOrder("Nombre")) << "a field without index";
    EXPECT_EQ(table.ActiveIndexField(), -1);
    EXPECT_FALSE(table.SelectOrder("Nada"));
    EXPECT_TRUE(table.SelectOrder("")) << "the default index";
    EXPECT_EQ(table.ActiveIndexField(), 1);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(TablaTest, TextAndDateKeysOrderByTheirValues)
{
    const CKVField fields[] = {{"T", 6, kvText, 1, "TXT"}, {"D", 0, kvDate, 1, "FEC"}};
    ASSERT_TRUE(table.Create(name, fields, false));
    const char* rows[][2] = {{"pera", "1/1/2001"}, {"Zeta", "31/12/1999"}, {"manzanas", "2/1/2001"}, {"pe", "5/3/99"}};
    for (const auto& row : rows) {
        table.SetText(0, row[0]);
        table.SetText(1, row[1]);
        ASSERT_TRUE(table.AppendRecord()) << row[0];
    }
    const auto txt = FileBytes(dir / "TXT.IDX");
    ASSERT_EQ(txt.size(), 4u * 10);
    std::vector<uint32_t> byText, byDate;
    for (size_t at = 0; at < txt.size(); at += 10)
        byText.push_back(U32At(txt, at));
    EXPECT_EQ(byText, (std::vector<uint32_t>{2, 3, 4, 1})) << "Zeta < manzan < pe < pera, case-sensitive";
    EXPECT_EQ(std::string(txt.begin() + 14, txt.begin() + 20), "manzan") << "keys hold width bytes, no terminator";
    const auto fec = FileBytes(dir / "FEC.IDX");
    for (size_t at = 0; at < fec.size(); at += 8)
        byDate.push_back(U32At(fec, at));
    EXPECT_EQ(byDate, (std::vector<uint32_t>{4, 2, 1, 3}));
}

TEST_F(TablaTest, FloatKeysLessThanOneApartAreEqual)
{
    const CKVField fields[] = {{"F", 0, kvFloat, kvIndexUnique}};
    ASSERT_TRUE(table.Create(name, fields, false));
    table.SetText(0, "1.2");
    ASSERT_TRUE(table.AppendRecord());
    table.SetText(0, "1.7");
    EXPECT_FALSE(table.AppendRecord());
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"F repetido, no puedo adicionar\n" + name});
    table.SetText(0, "2.3");
    EXPECT_TRUE(table.AppendRecord());
}

TEST_F(TablaTest, AddsNeedTheSlotDataAndFilledIndexedFields)
{
    CreateKeyed();
    ASSERT_TRUE(Add("uno", "1"));
    const auto before = Data();
    EXPECT_FALSE(table.AppendRecord()) << "a blank record is not added";
    table.SetText(0, "sin clave");
    EXPECT_FALSE(table.AppendRecord());
    ASSERT_EQ(table.GoToRecord(1), 1);
    EXPECT_FALSE(Add("dos", "2"));
    EXPECT_EQ(prompts.Shown(), (std::vector<std::string>{"Clave debe contener datos válidos, no puedo adicionar.",
                                                         name + "\nSólo puedo adicionar un registro previamente vacío"}));
    EXPECT_EQ(Data(), before);
}

TEST_F(TablaTest, AMissingIndexIsReportedAndSkipped)
{
#ifdef _WIN32
    GTEST_SKIP() << "on Windows a file the table holds open keeps its name until the table closes it";
#endif
    CreateKeyed();
    ASSERT_TRUE(Add("uno", "1"));
    std::filesystem::remove(dir / "KV000001.IDX");
    EXPECT_TRUE(Add("dos", "2"));
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"No existe el índice " + (dir / "KV000001.IDX") +
                                                        "\nde la tabla clientes.DAT"});
    EXPECT_EQ(table.SlotCount(), 3);
    EXPECT_FALSE(table.SelectOrder("Clave")) << "no message when ordering by a missing index";
    EXPECT_EQ(prompts.Shown().size(), 1u);
}

TEST_F(TablaTest, CreationRefusesExistingFilesAndOpenTables)
{
    CreateKeyed();
    ASSERT_TRUE(Add("uno", "1"));
    EXPECT_FALSE(table.Create(dir / "otra", std::span<const CKVField>(), false));
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"Esta tabla está asignada a " + name + ", ciérrela primero"});
    EXPECT_FALSE(RawFile::Exists(dir / "otra.DAT"));
    EXPECT_EQ(table.SlotCount(), 2);
    EXPECT_EQ(table.TableName(), name);
    table.Close();
    EXPECT_TRUE(RawFile::Exists(name + ".DAT")) << "a table that is not temporary stays";

    prompts.ClearShown();
    CTabla other(prompts, locale);
    const CKVField one[] = {{"X", 0, kvInt32}};
    EXPECT_FALSE(other.Create(name, one, true));
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{name + ".DAT ya existe"});
    EXPECT_FALSE(other.IsOpen());

    prompts.ClearShown();
    EXPECT_FALSE(other.Create(dir / "no/such/folder/t", one, true));
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"No se pudo crear " + (dir / "no/such/folder/t") + " error No.3"});
}

TEST_F(TablaTest, ATemporaryTableDeletesItsFilesWhenClosed)
{
    CreateKeyed(true);
    ASSERT_TRUE(Add("uno", "1"));
    EXPECT_EQ(dir.Names().size(), 2u);
    table.Close();
    EXPECT_TRUE(dir.Names().empty());
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(table.TableName(), "");
    EXPECT_EQ(table.GoToRecord(1), -1);
    EXPECT_FALSE(table.AppendRecord());
    {
        CTabla scoped(prompts, locale);
        const CKVField one[] = {{"X", 0, kvInt32, 1}};
        ASSERT_TRUE(scoped.Create(dir / "t", one, true));
        EXPECT_EQ(dir.Names().size(), 2u);
    }
    EXPECT_TRUE(dir.Names().empty()) << "destroying the table closes it";
}

TEST_F(TablaTest, GeneratedIndexNamesSkipEveryTakenNameAndPlantedLinks)
{
#ifdef _WIN32
    GTEST_SKIP() << "making a symbolic link needs a privilege on Windows";
#else
    std::ofstream(dir / "KV000001.IDX") << "someone else's";
    ASSERT_EQ(::symlink((dir / "victim").c_str(), (dir / "KV000002.idx").c_str()), 0);
    EXPECT_EQ(CTabla::MakeUniqueFileName(dir.Path().string(), ".idx", "KV"), "KV000003.idx");
    CreateKeyed();
    EXPECT_EQ(table.Field(1).IndexName(), "KV000003");
    EXPECT_EQ(FileBytes(dir / "KV000001.IDX").size(), 14u);
    EXPECT_FALSE(std::filesystem::exists(dir / "victim"));
    EXPECT_EQ(CTabla::MakeUniqueFileName(dir.Path().string(), ".dat", "TEMPORAL"), "TEMPORAL1.dat");
#endif
}

TEST_F(TablaTest, AGivenIndexNameThatExistsIsNeverReused)
{
    std::ofstream(dir / "CLAVES.IDX") << "another table's index";
    const CKVField fields[] = {{"Clave", 0, kvInt32, 1, "CLAVES"}};
    EXPECT_FALSE(table.Create(name, fields, false));
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"No se pudo crear " + (dir / "CLAVES.IDX") + " error No.5"});
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"CLAVES.IDX"}) << "nothing of the failed table stays";
    EXPECT_FALSE(table.IsOpen());
}

TEST_F(TablaTest, EmptyingRemovesEveryRecordAndIndexEntry)
{
    CreateKeyed();
    ASSERT_TRUE(Add("uno", "1"));
    ASSERT_TRUE(Add("dos", "2"));
    ASSERT_TRUE(table.SelectOrder("Clave"));
    ASSERT_TRUE(table.EmptyTable());
    EXPECT_EQ(Data().size(), 59u + 15);
    EXPECT_TRUE(Index().empty());
    EXPECT_EQ(table.SlotCount(), 1);
    EXPECT_EQ(table.OrderPosition(), 1);
    ASSERT_TRUE(Add("uno", "1")) << "keys are free again";
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{1, 1}}));
}

TEST_F(TablaTest, ExportingCopiesLayoutAndRecordsIntoANewTable)
{
    CreateKeyed();
    ASSERT_TRUE(Add("uno", "1"));
    ASSERT_TRUE(Add("dos", "2"));
    CKVRegister row(prompts, locale);
    ASSERT_TRUE(table.CopyLayoutTo(row));
    EXPECT_EQ(row.RecordLength(), table.RecordLength());
    EXPECT_TRUE(row.IsBlank());

    std::filesystem::create_directory(dir.Path() / "export");
    CTabla copy(prompts, locale);
    ASSERT_TRUE(copy.Create(dir / "export/copia", table.Fields(), false));
    EXPECT_EQ(copy.Field(1).IndexName(), "KV000001") << "index names are kept";
    for (int r = 1; r < table.SlotCount(); ++r) {
        ASSERT_EQ(table.GoToRecord(r), 1);
        table.CopyFieldsTo(row);
        ASSERT_TRUE(copy.AppendCopy(row));
    }
    copy.Close();
    const auto original = Data();
    const auto copied = FileBytes(dir / "export/copia.DAT");
    EXPECT_EQ(copied, original);
    EXPECT_EQ(FileBytes(dir / "export/KV000001.IDX"), Index());

    CKVRegister other(prompts, locale);
    const CKVField different[] = {{"X", 0, kvInt16}};
    other.LayoutFields(different);
    EXPECT_FALSE(table.AppendCopy(other)) << "a record of another length is not copied";
}

TEST_F(TablaTest, WrittenRecordsAreReadBack)
{
    CreateKeyed();
    ASSERT_TRUE(Add("uno", "1"));
    ASSERT_EQ(table.GoToRecord(1), 1);
    table.SetText(0, "cambiado");
    ASSERT_TRUE(table.WriteRecord());
    table.SetText(0, "no escrito");
    ASSERT_TRUE(table.ReadRecord());
    EXPECT_EQ(table.GetText(0), "cambiado");
}

TEST_F(TablaTest, RepeatedAddsLeaveTheFilesOneAddAtATimeWould)
{
    const CKVField plain[] = {{"Marca", 1, kvText}, {"Monto", 0, kvDouble}};
    CTabla single{prompts, locale};
    ASSERT_TRUE(single.Create(dir / "uno", plain, true));
    ASSERT_TRUE(table.Create(dir / "varios", plain, true));
    for (CTabla* t : {&single, &table}) {
        t->SetText(0, "x");
        ASSERT_TRUE(t->AppendRecord()) << "one real record first";
    }
    for (int n = 0; n < 5; ++n) {
        single.SetText(0, ".");
        single.SetText(1, "2.5");
        ASSERT_TRUE(single.AppendRecord());
    }
    table.SetText(0, ".");
    table.SetText(1, "2.5");
    ASSERT_TRUE(table.AppendRepeated(5));
    EXPECT_EQ(FileBytes(dir / "varios.DAT"), FileBytes(dir / "uno.DAT"));
    EXPECT_EQ(table.SlotCount(), 7);
    EXPECT_EQ(table.CurrentRecord(), 7);
    EXPECT_EQ(table.IndexedCount(), 6);
    EXPECT_TRUE(table.IsBlank()) << "on the new blank slot";

    const auto before = FileBytes(dir / "varios.DAT");
    EXPECT_FALSE(table.AppendRepeated(3)) << "a blank record is not added";
    ASSERT_EQ(table.GoToRecord(2), 1);
    EXPECT_FALSE(table.AppendRepeated(3)) << "only on the new record slot";
    EXPECT_EQ(prompts.Shown(), std::vector<std::string>{dir / "varios" + "\nSólo puedo adicionar un registro previamente vacío"});
    EXPECT_EQ(FileBytes(dir / "varios.DAT"), before);

    // An indexed table adds one at a time: a unique key takes the first copy only.
    table.Close();
    CreateKeyed();
    table.SetText(0, "uno");
    table.SetText(1, "1");
    EXPECT_FALSE(table.AppendRepeated(2));
    EXPECT_EQ(table.SlotCount(), 2);
    EXPECT_EQ(Entries(Index()), (std::vector<Entry>{{1, 1}}));
}
