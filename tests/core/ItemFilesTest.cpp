#include "tests/core/TestFiles.h"
#include "items/ItemColumns.h"
#include "items/ItemFiles.h"
#include "items/ItemTableOps.h"
#include "shell/Locale.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace plu {
namespace {

using test::ReadFile;
using test::WriteFile;

namespace fs = std::filesystem;

ItemTables DefaultTables()
{
    ItemTables tables;
    ClearGrid(GridKind::Plu, tables.Plu);
    ClearGrid(GridKind::Dept, tables.Dept);
    ResetRecyTable(tables.RecyTable);
    return tables;
}

class ItemFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("itemfiles-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST(ItemFileFormat, SplitFields)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitFields("a\tb", '\t'), (V{"a", "b"}));
    EXPECT_EQ(SplitFields("a\t\tb", '\t'), (V{"a", "", "b"}));
    EXPECT_EQ(SplitFields("a\t", '\t'), (V{"a", ""}));
    EXPECT_EQ(SplitFields("a", '\t'), (V{"a"}));
    EXPECT_EQ(SplitFields("", '\t'), (V{""}));
}

TEST(ItemFileFormat, FileSetNames)
{
    EXPECT_EQ(DeptFilePath("/d/SHOP.PLU"), fs::path("/d/SHOP.DEP"));
    EXPECT_EQ(RecyFilePath("/d/SHOP.PLU"), fs::path("/d/SHOP.RCY"));
    EXPECT_EQ(DeptFilePath("/d/SHOP"), fs::path("/d/SHOP.DEP"));
    EXPECT_EQ(RecyFilePath("/d.x/SHOP"), fs::path("/d.x/SHOP.RCY"));
}

TEST(ItemFileFormat, LayoutOfTheThreeFiles)
{
    ItemTables tables = DefaultTables();
    tables.Plu.SetCell(1, 1, "Milk");
    tables.Plu.SetCell(1, 2, "Bread");
    tables.Plu.SetCell(3, 2, "1.50");
    tables.Plu.SetCell(1, 5, "Ta\tb"); // a TAB inside a name must not split the record
    EXPECT_EQ(FormatGridFile(tables.Plu),
              "Milk\t1\t0.00\t0\t0\t0.000\t0.000\t0.00\r\n"
              "Bread\t1\t1.50\t0\t0\t0.000\t0.000\t0.00\r\n"
              "Ta b\t1\t0.00\t0\t0\t0.000\t0.000\t0.00\r\n");
    EXPECT_EQ(FormatGridFile(tables.Dept), "") << "no department named";
    for (int row = 1; row <= kDeptRows; ++row)
        tables.Dept.SetCell(1, row, "D" + std::to_string(row));
    const std::string dept = FormatGridFile(tables.Dept);
    EXPECT_EQ(std::count(dept.begin(), dept.end(), '\n'), 8);

    const std::string recy = FormatRecyFile(tables.RecyTable);
    EXPECT_EQ(std::count(recy.begin(), recy.end(), '\n'), 50);
    EXPECT_EQ(recy.substr(0, recy.find('\n') + 1), "\t0.00\t0\t0\t0.00\t0\t0.00\r\n");
}

TEST_F(ItemFiles, RoundTripCompactsUnderBothSeparators)
{
    for (char sep : {'.', ','}) {
        ScopedDecimalSeparator scoped(sep);
        ItemTables tables = DefaultTables();
        FillSampleData(tables);
        for (int row = 1; row <= kPluRows; ++row)
            if (row != 1 && row != 2 && row != 5)
                tables.Plu.SetCell(1, row, "");
        tables.Plu.SetCell(6, 5, FormatFixed(-12.5, 3));
        tables.Dept.SetCell(1, 4, "");
        tables.RecyTable[3].SoldQuantity = -7;
        tables.RecyTable[3].ReturnedTotal = 1.25;
        const fs::path path = m_dir / "SHOP.PLU";
        std::string error;
        ASSERT_TRUE(WriteItemFileSet(tables, path, error)) << error;
        const std::string written = ReadFile(path);
        EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);

        ItemTables loaded = DefaultTables();
        ASSERT_TRUE(ReadItemFileSet(loaded, path, error)) << error;
        EXPECT_EQ(loaded.Plu.Cell(1, 3), "PLU-5");
        EXPECT_EQ(loaded.Plu.Cell(3, 3), FormatFixed(50, 2));
        EXPECT_EQ(loaded.Plu.Cell(6, 3), FormatFixed(-12.5, 3));
        EXPECT_EQ(loaded.Plu.Cell(1, 4), "");
        EXPECT_EQ(loaded.Plu.Cell(2, 4), "1");
        EXPECT_EQ(loaded.Dept.Cell(1, 4), "Deptment-5");
        EXPECT_EQ(loaded.Dept.Cell(1, 8), "");
        EXPECT_EQ(loaded.RecyTable[3].PluNumber, "4");
        EXPECT_EQ(loaded.RecyTable[3].SoldQuantity, -7);
        EXPECT_DOUBLE_EQ(loaded.RecyTable[3].ReturnedTotal, 1.25);
        EXPECT_EQ(loaded.RecyTable[49].PackagePrice, FormatFixed(450, 2));
    }
}

