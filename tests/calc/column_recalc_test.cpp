// Recalculating a row's calculated columns after one cell changed.
#include <gtest/gtest.h>

#include <map>

#include "calc/column_formula.h"
#include "calc/column_recalc.h"

namespace {

// A row of cells held as texts, with every result written recorded in order.
class FakeRow : public CalcRow {
public:
    std::map<int, double> values;
    std::vector<std::pair<int, std::string>> written;

    double Value(int column) override { return values[column]; }
    void SetResult(int column, const std::string& text) override
    {
        values[column] = std::stod(text);
        written.emplace_back(column, text);
    }
};

// Records for columns 1..n from their formulas; every formula given is calculated.
std::vector<CCalcRecord> Records(std::initializer_list<const char*> formulas)
{
    std::vector<CCalcRecord> records(1);
    for (const char* f : formulas)
        records.push_back(ParseColumnFormula(f, *f != '\0'));
    return records;
}

}  // namespace

TEST(ColumnRecalc, ProductOfTwoTypedColumns)
{
    auto records = Records({"", "", "C1*C2"});
    FakeRow row;
    row.values[1] = 2;
    EXPECT_TRUE(RecalculateColumns(records, 1, row));
    row.values[2] = 3.5;
    EXPECT_TRUE(RecalculateColumns(records, 2, row));
    EXPECT_EQ(row.written.back(), (std::pair<int, std::string>{3, "7.00"}));
}

TEST(ColumnRecalc, AColumnNobodyNamesChangesNothing)
{
    auto records = Records({"", "", "C1*C2"});
    FakeRow row;
    EXPECT_FALSE(RecalculateColumns(records, 3, row)) << "typing into the result column itself";
    EXPECT_FALSE(RecalculateColumns(records, 0, row));
    EXPECT_FALSE(RecalculateColumns(records, 9, row));
    EXPECT_TRUE(row.written.empty());
}

TEST(ColumnRecalc, ChainsRippleDepthFirst)
{
    // C2 = C1 * 2, C3 = C2 + 1, C4 = C3 * 10.
    auto records = Records({"", "C1*2", "C2+1", "C3*10"});
    FakeRow row;
    row.values[1] = 5;
    EXPECT_TRUE(RecalculateColumns(records, 1, row));
    const std::vector<std::pair<int, std::string>> expected{{2, "10.00"}, {3, "11.00"}, {4, "110.00"}};
    EXPECT_EQ(row.written, expected);
}

TEST(ColumnRecalc, ACycleStops)
{
    // C1 = C2 * 2 and C2 = C1 + 1: editing either computes the other once.
    auto records = Records({"C2*2", "C1+1"});
    FakeRow row;
    row.values[1] = 4;
    EXPECT_TRUE(RecalculateColumns(records, 1, row));
    EXPECT_EQ(row.written, (std::vector<std::pair<int, std::string>>{{2, "5.00"}}));
    row.written.clear();
    row.values[2] = 7;
    EXPECT_TRUE(RecalculateColumns(records, 2, row));
    EXPECT_EQ(row.written, (std::vector<std::pair<int, std::string>>{{1, "14.00"}}));
}

TEST(ColumnRecalc, AColumnReachedByTwoPathsEndsWithAllNewSources)
{
    // C3 = C1 * C2 and C4 = C3 + C1; C1 changes from 1 to 10 with C2 = 2.
    auto records = Records({"", "", "C1*C2", "C3+C1"});
    FakeRow row;
    row.values = {{1, 1}, {2, 2}, {3, 2}, {4, 3}};
    row.values[1] = 10;
    EXPECT_TRUE(RecalculateColumns(records, 1, row));
    EXPECT_EQ(row.values[3], 20);
    EXPECT_EQ(row.values[4], 30) << "C4 = new C3 + new C1";
}

TEST(ColumnRecalc, OperandsComeFromTheRowBeingRecalculated)
{
    // The value of C2 typed into another row must not leak into this one.
    auto records = Records({"", "", "C1*C2"});
    FakeRow other;
    other.values = {{1, 0}, {2, 100}};
    RecalculateColumns(records, 2, other);
    FakeRow row;
    row.values = {{1, 3}, {2, 4}};
    RecalculateColumns(records, 1, row);
    EXPECT_EQ(row.written.back().second, "12.00");
}

TEST(ColumnRecalc, AFormulaNamingItsOwnColumnIsAppliedToTheTypedValue)
{
    // C2 = C2 * 1.16: typing 100 leaves 116.00, and columns naming C2 see that.
    auto records = Records({"", "C2*1.16", "C2+1"});
    FakeRow row;
    row.values[2] = 100;
    EXPECT_TRUE(RecalculateColumns(records, 2, row));
    const std::vector<std::pair<int, std::string>> expected{{2, "116.00"}, {3, "117.00"}};
    EXPECT_EQ(row.written, expected);
}

TEST(ColumnRecalc, ColumnsThatAreNotCalculatedAreNeverWritten)
{
    std::vector<CCalcRecord> records(1);
    records.push_back({});
    records.push_back(ParseColumnFormula("C1*2", false));
    FakeRow row;
    row.values[1] = 3;
    EXPECT_FALSE(RecalculateColumns(records, 1, row));
    EXPECT_TRUE(row.written.empty());
}
