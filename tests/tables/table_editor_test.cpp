#include "tables/tabla.h"
#include "tables/table_editor.h"
#include "test_support.h"

#include <cstring>

namespace {

// A table of clients: an indexed key, a name and an amount, with an editor over it.
class TableEditorTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScriptedPrompts prompts;
    FixedLocale locale = MexicanLocale();
    CTabla table{prompts, locale};
    CTablaEditor editor{prompts, locale};

    void SetUp() override
    {
        const CKVField fields[] = {{"Clave", 0, kvInt32, kvIndexUnique | kvIndexDefault},
                                   {"Nombre", 20, kvText},
                                   {"Importe", 0, kvDouble}};
        ASSERT_TRUE(table.Create(dir / "clientes", fields, true));
        ASSERT_TRUE(editor.Attach(&table));
        editor.BuildColumns();
        editor.Reset();
    }
    // Records keyed 10, 20, ... named "cliente 1", "cliente 2", ..., typed into the new
    // record line and appended with Enter.
    void AddRecords(int count)
    {
        for (int i = 1; i <= count; ++i) {
            editor.TypeIntoCell(editor.RowCount(), 2, "cliente " + std::to_string(i), TablaKey::F3);
            ASSERT_TRUE(editor.TypeIntoCell(editor.RowCount(), 1, std::to_string(i * 10), TablaKey::Enter));
        }
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int r = 1; r < editor.RowCount(); ++r)
            names.push_back(editor.CellText(r, 2));
        return names;
    }
};

}  // namespace

TEST_F(TableEditorTest, EnterOnTheNewRecordLineAppendsItAndMovesToTheNextNewLine)
{
    AddRecords(3);
    EXPECT_EQ(editor.RowCount(), 4);
    EXPECT_EQ(table.SlotCount(), 4);
    EXPECT_EQ(Names(), (std::vector<std::string>{"cliente 1", "cliente 2", "cliente 3"}));
    EXPECT_EQ(editor.CurRow(), 4);
    EXPECT_EQ(editor.CurCol(), 1);
    EXPECT_TRUE(editor.NewRow().IsBlank()) << "the new record line is cleared after the append";
}

TEST_F(TableEditorTest, RefusedAppendKeepsTheLineAndTheCursor)
{
    AddRecords(1);
    // The key is unique: a second record with key 10 is refused by the table.
    editor.TypeIntoCell(2, 1, "10", TablaKey::F3);
    editor.TypeIntoCell(2, 2, "otro", TablaKey::F3);
    editor.MoveCursor(2, 2);
    editor.BeginEdit();
    editor.EndEdit("otro", TablaKey::Enter);
    EXPECT_EQ(editor.RowCount(), 2);
    EXPECT_EQ(editor.CurRow(), 2);
    EXPECT_EQ(editor.NewRow().GetText(1), "otro");
    ASSERT_FALSE(prompts.Shown().empty());
    EXPECT_NE(prompts.Shown().back().find(CTabla::kMsgDuplicate), std::string::npos);
}

TEST_F(TableEditorTest, AppendingOffLeavesTheTableAlone)
{
    editor.SetNoAppend(true);
    editor.TypeIntoCell(1, 1, "5", TablaKey::Enter);
    EXPECT_EQ(editor.RowCount(), 1);
    EXPECT_EQ(table.SlotCount(), 1);
}