TEST_F(ItemFiles, MalformedContentLoadsWhatItCan)
{
    std::string plu = "OnlyName\r\n"
                      "Short\t3\r\n"
                      "Long\t2\t1.00\t5\t0\t0.000\t0.000\t0.00\textra\tmore\n" // LF alone ends a line too
                      "\r\n"                                                     // an empty line uses a row
                      "Bin\x01\xff";
    plu += std::string("\0z\t4\0\0", 6); // unended, with binary bytes
    WriteFile(m_dir / "A.PLU", plu);
    std::string recy = "1\t2\r\n"                    // two fields: skipped
                       "7\t1.50\t99\r\n"             // three fields: numbers untouched
                       "8\t2.00\t98\tx\ty\t3\t4.5\r\n";
    WriteFile(m_dir / "A.RCY", recy);

    ItemTables tables = DefaultTables();
    tables.RecyTable[1].SoldQuantity = 42;
    std::string error;
    ASSERT_TRUE(ReadItemFileSet(tables, m_dir / "A.PLU", error)) << error << " (no .DEP is not an error)";
    EXPECT_EQ(tables.Plu.Cell(1, 1), "OnlyName");
    EXPECT_EQ(tables.Plu.Cell(2, 1), "1");
    EXPECT_EQ(tables.Plu.Cell(3, 1), "0.00");
    EXPECT_EQ(tables.Plu.Cell(2, 2), "3");
    EXPECT_EQ(tables.Plu.Cell(8, 3), "0.00") << "fields beyond the last column are ignored";
    EXPECT_EQ(tables.Plu.Cell(1, 4), "");
    EXPECT_EQ(tables.Plu.Cell(1, 5), std::string("Bin\x01\xff\0z", 7));
    EXPECT_EQ(tables.Plu.Cell(2, 5), std::string("4\0\0", 3));
    EXPECT_EQ(tables.Plu.Cell(1, 6), "");
    EXPECT_EQ(tables.Dept.Cell(2, 1), "0");
    EXPECT_EQ(tables.RecyTable[0].PluNumber, "7");
    EXPECT_EQ(tables.RecyTable[0].Barcode, "99");
    EXPECT_EQ(tables.RecyTable[1].PluNumber, "8");
    EXPECT_EQ(tables.RecyTable[1].SoldQuantity, 0);
    EXPECT_DOUBLE_EQ(tables.RecyTable[1].SoldTotal, 0.0);
    EXPECT_EQ(tables.RecyTable[1].ReturnedQuantity, 3);
    EXPECT_DOUBLE_EQ(tables.RecyTable[1].ReturnedTotal, 4.5);
    EXPECT_EQ(tables.RecyTable[2].PluNumber, "");
}

