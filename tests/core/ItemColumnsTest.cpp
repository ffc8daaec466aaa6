#include "items/ItemColumns.h"
#include "items/ItemTableOps.h"
#include "shell/Locale.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace plu {
namespace {

// Cases are written with '.' for the decimal separator; each runs under '.' and ','.
std::string Localised(std::string text, char separator)
{
    for (char& c : text)
        if (c == '.')
            c = separator;
    return text;
}

struct CommitCase {
    GridKind Kind;
    int Col;
    const char* Typed;
    const char* Stored; // nullptr: refused
};

class CommitRule : public ::testing::TestWithParam<char> {};

TEST_P(CommitRule, AcceptsRewritesOrRefuses)
{
    const char sep = GetParam();
    ScopedDecimalSeparator scoped(sep);
    const CommitCase cases[] = {
        {GridKind::Plu, 3, "5", "5.00"},
        {GridKind::Plu, 3, "1000000", nullptr},      // unit price above 999999.99
        {GridKind::Plu, 3, "999999.99", "999999.99"},
        {GridKind::Plu, 3, "-5", "-5.00"},           // no lower bound
        {GridKind::Plu, 3, "12-3", nullptr},
        {GridKind::Plu, 3, "1.005", "1.00"},         // rounded like printf (1.005 is 1.00499...)
        {GridKind::Plu, 3, "abc", nullptr},
        {GridKind::Plu, 3, "", "0.00"},
        {GridKind::Plu, 3, "1234567890", nullptr},   // longer than 9
        {GridKind::Plu, 6, "-79999.99", "-79999.990"},
        {GridKind::Plu, 6, "79999.999", "79999.999"},
        {GridKind::Plu, 6, "-79999.999", nullptr},   // within the bound but ten characters
        {GridKind::Plu, 6, "-80000", nullptr},
        {GridKind::Plu, 6, "80000", nullptr},
        {GridKind::Plu, 7, "-3.5", "-3.500"},
        {GridKind::Plu, 8, "99999999999", "99999999999.00"},
        {GridKind::Plu, 4, "0012345", "12345"},
        {GridKind::Plu, 4, "", "0"},
        {GridKind::Plu, 4, "12a", nullptr},
        {GridKind::Plu, 2, "0", nullptr},
        {GridKind::Plu, 2, "9", nullptr},
        {GridKind::Plu, 2, "8", "8"},
        {GridKind::Plu, 2, "", "1"},
        {GridKind::Plu, 5, "2", nullptr},
        {GridKind::Plu, 1, "Milk 1.5l", "Milk 1.5l"},
        {GridKind::Plu, 1, "123456789012", "123456789012"},
        {GridKind::Plu, 1, "1234567890123", nullptr},
        {GridKind::Dept, 3, "0", nullptr},
        {GridKind::Dept, 3, "", ""},
        {GridKind::Dept, 3, "9", "9"},
        {GridKind::Dept, 2, "7", "7"},
        {GridKind::Dept, 2, "8", nullptr},
        {GridKind::Dept, 5, "999999.9", "999999.90"}, // nine characters against a maximum of eight
        {GridKind::Dept, 5, "99999.9", "99999.90"},
        {GridKind::Recy, 0, "50", "50"},
        {GridKind::Recy, 0, "51", nullptr},
        {GridKind::Recy, 0, "0", nullptr},
        {GridKind::Recy, 0, "", ""},
        {GridKind::Recy, 1, "3", "3.00"},
        {GridKind::Recy, 2, "007", "7"},
        {GridKind::Recy, 3, "0012", "0012"},         // counters are kept as typed
        {GridKind::Recy, 4, "", ""},
    };
    for (const auto& c : cases) {
        const std::string typed = Localised(c.Typed, sep);
        auto stored = CommittedText(c.Kind, c.Col, typed);
        SCOPED_TRACE(testing::Message() << "grid " << static_cast<int>(c.Kind) << " col " << c.Col << " '" << typed << "'");
        if (c.Stored == nullptr)
            EXPECT_FALSE(stored.has_value()) << *stored;
        else
            EXPECT_EQ(stored, std::optional<std::string>(Localised(c.Stored, sep)));
    }
}

TEST_P(CommitRule, RewrittenTextLongerThanMaximumIsRefusedNextTime)
{
    ScopedDecimalSeparator scoped(GetParam());
    CellTable dept(kDeptCols, kDeptRows + 1);
    dept.SetCell(5, 1, Localised("999999.9", GetParam()));
    ASSERT_TRUE(CommitCell(GridKind::Dept, dept, 5, 1));
    EXPECT_EQ(dept.Cell(5, 1), Localised("999999.90", GetParam()));
    EXPECT_FALSE(CommitCell(GridKind::Dept, dept, 5, 1));
    EXPECT_EQ(dept.Cell(5, 1), Localised("999999.90", GetParam())) << "a refused commit leaves the text";
}

TEST_P(CommitRule, KeyFilter)
{
    const char sep = GetParam();
    ScopedDecimalSeparator scoped(sep);
    const char other = sep == '.' ? ',' : '.';
    struct KeyCase {
        GridKind Kind;
        int Col;
        std::string Text;
        bool Selection;
        char Key;
        bool Accepted;
    };
    const KeyCase cases[] = {
        {GridKind::Plu, 1, "", false, 'x', true},
        {GridKind::Plu, 1, "", false, '\xE9', true},           // any single-byte character in a name
        {GridKind::Plu, 1, "123456789012", false, 'x', false}, // full name cell
        {GridKind::Plu, 1, "123456789012", true, 'x', true},   // ... unless part is selected
        {GridKind::Plu, 3, "12", false, sep, true},
        {GridKind::Plu, 3, std::string("1") + sep, false, sep, false},
        {GridKind::Plu, 3, "12", false, other, false},
        {GridKind::Plu, 3, "12", false, '-', true},            // minus anywhere, once
        {GridKind::Plu, 3, "-12", false, '-', false},
        {GridKind::Plu, 3, "12", false, 'e', false},
        {GridKind::Plu, 2, "", false, '5', true},
        {GridKind::Plu, 2, "5", false, '5', false},            // Department holds one character
        {GridKind::Plu, 4, "", false, '-', false},             // barcode: digits only
        {GridKind::Dept, 5, "", false, '-', true},
        {GridKind::Recy, 0, "", false, '4', true},
        {GridKind::Recy, 1, "", false, sep, true},
        {GridKind::Recy, 4, "", false, sep, false},            // the totals take digits only
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceptKey(c.Kind, c.Col, c.Text, c.Selection, c.Key), c.Accepted)
            << "col " << c.Col << " text '" << c.Text << "' key '" << c.Key << "'";
}

TEST_P(CommitRule, DefaultsAndResets)
{
    const char sep = GetParam();
    ScopedDecimalSeparator scoped(sep);
    const std::string zero2 = std::string("0") + sep + "00";
    const std::string zero3 = std::string("0") + sep + "000";
    EXPECT_EQ(PluDefaults(), (std::vector<std::string>{"", "", "1", zero2, "0", "0", zero3, zero3, zero2}));
    EXPECT_EQ(DeptDefaults(), (std::vector<std::string>{"", "", "0", "", "0", zero2, zero3, zero2}));
    EXPECT_EQ(RecyDefaults(), (std::vector<std::string>{"", zero2, "0", "", "", "", ""}));

    ItemTables tables;
    ClearGrid(GridKind::Plu, tables.Plu);
    FillSampleData(tables);
    ResetSelection(GridKind::Plu, tables.Plu, {1, 2, 3, 3}); // columns 1..3 of rows 2..3
    for (int row : {2, 3}) {
        EXPECT_EQ(tables.Plu.Cell(1, row), "");
        EXPECT_EQ(tables.Plu.Cell(2, row), "1");
        EXPECT_EQ(tables.Plu.Cell(3, row), zero2);
        EXPECT_EQ(tables.Plu.Cell(4, row), "1234567890" + std::string(row == 2 ? "002" : "003"));
    }
    EXPECT_EQ(tables.Plu.Cell(1, 4), "PLU-4");

    ResetRecyTable(tables.RecyTable);
    EXPECT_EQ(tables.RecyTable[0].PackagePrice, zero2);
}

INSTANTIATE_TEST_SUITE_P(Separators, CommitRule, ::testing::Values('.', ','));

TEST(ItemTables, SampleFill)
{
    ItemTables tables;
    ClearGrid(GridKind::Plu, tables.Plu);
    ClearGrid(GridKind::Dept, tables.Dept);
    FillSampleData(tables);
    EXPECT_EQ(tables.Plu.Cell(1, 7), "PLU-7");
    EXPECT_EQ(tables.Plu.Cell(2, 7), "8");
    EXPECT_EQ(tables.Plu.Cell(2, 8), "1");
    EXPECT_EQ(tables.Plu.Cell(3, 7), "70.00");
    EXPECT_EQ(tables.Plu.Cell(4, 7), "1234567890007");
    EXPECT_EQ(tables.Plu.Cell(4, 1000), "12345678901000"); // 14 characters from row 1000 on
    EXPECT_EQ(tables.Plu.Cell(6, 7), "0.000");              // Stocks untouched
    EXPECT_EQ(tables.Dept.Cell(1, 8), "Deptment-8");
    EXPECT_EQ(tables.Dept.Cell(2, 8), "0");
    EXPECT_EQ(tables.Dept.Cell(3, 8), "9");
    EXPECT_EQ(tables.Dept.Cell(5, 8), "80.00");
    EXPECT_EQ(tables.RecyTable[49].PluNumber, "50");
    EXPECT_EQ(tables.RecyTable[49].PackagePrice, "450.00");
    EXPECT_EQ(tables.RecyTable[49].Barcode, "1234567890050");
    EXPECT_FALSE(tables.Modified);
}

TEST(ItemTables, MovedRowTakesTheNumberOfItsPlace)
{
    CellTable table(kDeptCols, kDeptRows + 1);
    for (int row = 1; row <= kDeptRows; ++row)
        table.SetCell(1, row, "D" + std::to_string(row));
    MoveRow(table, 2, 5);
    std::string order;
    for (int row = 1; row <= kDeptRows; ++row)
        order += table.Cell(1, row) + " ";
    EXPECT_EQ(order, "D1 D3 D4 D5 D2 D6 D7 D8 ");
    MoveRow(table, 5, 1);
    EXPECT_EQ(table.Cell(1, 1), "D2");
    EXPECT_EQ(table.Cell(1, 2), "D1");
    EXPECT_EQ(table.Cell(1, 5), "D5");
}

TEST(ItemTables, RecyclingGridRoundTrip)
{
    std::vector<TRecy> records(kRecyEntries);
    records[0].PluNumber = "3";
    records[0].SoldQuantity = 12;
    records[0].SoldTotal = 24.5;
    CellTable grid = MakeRecyGrid();
    FillRecyGrid(records, grid);
    EXPECT_EQ(grid.Cell(3, 1), "12");
    EXPECT_EQ(grid.Cell(4, 1), "24.50");
    grid.SetCell(3, 1, "x");           // a counter that does not parse
    grid.SetCell(5, 2, "99999999999"); // beyond 32 bits
    grid.SetCell(6, 2, "7");
    StoreRecyGrid(grid, records);
    EXPECT_EQ(records[0].SoldQuantity, 0);
    EXPECT_DOUBLE_EQ(records[0].SoldTotal, 24.5);
    EXPECT_EQ(records[1].ReturnedQuantity, 0);
    EXPECT_DOUBLE_EQ(records[1].ReturnedTotal, 7.0);
}

} // namespace
} // namespace plu