TEST_F(TableEditorTest, CommitRulesPerColumnAndRow)
{
    AddRecords(2);
    struct Case {
        const char* what;
        int row, col;
        uint32_t flags;
        const char* typed;
        TablaKey key;
        const char* expected;
    };
    const Case cases[] = {
        {"plain text in a record row", 1, 2, 0, "Ana", TablaKey::Enter, "Ana"},
        {"upper-case flag", 1, 2, TablaColumn::kUpperCase, "peña", TablaKey::Enter, "PEÑA"},
        {"read-only column", 1, 2, TablaColumn::kReadOnly, "nada", TablaKey::Enter, "PEÑA"},
        {"escape restores", 2, 2, 0, "nada", TablaKey::Escape, "cliente 2"},
        {"indexed field of a record row", 1, 1, 0, "99", TablaKey::Enter, "10"},
        {"indexed field on the new record line", 3, 1, 0, "99", TablaKey::F3, "99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor.SetColumnFlags(c.col, c.flags);
        editor.TypeIntoCell(c.row, c.col, c.typed, c.key);
        EXPECT_EQ(editor.CellText(c.row, c.col), c.expected);
        editor.SetColumnFlags(c.col, 0);
    }
    // What reached the file, read again from the table.
    ASSERT_EQ(table.GoToRecord(1), 1);
    EXPECT_EQ(table.GetText(0), "10");
    EXPECT_EQ(table.GetText(1), "PEÑA");
}

TEST_F(TableEditorTest, CommitHookReceivesTheRecordAndColumnOfAChangedCell)
{
    // The set hook finds the typed text in the row's buffer and adds to it what the row
    // takes from it; both are written in the commit.
    struct Recorder : CTablaEditor {
        using CTablaEditor::CTablaEditor;
        std::vector<std::pair<int, int>> calls;
        std::vector<std::string> set;
        void OnCellSet(int col) override
        {
            set.push_back(std::to_string(col) + ":" + Table()->GetText(2));
            Table()->SetText(1, "del gancho");
        }
        void OnCellCommitted(int record, int col) override { calls.emplace_back(record, col); }
    } recorder(prompts, locale);
    AddRecords(2);
    ASSERT_TRUE(recorder.Attach(&table));
    recorder.BuildColumns();
    recorder.Reset();
    recorder.TypeIntoCell(2, 3, "12.5");
    recorder.TypeIntoCell(2, 3, "12.5");  // unchanged: no call
    recorder.TypeIntoCell(1, 1, "77");    // indexed, restored: no call
    recorder.TypeIntoCell(3, 2, "nuevo", TablaKey::F3);
    EXPECT_EQ(recorder.calls, (std::vector<std::pair<int, int>>{{2, 3}, {0, 2}}));
    EXPECT_EQ(recorder.set, std::vector<std::string>{"3:12.5"}) << "record rows only";
    // What reached the file: the record after the header, at its field offsets.
    const std::vector<uint8_t> data = FileBytes(table.DataPath());
    const size_t record2 = table.DataOffset() + table.RecordLength();
    const std::string name(reinterpret_cast<const char*>(data.data() + record2 + table.Field(1).Offset()));
    EXPECT_EQ(name, "del gancho");
    double amount = 0;
    std::memcpy(&amount, data.data() + record2 + table.Field(2).Offset(), sizeof amount);
    EXPECT_EQ(amount, 12.5);
}

TEST_F(TableEditorTest, DeletingASelectionOfRowsTwoToFourOfFiveLeavesTheFirstAndLast)
{
    AddRecords(5);
    editor.MoveCursor(3, 2);
    editor.SelectRows(2, 4);
    prompts.QueueAnswer(true);
    editor.KeyPress(TablaKey::Delete);
    EXPECT_EQ(prompts.Shown().back(), CTablaEditor::kAskDeleteSelection);
    EXPECT_EQ(Names(), (std::vector<std::string>{"cliente 1", "cliente 5"}));
    EXPECT_EQ(editor.RowCount(), 3);
    EXPECT_FALSE(editor.HasSelection());
    EXPECT_LE(editor.CurRow(), 2);
}

TEST_F(TableEditorTest, DeleteAnsweredNoOrWhileSortedChangesNothing)
{
    AddRecords(3);
    editor.SelectRows(1, 2);
    editor.KeyPress(TablaKey::Delete);  // the script answers No
    EXPECT_EQ(editor.RowCount(), 4);

    ASSERT_TRUE(editor.SortByColumn(1));
    prompts.QueueAnswer(true);
    prompts.ClearShown();
    editor.KeyPress(TablaKey::Delete);
    EXPECT_EQ(editor.RowCount(), 4);
    EXPECT_TRUE(prompts.Shown().empty()) << "nothing is asked while sorted";
}

TEST_F(TableEditorTest, DeleteOnTheCursorRowAsksTheTablesQuestionAndTheLastRowMovesUp)
{
    AddRecords(3);
    editor.MoveCursor(3, 1);
    prompts.QueueAnswer(true);
    editor.KeyPress(TablaKey::Delete);
    EXPECT_EQ(prompts.Shown().back(), CTabla::kAskDelete);
    EXPECT_EQ(Names(), (std::vector<std::string>{"cliente 1", "cliente 2"}));
    EXPECT_EQ(editor.CurRow(), 2);
}

TEST_F(TableEditorTest, DeleteOnTheNewRecordLineClearsIt)
{
    editor.TypeIntoCell(1, 2, "a medias", TablaKey::F3);
    editor.KeyPress(TablaKey::Delete);
    EXPECT_TRUE(editor.NewRow().IsBlank());
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(TableEditorTest, SortingByAnIndexedColumnShowsTheOrderAndByAnotherKeepsRecordOrder)
{
    for (const char* key : {"30", "10", "20"}) {
        editor.TypeIntoCell(editor.RowCount(), 2, std::string("clave ") + key, TablaKey::F3);
        editor.TypeIntoCell(editor.RowCount(), 1, key, TablaKey::Enter);
    }
    ASSERT_TRUE(editor.SortByColumn(1));
    EXPECT_EQ(Names(), (std::vector<std::string>{"clave 10", "clave 20", "clave 30"}));
    EXPECT_FALSE(editor.SortByColumn(2));
    EXPECT_FALSE(editor.IsSorted());
    EXPECT_EQ(Names(), (std::vector<std::string>{"clave 30", "clave 10", "clave 20"}));
}

TEST_F(TableEditorTest, CurrencyDisplayAndHiddenEmptyCells)
{
    AddRecords(2);
    editor.TypeIntoCell(1, 3, "-1234.5");
    editor.ToggleCurrency(3);
    const TablaCellView negative = editor.CellDisplay(1, 3);
    EXPECT_EQ(negative.text, "-$ 1,234.50");
    EXPECT_TRUE(negative.negative);
    EXPECT_EQ(negative.align, TablaColumn::kAlignRight);
    EXPECT_EQ(editor.CellDisplay(2, 3).text, "$ 0.00");
    EXPECT_FALSE(editor.CellDisplay(2, 3).negative);

    editor.SetHideEmpty(true);
    EXPECT_EQ(editor.CellDisplay(2, 3).text, "");
    EXPECT_EQ(editor.CellDisplay(1, 3).text, "-$ 1,234.50");
}

TEST_F(TableEditorTest, KeysMoveTheCursorWithinTheTableAndScrollIt)
{
    AddRecords(6);
    editor.SetViewSize(0, 3);
    editor.KeyPress(TablaKey::Home);
    EXPECT_EQ(std::make_pair(editor.CurRow(), editor.CurCol()), std::make_pair(1, 1));
    editor.KeyPress(TablaKey::Left);
    editor.KeyPress(TablaKey::Up);
    EXPECT_EQ(std::make_pair(editor.CurRow(), editor.CurCol()), std::make_pair(1, 1));
    for (int i = 0; i < 5; ++i)
        editor.KeyPress(TablaKey::Right);
    EXPECT_EQ(editor.CurCol(), 3);
    editor.KeyPress(TablaKey::Down);
    editor.KeyPress(TablaKey::Down);
    editor.KeyPress(TablaKey::Down);
    EXPECT_EQ(editor.CurRow(), 4);
    EXPECT_EQ(editor.FirstRow(), 2) << "the view scrolls by one row";
    editor.KeyPress(TablaKey::End);
    EXPECT_EQ(std::make_pair(editor.CurRow(), editor.CurCol()), std::make_pair(7, 1));
    EXPECT_EQ(editor.FirstRow(), 5);
    editor.KeyPress(TablaKey::PageUp);
    EXPECT_EQ(editor.CurRow(), 4);
    editor.KeyPress(TablaKey::PageDown);
    editor.KeyPress(TablaKey::PageDown);
    EXPECT_EQ(editor.CurRow(), 7);
}

TEST_F(TableEditorTest, WhichKeysEndAnEdit)
{
    AddRecords(1);
    editor.MoveCursor(1, 2);
    EXPECT_TRUE(editor.EndsEdit(TablaKey::Down, "x")) << "record row";
    EXPECT_FALSE(editor.EndsEdit(TablaKey::Left, "")) << "record row";
    editor.MoveCursor(2, 2);
    EXPECT_FALSE(editor.EndsEdit(TablaKey::Down, "")) << "new record line";
    EXPECT_TRUE(editor.EndsEdit(TablaKey::Left, "")) << "empty cell of the new record line";
    EXPECT_FALSE(editor.EndsEdit(TablaKey::Right, "x")) << "typed cell of the new record line";
    for (TablaKey k : {TablaKey::Enter, TablaKey::Escape, TablaKey::F2, TablaKey::F3})
        EXPECT_TRUE(editor.EndsEdit(k, "x"));
}

TEST_F(TableEditorTest, AnAdoptedTableIsClosedOnDetachAndALentOneIsNot)
{
    auto owned = std::make_unique<CTabla>(prompts, locale);
    const CKVField fields[] = {{"Dato", 5, kvText}};
    ASSERT_TRUE(owned->Create(dir / "propia", fields, true));
    CTabla* raw = owned.get();
    CTablaEditor other(prompts, locale);
    ASSERT_TRUE(other.Adopt(std::move(owned)));
    EXPECT_TRUE(raw->IsOpen());
    other.Detach();
    EXPECT_FALSE(std::filesystem::exists(dir / "propia.DAT"));

    editor.Detach();
    EXPECT_TRUE(table.IsOpen());
    CTabla closed(prompts, locale);
    EXPECT_FALSE(editor.Attach(&closed));
}
