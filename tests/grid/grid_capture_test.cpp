// The table element's capture without a window: its temporary table, typing into cells,
// calculated columns, totals, clearing and the captured-data record.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/grid_capture.h"
#include "grid_test_support.h"
#include "base/recording_dc.h"
#include "tables/tabla.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An invoice's lines: quantity, description, price, amount = quantity x price.
std::unique_ptr<CFmtGrid> InvoiceLines()
{
    auto g = DesignedGrid();
    g->m_order = 7;
    g->m_columns[0].title = "Cantidad";
    g->m_columns[0].type = kGridNumber;
    g->m_columns[1].title = "Descripcion";
    g->m_columns[2].title = "Precio";
    g->m_columns[2].type = kGridNumber;
    g->m_columns[3].title = "Importe";
    g->m_columns[3].type = kGridNumberCalc;
    g->m_columns[3].formula = "C1*C3";
    return g;
}

MemoryTableEntry& Entry(CFmtGrid& g)
{
    return dynamic_cast<MemoryTableEntry&>(*g.TableWindow());
}

Bytes Save(const CFmtGrid& g)
{
    ArchiveWriter ar;
    g.SaveValue(ar);
    return ar.Take();
}

}  // namespace

TEST(GridCapture, TheTableIsATemporaryKvFileWithAMarkerAndOneFieldPerColumn)
{
    HeadlessParent parent;
    auto g = InvoiceLines();
    g->m_columns[1].type = kGridCurrencyCalc;
    g->m_columns[2].type = kGridText;
    RecordingDc dc;
    ASSERT_EQ(g->CreateEntryControl(dc, parent.factory, 1180, LogFont{}), 1);
    EXPECT_EQ(g->CreateEntryControl(dc, parent.factory, 1180, LogFont{}), 0) << "once only";

    CTabla* table = g->Capture()->Table();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->IsTemporary());
    EXPECT_EQ(table->Title().substr(0, 2), "KV");
    const std::string path = table->DataPath();
    // In this program's own folder inside the system's temporary folder, closed to others.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    EXPECT_EQ(folder.parent_path(), std::filesystem::temp_directory_path());
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_EQ(table->FieldCount(), 5);
    EXPECT_EQ(table->Field(0).Name(), ".");
    EXPECT_EQ(table->Field(0).Width(), 1);
    EXPECT_EQ(table->Field(1).Type(), kvDouble);
    EXPECT_EQ(table->Field(2).Type(), kvCurrency);
    EXPECT_EQ(table->Field(3).Type(), kvText);
    EXPECT_EQ(table->Field(3).Width(), 255);
    EXPECT_EQ(table->Field(4).Name(), "Importe");
    for (int i = 0; i < table->FieldCount(); ++i)
        EXPECT_FALSE(table->Field(i).IsIndexed()) << i;
    EXPECT_EQ(table->SlotCount(), 7) << "six marker rows and the new record slot";
    EXPECT_EQ(Entry(*g).Params().rcScreen, g->m_rcScreen.Normalized().Inflated(-2, -2));

    // The window's columns: the marker is hidden; currency columns are right-aligned.
    const CGridCapture& capture = *g->Capture();
    ASSERT_EQ(capture.ColumnCount(), 5);
    EXPECT_EQ(capture.Column(0).widthPx, 20);
    EXPECT_EQ(capture.Column(1).fieldName, "Cantidad");
    EXPECT_EQ(capture.Column(2).align, TablaColumn::kAlignRight);
    EXPECT_TRUE(capture.NoAppend());
    EXPECT_TRUE(capture.HideEmpty());

    g.reset();
    EXPECT_FALSE(std::filesystem::exists(path)) << "the table goes with the element";
}