TEST_F(ItemFiles, LinesBeyondTheTableAreNotRead)
{
    std::string plu, rcy;
    for (int i = 1; i <= 3500; ++i)
        plu += "P" + std::to_string(i) + "\r\n";
    for (int i = 1; i <= 80; ++i)
        rcy += std::to_string(i) + "\t1\t2\r\n";
    WriteFile(m_dir / "B", plu);
    WriteFile(m_dir / "B.DEP", plu);
    WriteFile(m_dir / "B.RCY", rcy);
    ItemTables tables = DefaultTables();
    std::string error;
    ASSERT_TRUE(ReadItemFileSet(tables, m_dir / "B", error)) << error;
    EXPECT_EQ(tables.Plu.Cell(1, 3000), "P3000");
    EXPECT_EQ(tables.Dept.Cell(1, 8), "P8");
    EXPECT_EQ(tables.RecyTable[49].PluNumber, "50");

    // Random bytes never crash the reader.
    std::mt19937 random(1);
    for (int round = 0; round < 20; ++round) {
        std::string junk(20000, '\0');
        for (char& c : junk)
            c = static_cast<char>(random());
        WriteFile(m_dir / "C.PLU", junk);
        WriteFile(m_dir / "C.RCY", junk);
        ItemTables t = DefaultTables();
        ASSERT_TRUE(ReadItemFileSet(t, m_dir / "C.PLU", error));
    }
}

TEST_F(ItemFiles, ErrorsNameTheFileAndKeepTheOldOne)
{
    ItemTables tables = DefaultTables();
    std::string error;
    EXPECT_FALSE(ReadItemFileSet(tables, m_dir / "missing.PLU", error));
    EXPECT_NE(error.find("missing.PLU"), std::string::npos);
    EXPECT_NE(error.find("No such file"), std::string::npos);

    fs::create_directory(m_dir / "D.DEP"); // a department "file" that cannot be read
    WriteFile(m_dir / "D.PLU", "x\r\n");
    EXPECT_FALSE(ReadItemFileSet(tables, m_dir / "D.PLU", error));
    EXPECT_NE(error.find("D.DEP"), std::string::npos) << error;

    if (::geteuid() != 0) { // root writes anywhere
        WriteFile(m_dir / "E.PLU", "old\r\n");
        ::chmod(m_dir.c_str(), 0555);
        tables.Plu.SetCell(1, 1, "new");
        EXPECT_FALSE(WriteItemFileSet(tables, m_dir / "E.PLU", error));
        ::chmod(m_dir.c_str(), 0755);
        EXPECT_NE(error.find("E.PLU: Permission denied"), std::string::npos) << error;
        EXPECT_EQ(ReadFile(m_dir / "E.PLU"), "old\r\n");
    }
    // The department file's name is taken by a directory: the PLU file is written, the rest stop.
    tables.Plu.SetCell(1, 1, "new");
    EXPECT_FALSE(WriteItemFileSet(tables, m_dir / "D.PLU", error));
    EXPECT_NE(error.find("D.DEP"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(m_dir / "D.PLU").substr(0, 4), "new\t");
    EXPECT_FALSE(fs::exists(m_dir / "D.RCY"));
}

TEST_F(ItemFiles, KillingASaveNeverLeavesAShorterFile)
{
    ItemTables tables = DefaultTables();
    FillSampleData(tables);
    const fs::path path = m_dir / "BIG.PLU";
    std::string error;
    ASSERT_TRUE(WriteItemFileSet(tables, path, error)) << error;
    const std::string before = ReadFile(path);
    ASSERT_GT(before.size(), 100000u);

    std::mt19937 random(3);
    for (int round = 0; round < 8; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string childError;
            for (;;)
                WriteItemFileSet(tables, path, childError);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_EQ(ReadFile(path), before) << "round " << round;
    }
}

} // namespace
} // namespace plu
