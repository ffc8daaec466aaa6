#include "items/ItemChecks.h"
#include "items/ItemColumns.h"
#include "items/ItemTableOps.h"
#include "tests/core/TestUserInterface.h"

#include <gtest/gtest.h>

#include <random>

namespace plu {
namespace {

// Questions nobody scripted are cancelled.
struct RecordingUi : test::TestUserInterface {
    RecordingUi() { NextAnswer = Answer::Cancel; }
};

// The comparison of every pair the check stands for.
std::optional<std::pair<int, int>> QuadraticRepeat(const CellTable& t, int first, int last)
{
    for (int i = first; i <= last; ++i) {
        if (t.Cell(1, i).empty())
            continue;
        for (int j = i + 1; j <= last; ++j)
            if (t.Cell(1, i) == t.Cell(1, j))
                return std::pair{i, j};
    }
    return std::nullopt;
}

TEST(ItemChecks, PluNamesReportTheFirstPairInRange)
{
    CellTable plu(kPluCols, kPluRows + 1);
    plu.SetCell(1, 7, "Bread");
    plu.SetCell(1, 12, "Bread");
    plu.SetCell(1, 3, "bread"); // comparison is case-sensitive
    RecordingUi ui;
    EXPECT_FALSE(CheckPluNames(plu, 1, kPluRows, ui));
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0], "PLU name repeat: No. 7 and No. 12");
    EXPECT_EQ(ui.Kinds[0], MessageKind::Information);
    EXPECT_EQ(ui.BusyDepth, 0);
    EXPECT_TRUE(CheckPluNames(plu, 1, 11, ui));  // row 12 outside the range
    EXPECT_TRUE(CheckPluNames(plu, 8, 3000, ui));
    EXPECT_EQ(ui.Messages.size(), 1u);
}

TEST(ItemChecks, LinearSearchFindsTheSamePairAsEveryPairComparison)
{
    // A later name repeating first must not win over an earlier name repeating later.
    CellTable plu(kPluCols, kPluRows + 1);
    plu.SetCell(1, 1, "A");
    plu.SetCell(1, 2, "B");
    plu.SetCell(1, 3, "B");
    plu.SetCell(1, 4, "A");
    plu.SetCell(1, 5, "A");
    EXPECT_EQ(FindNameRepeat(plu, 1, 1, kPluRows), (std::pair{1, 4}));
    EXPECT_EQ(FindNameRepeat(plu, 1, 2, kPluRows), (std::pair{2, 3}));

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        CellTable t(kPluCols, 61);
        for (int row = 1; row <= 60; ++row) {
            int n = static_cast<int>(random() % 90);
            t.SetCell(1, row, n < 30 ? "" : "N" + std::to_string(n));
        }
        int first = 1 + static_cast<int>(random() % 30);
        int last = first + static_cast<int>(random() % (61 - first));
        ASSERT_EQ(FindNameRepeat(t, 1, first, last), QuadraticRepeat(t, first, last)) << "round " << round;
    }
}

TEST(ItemChecks, DepartmentNamesAndTaxes)
{
    CellTable dept(kDeptCols, kDeptRows + 1);
    ClearGrid(GridKind::Dept, dept);
    RecordingUi ui;
    EXPECT_TRUE(CheckDeptNames(dept, ui)) << "empty names never collide";
    dept.SetCell(1, 2, "Food");
    dept.SetCell(1, 6, "Food");
    EXPECT_FALSE(CheckDeptNames(dept, ui));
    EXPECT_EQ(ui.Messages.back(), "Dept name repeat: No. 2 and No. 6");

    std::array<bool, 10> inUse{};
    inUse[1] = inUse[2] = true;
    dept.SetCell(1, 6, "Drinks");
    dept.SetCell(3, 2, "1");
    dept.SetCell(3, 5, "4"); // no name: skipped
    EXPECT_TRUE(CheckDeptTaxes(dept, inUse, ui));
    dept.SetCell(1, 3, "Toys");
    dept.SetCell(3, 3, "4");
    EXPECT_FALSE(CheckDeptTaxes(dept, inUse, ui));
    EXPECT_EQ(ui.Messages.back(), "Invalid tax: 4 at No.3");
    // Texts from a file that are no rate at all fail the same way instead of
    // indexing past the nine flags.
    dept.SetCell(3, 3, "12");
    EXPECT_FALSE(CheckDeptTaxes(dept, inUse, ui));
    EXPECT_EQ(ui.Messages.back(), "Invalid tax: 12 at No.3");
    dept.SetCell(3, 3, "x");
    EXPECT_FALSE(CheckDeptTaxes(dept, inUse, ui));
    EXPECT_EQ(ui.Messages.back(), "Invalid tax: x at No.3");
    dept.SetCell(3, 3, "");
    EXPECT_TRUE(CheckDeptTaxes(dept, inUse, ui));
}

} // namespace
} // namespace plu