TEST(GridCapture, TypingTwoAndThreeAndAHalfComputesSeven)
{
    HeadlessParent parent;
    auto g = InvoiceLines();
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    MemoryTableEntry& entry = Entry(*g);

    EXPECT_TRUE(entry.Type(2, 1, "2"));
    EXPECT_EQ(entry.CellText(2, 4), "0.00") << "the price is still empty";
    EXPECT_EQ(parent.gridChanged, (std::vector<int>{1180}));
    EXPECT_TRUE(entry.Type(2, 3, "3.5"));
    // 7.00 was written; a number's text form drops the zero decimals.
    EXPECT_EQ(entry.CellText(2, 4), "7");
    EXPECT_EQ(parent.gridChanged, (std::vector<int>{1180, 1180}));
    EXPECT_DOUBLE_EQ(g->ColumnTotal(4), 7.0);

    // Another row is computed from its own cells, not from the price typed above.
    entry.Type(3, 1, "10");
    EXPECT_EQ(entry.CellText(3, 4), "0.00");
    entry.Type(3, 3, "1.25");
    EXPECT_EQ(entry.CellText(3, 4), "12.5");
    EXPECT_DOUBLE_EQ(g->ColumnTotal(4), 19.5);
    EXPECT_DOUBLE_EQ(g->ColumnTotal(1), 12.0);
    EXPECT_EQ(g->ColumnTotal(0), 0);
    EXPECT_EQ(g->ColumnTotal(5), 0);

    entry.Type(2, 2, "Tornillos");
    // A typed column may be summed by a total on the capture screen too, so every
    // committed change is announced.
    EXPECT_EQ(parent.gridChanged.size(), 5u);
}

TEST(GridCapture, AnEditIsKeptEvenWithEscAndTheCursorMovesRight)
{
    HeadlessParent parent;
    auto g = InvoiceLines();
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    CGridCapture& capture = *g->Capture();
    capture.MoveCursor(1, 2);
    capture.BeginEdit();
    EXPECT_TRUE(capture.EndEdit("Clavos", TablaKey::Escape));
    EXPECT_EQ(capture.CellText(1, 2), "Clavos");
    EXPECT_EQ(capture.CurCol(), 3);
    EXPECT_EQ(capture.CurRow(), 1);
    capture.BeginEdit();
    capture.EndEdit("4", TablaKey::Down);
    EXPECT_EQ(capture.CurRow(), 1) << "whatever key ended the edit, the cursor only moves right";
    EXPECT_EQ(capture.CurCol(), 4);
    capture.BeginEdit();
    capture.EndEdit("9", TablaKey::Enter);
    EXPECT_EQ(capture.CurCol(), 4) << "the last column stays";
    EXPECT_EQ(capture.Table()->SlotCount(), 7) << "Enter never appends";
}

TEST(GridCapture, TheCapturedRecordIsWrittenRowByRowAndReadBack)
{
    HeadlessParent parent;
    auto g = DesignedGrid();
    g->m_order = 7;
    g->SetRowCount(2);
    g->SetColumnCount(2);
    g->m_columns[1].type = kGridNumber;
    EXPECT_TRUE(Save(*g).empty()) << "without a window nothing is written";
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    Entry(*g).Type(1, 1, "Año");
    Entry(*g).Type(2, 2, "5");

    const Bytes expected{7, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,             // order, rows, columns
                         3, 'A', 0xF1, 'o', 4, '0', '.', '0', '0',          // row 1
                         0, 1, '5'};                                         // row 2
    EXPECT_EQ(Save(*g), expected);

    // Read into another capture of the same grid: the same cells come back, and what that
    // table held before is replaced.
    HeadlessParent other;
    auto copy = DesignedGrid();
    copy->SetRowCount(2);
    copy->SetColumnCount(2);
    copy->m_columns[1].type = kGridNumber;
    copy->CreateEntryControl(dc, other.factory, 1180, LogFont{});
    Entry(*copy).Type(2, 1, "viejo");
    const Bytes afterOrder(expected.begin() + 4, expected.end());
    ArchiveReader in(afterOrder);
    copy->LoadValue(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(Entry(*copy).CellText(1, 1), "Año");
    EXPECT_EQ(Entry(*copy).CellText(2, 1), "");
    EXPECT_EQ(Entry(*copy).CellText(2, 2), "5");
    EXPECT_EQ(copy->Capture()->CurRow(), 1);
    copy->m_order = 7;
    EXPECT_EQ(Save(*copy), expected);
}

TEST(GridCapture, RowsAndColumnsBeyondTheGridsAreReadAndIgnored)
{
    HeadlessParent parent;
    auto g = DesignedGrid();
    g->SetRowCount(1);
    g->SetColumnCount(1);
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    ArchiveWriter record;
    record.WriteInt32(3);  // rows
    record.WriteInt32(2);  // columns
    for (const char* cell : {"a", "b", "c", "d", "e", "f"})
        record.WriteString(cell);
    record.WriteInt32(99);  // the next record's order
    ArchiveReader in(record.Bytes());
    g->LoadValue(in);
    EXPECT_EQ(in.ReadInt32(), 99) << "the whole record was consumed";
    EXPECT_EQ(g->Capture()->Table()->SlotCount(), 2) << "no rows added";
    EXPECT_EQ(Entry(*g).CellText(1, 1), "a");

    // A grid with no capture reads the record through as well.
    CFmtGrid designOnly;
    ArchiveReader again(record.Bytes());
    designOnly.LoadValue(again);
    EXPECT_EQ(again.ReadInt32(), 99);
}

TEST(GridCapture, ACountLargerThanTheFileIsRefusedBeforeReading)
{
    HeadlessParent parent;
    auto g = DesignedGrid();
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    ArchiveWriter record;
    record.WriteInt32(100000);
    record.WriteInt32(100000);
    record.WriteString("x");
    ArchiveReader in(record.Bytes());
    EXPECT_THROW(g->LoadValue(in), ArchiveError);

    // Rows without columns hold no cells: two billion of them are nothing to walk.
    ArchiveWriter empty;
    empty.WriteInt32(0x7FFFFFFF);
    empty.WriteInt32(0);
    empty.WriteInt32(99);
    ArchiveReader none(empty.Bytes());
    g->LoadValue(none);
    EXPECT_EQ(none.ReadInt32(), 99);
}

TEST(GridCapture, ClearingEmptiesEveryCellAndKeepsTheRows)
{
    HeadlessParent parent;
    auto g = InvoiceLines();
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    Entry(*g).Type(1, 1, "2");
    Entry(*g).Type(1, 3, "4");
    Entry(*g).Type(4, 2, "Tuercas");
    g->ClearValue();
    EXPECT_EQ(g->Capture()->Table()->SlotCount(), 7);
    EXPECT_EQ(g->ColumnTotal(4), 0);
    EXPECT_EQ(Entry(*g).CellText(4, 2), "");
    EXPECT_EQ(g->Capture()->Table()->GetText(0), ".") << "rows keep their marker";
}

TEST(GridCapture, RepeatedTitlesGetTheirOwnFields)
{
    std::vector<GridColumn> columns(4);
    columns[0].title = "Importe";
    columns[1].title = "Importe";
    columns[2].title = "";
    columns[3].title = "Descripcion del articulo";  // longer than a field name holds
    const std::vector<std::string> names = CGridCapture::FieldNames(columns);
    EXPECT_EQ(names, (std::vector<std::string>{"Importe", "Importe~2", "", "Descripcion del"}));

    columns[2].title = "Descripcion del articulo";
    columns[0].title = ".";
    EXPECT_EQ(CGridCapture::FieldNames(columns),
              (std::vector<std::string>{".~2", "Importe", "Descripcion del", "Descripcion d~2"}));
}

TEST(GridCapture, AFactoryWithoutTablesMakesNoCapture)
{
    MemoryEntryFactory bare;  // no prompts or locale lent
    auto g = DesignedGrid();
    RecordingDc dc;
    EXPECT_EQ(g->CreateEntryControl(dc, bare, 1180, LogFont{}), 0);
    EXPECT_EQ(g->Capture(), nullptr);
    EXPECT_TRUE(Save(*g).empty());
}

TEST(GridCapture, ANumberOrAmountThatDoesNotReadAsOneIsRefusedWithItsReason)
{
    HeadlessParent parent;
    auto g = InvoiceLines();
    g->m_columns[2].type = kGridCurrency;
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    MemoryTableEntry& entry = Entry(*g);
    struct Case {
        int column;
        const char* typed;
        bool kept;
        double value;
    };
    const Case cases[] = {
        {1, "abc", false, 0},        {1, "12abc", false, 0},     {1, "1.2.3", false, 0},
        {1, " 7 ", true, 7},         {1, "1,200", true, 1200},   {1, "-2.5", true, -2.5},
        {3, "abc", false, 0},        {3, "$1,234.50", true, 1234.5}, {3, "-5", true, -5},
        {3, "", true, 0},
    };
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("column ") + std::to_string(c.column) + " typed \"" + c.typed + "\"");
        parent.prompts.ClearShown();
        entry.Type(row, c.column, "9");
        entry.Type(row, c.column, c.typed);
        if (c.kept) {
            EXPECT_TRUE(parent.prompts.Shown().empty());
            EXPECT_DOUBLE_EQ(g->Capture()->Table()->GoToRecord(row) == 1 ? g->Capture()->Table()->GetDouble(c.column) : -1,
                             c.value);
        } else {
            ASSERT_EQ(parent.prompts.Shown().size(), 1u);
            EXPECT_NE(parent.prompts.Shown()[0].find("no es una cantidad"), std::string::npos);
            EXPECT_EQ(entry.CellText(row, c.column), c.column == 3 ? "$9.00" : "9") << "the cell keeps its value";
        }
        ++row;
        if (row > g->RowCount())
            row = 1;
    }
}

TEST(GridCapture, OnlyAChangedCellRecalculatesAndAColumnFromOthersIsNotTyped)
{
    HeadlessParent parent;
    // The tax is typed as a base amount and computed from it in place.
    auto g = InvoiceLines();
    g->m_columns[1].title = "IVA";
    g->m_columns[1].type = kGridNumberCalc;
    g->m_columns[1].formula = "C2*0.16";
    RecordingDc dc;
    g->CreateEntryControl(dc, parent.factory, 1180, LogFont{});
    MemoryTableEntry& entry = Entry(*g);

    entry.Type(1, 2, "100");
    EXPECT_EQ(entry.CellText(1, 2), "16");
    parent.gridChanged.clear();
    entry.Type(1, 2, "16");
    EXPECT_EQ(entry.CellText(1, 2), "16") << "committed unchanged: not taxed twice";
    EXPECT_TRUE(parent.gridChanged.empty());

    entry.Type(1, 1, "2");
    entry.Type(1, 3, "3");
    EXPECT_EQ(entry.CellText(1, 4), "6");
    parent.gridChanged.clear();
    EXPECT_FALSE(g->Capture()->CellRefusal(1, 4, "99").empty());
    EXPECT_TRUE(g->Capture()->CellRefusal(1, 4, "6").empty()) << "the text it holds";
    EXPECT_FALSE(g->Capture()->CellRefusal(1, 3, "tres").empty());
    EXPECT_TRUE(g->Capture()->CellRefusal(1, 3, "4").empty());
    EXPECT_FALSE(entry.Type(1, 4, "99"));
    EXPECT_EQ(entry.CellText(1, 4), "6") << "the amount follows quantity and price only";
    ASSERT_EQ(parent.prompts.Shown().size(), 1u);
    EXPECT_EQ(parent.prompts.Shown()[0], "«Importe» se calcula sola con C1*C3: escriba en las columnas de las que sale.");
    entry.Type(1, 1, "2");
    EXPECT_EQ(entry.CellText(1, 4), "6");
    EXPECT_TRUE(parent.gridChanged.empty());
    EXPECT_TRUE(g->Capture()->Column(4).Has(TablaColumn::kReadOnly));
    EXPECT_FALSE(g->Capture()->Column(2).Has(TablaColumn::kReadOnly)) << "a column computed from itself is typed";
}
