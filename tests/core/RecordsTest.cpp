// The record forms against fixtures written byte by byte from the layouts.
#include "tests/core/TestFiles.h"
#include "items/CellTable.h"
#include "shell/IniFile.h"
#include "shell/Locale.h"
#include "transfer/DepartmentRecord.h"
#include "transfer/ParameterBlock.h"
#include "transfer/PluRecord.h"
#include "transfer/RecyclingRecord.h"
#include "transfer/TEcrStatus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace plu {
namespace {

using test::Bytes;
using test::B;
using test::operator+;

// The locale's separator in place of every '.'.
std::string L(std::string text)
{
    for (auto& c : text)
        if (c == '.')
            c = DecimalSeparator();
    return text;
}

class Separators : public ::testing::TestWithParam<char> {
protected:
    ScopedDecimalSeparator m_separator{GetParam()};
};
INSTANTIATE_TEST_SUITE_P(Locale, Separators, ::testing::Values('.', ','));

void SetPluRow(CellTable& t, int r, const std::string& name, const std::string& dept, const std::string& price,
               const std::string& barcode, const std::string& flag, const std::string& stocks)
{
    t.SetCell(1, r, name);
    t.SetCell(2, r, dept);
    t.SetCell(3, r, price);
    t.SetCell(4, r, barcode);
    t.SetCell(5, r, flag);
    t.SetCell(6, r, stocks);
}

TEST_P(Separators, ChangedPluEntryWithItsNote)
{
    CellTable table(9, 3001);
    SetPluRow(table, 5, "MILK", "2", L("1.25"), "1234567890", "0", L("0.000"));
    const PluRow newRow = ReadPluRow(table, 5, 2);

    // As the register answered it: MILK, department 2, 1.20, barcode 987654321, flag 1.
    const Bytes readForm = B("MILK        ") + Bytes{0x02, 0x00, 0x00, 0x01, 0x20, 0x00, 0x00, 0x09, 0x87,
                                                     0x65, 0x43, 0x21, 0x01}
                           + Bytes{0x00, 0x00, 0x10, 0x00} + Bytes{0x00, 0x00, 0x00, 0x12, 0x34};
    ASSERT_EQ(readForm.size(), kPluReadSize);
    const PluRow oldRow = DecodePlu(readForm.data(), 5, false);
    EXPECT_DOUBLE_EQ(oldRow.Quantity, 1.0);
    EXPECT_EQ(oldRow.Total, 1234);
    EXPECT_FALSE(SamePlu(newRow, oldRow));

    Bytes entry(125, 0xEE);
    EncodePlu(newRow, false, entry.data());
    PluChangeNote(newRow, oldRow, 2, entry.data() + kPluWriteSize);

    const Bytes expected = Bytes{0x04, 0x00} + B("MILK        ") + Bytes{0x02, 0x00, 0x00, 0x01, 0x25}
                           + Bytes{0x00, 0x00, 0x12, 0x34, 0x56, 0x78, 0x90, 0x00}
                           + B("PC0005---ZMIANA---0001--")
                           + B("MILK        ") + B("1") + B(L("     1.20")) + B(" ") + B("2") + B("0000987654321")
                           + B("MILK        ") + B("0") + B(L("     1.25")) + B(" ") + B("2") + B("0001234567890");
    ASSERT_EQ(expected.size(), 125u);
    EXPECT_EQ(entry, expected);
}

TEST_P(Separators, PluRowsBetweenTableAndRegister)
{
    CellTable table(9, 3001);
    SetPluRow(table, 3000, "ABCDEFGHIJKLMN", "8", L("-1.00"), "12", "1", L("-2.500"));
    const PluRow row = ReadPluRow(table, 3000, 2);
    Bytes out(kPluWriteSizeWithStock);
    EncodePlu(row, true, out.data());
    const Bytes expected = Bytes{0xB7, 0x0B} + B("ABCDEFGHIJKL") + Bytes{0x08, 0xFF, 0x00, 0x00, 0x00}
                           + Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x01, 0x80, 0x00, 0x25, 0x00};
    EXPECT_EQ(out, expected);

    // Texts that are not numbers count as 0; an empty row is a blank PLU.
    SetPluRow(table, 1, "", "x", "y", "", "", "");
    const PluRow blank = ReadPluRow(table, 1, 2);
    EncodePlu(blank, false, out.data());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 27), (Bytes{0x00, 0x00} + B("            ") + Bytes(13, 0x00)));

    // The read form with stock shows in the table's formats.
    const Bytes readForm = B(" TEA  ") + B("      ") + Bytes{0x03, 0x00, 0x01, 0x23, 0x45, 0x00, 0x00, 0x00, 0x00,
                                                            0x00, 0x00, 0x77, 0x01}
                           + Bytes{0x80, 0x00, 0x15, 0x00} + Bytes{0x00, 0x00, 0x25, 0x00}
                           + Bytes{0x00, 0x00, 0x12, 0x34, 0x56};
    ASSERT_EQ(readForm.size(), kPluReadSizeWithStock);
    ShowPluRow(DecodePlu(readForm.data(), 7, true), table, 7, 2);
    const std::vector<std::string> cells = {"TEA", "3", L("123.45"), "77", "1", L("-1.500"), L("2.500"), L("1234.56")};
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(table.Cell(c, 7), cells[static_cast<std::size_t>(c - 1)]) << c;
}

TEST_P(Separators, OverlongNoteValuesKeepTheNoteLayout)
{
    // A 14-digit barcode (the sample fill makes them) and a price of ten characters.
    CellTable table(9, 3001);
    SetPluRow(table, 1000, "LONG", "1", L("-100000.25"), "12345678901234", "1", L("0.000"));
    const PluRow row = ReadPluRow(table, 1000, 2);
    Bytes entry(125, 0xEE);
    EncodePlu(row, false, entry.data());
    EXPECT_EQ(Bytes(entry.begin() + 19, entry.begin() + 26), (Bytes{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}));
    PluChangeNote(row, PluRow{}, 2, entry.data() + 27);
    const std::string note(entry.begin() + 27, entry.end());
    EXPECT_EQ(note.substr(0, 24), "PC1000---ZMIANA---0001--");
    EXPECT_EQ(note.substr(24, 13), std::string(12, ' ') + "0");
    EXPECT_EQ(note.substr(61, 12), "LONG        ");
    EXPECT_EQ(note.substr(73, 1), "1");
    EXPECT_EQ(note.substr(74, 9), L("-100000.2"));
    EXPECT_EQ(note.substr(83, 2), " 1");
    EXPECT_EQ(note.substr(85, 13), "1234567890123");
}

TEST_P(Separators, DepartmentRowsAndNote)
{
    CellTable table(8, 9);
    table.SetCell(1, 3, "BREAD");
    table.SetCell(2, 3, "0");
    table.SetCell(3, 3, "2");
    table.SetCell(4, 3, "0");
    table.SetCell(5, 3, L("2.50"));
    const DepartmentRow newRow = ReadDepartmentRow(table, 3, 2);
    const Bytes readForm = B("BREAD       ") + Bytes{0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x50}
                           + Bytes{0x00, 0x00, 0x50, 0x00} + Bytes{0x00, 0x00, 0x00, 0x99, 0x00};
    ASSERT_EQ(readForm.size(), kDeptReadSize);
    const DepartmentRow oldRow = DecodeDepartment(readForm.data(), 3);
    TEcrStatus status;
    status.DeptCounters[3] = 7;
    const int counter = DepartmentChangeCounter(newRow, oldRow, status);
    EXPECT_EQ(counter, 8);

    Bytes out(kDeptWriteSize + kDeptNoteSize);
    EncodeDepartment(newRow, out.data());
    DepartmentChangeNote(newRow, oldRow, counter, 2, out.data() + kDeptWriteSize);
    const Bytes expected = Bytes{0x02} + B("BREAD       ") + Bytes{0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x50}
                           + B("GRUPA 3--ZMIANA---0008--")
                           + B("BREAD       ") + B("            ") + B(L("     2.50")) + B(" 0A0") + B("           ")
                           + B("BREAD       ") + B("            ") + B(L("     2.50")) + B(" 0B0") + B("           ");
    EXPECT_EQ(out, expected);

    // A price change alone keeps counter 1; an empty row is sent as zero name bytes and tax 10.
    DepartmentRow priceOnly = oldRow;
    priceOnly.Price = 300;
    EXPECT_EQ(DepartmentChangeCounter(priceOnly, oldRow, status), 1);
    const DepartmentRow empty = ReadDepartmentRow(table, 4, 2);
    EncodeDepartment(empty, out.data());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 20), (Bytes{0x03} + Bytes(12, 0) + Bytes{0x00, 0x0A, 0x00, 0, 0, 0, 0}));
    DepartmentChangeNote(empty, empty, 1, 2, out.data());
    EXPECT_EQ(std::string(out.begin() + 24, out.begin() + 36), std::string(12, ' '));
    EXPECT_EQ(out[59], '-');

    // Upload shows tax 10 as an empty cell.
    table.SetCell(3, 4, "5");
    ShowDepartmentRow(empty, table, 4, 2);
    EXPECT_EQ(table.Cell(3, 4), "");
    ShowDepartmentRow(oldRow, table, 3, 2);
    EXPECT_EQ(table.Cell(5, 3), L("2.50"));
    EXPECT_EQ(table.Cell(6, 3), L("5.000"));
    EXPECT_EQ(table.Cell(7, 3), L("99.00"));

    // The counter has four digits: after 9999 comes 0, in the note too.
    status.DeptCounters[3] = 9999;
    EXPECT_EQ(DepartmentChangeCounter(newRow, oldRow, status), 0);
}

TEST_P(Separators, RecyclingImages)
{
    std::vector<TRecy> table(50);
    table[0] = {"3", L("0.50"), "123"};
    table[1] = {"3", L("-0.50"), "456"};   // the later entry for slot 3 wins
    table[2] = {"50", L("1.25"), "abc"};  // a barcode that is not a number goes out as 0
    table[3] = {"51", L("9.99"), "9"};    // not a slot
    table[4] = {"", L("9.99"), "9"};
    const RecyclingWriteImage image = BuildRecyclingImage(table, 2);
    Bytes expected(1150, 0);
    const Bytes slot3 = Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x56, 0xFF, 0x00, 0x00, 0x00};
    std::copy(slot3.begin(), slot3.end(), expected.begin() + 46 + 12);
    const Bytes slot50 = Bytes(7, 0) + Bytes{0x00, 0x00, 0x01, 0x25};
    std::copy(slot50.begin(), slot50.end(), expected.begin() + 1127 + 12);
    EXPECT_EQ(Bytes(image.begin(), image.end()), expected);

    Bytes read(1792, 0);
    const Bytes slot1 = Bytes(12, 0xAA) + Bytes{0, 0, 0, 0, 0, 0x12, 0x34} + Bytes{0x00, 0x00, 0x00, 0x25}
                        + Bytes{0x00, 0x04, 0x00, 0x02} + Bytes(5, 0xAA);
    std::copy(slot1.begin(), slot1.end(), read.begin());
    std::vector<TRecy> uploaded(50);
    uploaded[1].PluNumber = "7";
    ApplyRecyclingImage(read.data(), uploaded, 2);
    EXPECT_EQ(uploaded[0].PluNumber, "1");
    EXPECT_EQ(uploaded[0].Barcode, "1234");
    EXPECT_EQ(uploaded[0].PackagePrice, L("0.25"));
    EXPECT_EQ(uploaded[0].SoldQuantity, 4);
    EXPECT_DOUBLE_EQ(uploaded[0].SoldTotal, 1.0);
    EXPECT_EQ(uploaded[0].ReturnedQuantity, 2);
    EXPECT_DOUBLE_EQ(uploaded[0].ReturnedTotal, 0.5);
    EXPECT_EQ(uploaded[1].PluNumber, "2");
    EXPECT_EQ(uploaded[49].PluNumber, "50");
}

ParameterSettings SampleParameters(int taxFree)
{
    ParameterSettings s;
    s.DecRate = L("5.00");
    s.IncRate = L("12.50");
    s.Header = {"SHOP", "ABCDEFGHIJKLMNOPQRSTUVWX", "", "", "LAST LINE IS CUT HERE....X"};
    s.ClerkName = {"ANNA", "BOGDAN1234XYZ", "", "C"};
    s.PrintDensity = 5;
    s.PaperType = 1;
    s.BCode = {3, 0, 0, 0, 0, 0, 0, 0, 0, 36};
    s.Vat = {L("23.00"), L("8.00"), L("5.00"), "", L("99.99"), L("1.00"), L("2.00"), L("3.00"), L("4.00")};
    s.TaxFree = taxFree;
    return s;
}

Bytes ParameterHead()
{
    Bytes b = Bytes{0x05, 0x00, 0x12, 0x50, 0x00};
    b = b + B("SHOP") + Bytes(20, 0) + B("ABCDEFGHIJKLMNOPQRSTUVWX") + Bytes(48, 0) + B("LAST LINE IS CUT HERE...");
    b = b + B("ANNA") + Bytes(6, 0) + B("BOGDAN1234") + Bytes(10, 0) + B("C") + Bytes(9, 0);
    b = b + Bytes{3, 0, 0, 0, 0, 0, 0, 0, 0, 36} + Bytes{5, 1};
    return b;
}

TEST_P(Separators, ParameterBlockWithTaxFreeI)
{
    const auto block = BuildParameterBlock(SampleParameters(8));
    const Bytes expected = ParameterHead() + Bytes{9}
                           + Bytes{0x23, 0x00, 0x08, 0x00, 0x05, 0x00, 0x00, 0x00, 0x99, 0x99, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00}
                           + Bytes(62, 0);
    ASSERT_EQ(expected.size(), 256u);
    EXPECT_EQ(Bytes(block.begin(), block.end()), expected);
}

TEST_P(Separators, ParameterBlockWithTaxFreeA)
{
    const auto block = BuildParameterBlock(SampleParameters(0));
    const Bytes expected = ParameterHead() + Bytes{1}
                           + Bytes{0x08, 0x00, 0x05, 0x00, 0x00, 0x00, 0x99, 0x99, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00}
                           + Bytes(62, 0);
    EXPECT_EQ(Bytes(block.begin(), block.end()), expected);

    // A tax-free number out of range still leaves the reserved bytes zero.
    const auto odd = BuildParameterBlock(SampleParameters(12));
    EXPECT_EQ(Bytes(odd.begin() + 194, odd.end()), Bytes(62, 0));
}

TEST_P(Separators, ParametersBetweenConfigAndDialog)
{
    const auto dir = std::filesystem::temp_directory_path() / ("plum_param_" + std::to_string(::getpid()) + GetParam());
    std::filesystem::create_directories(dir);
    IniFile cfg(dir / "SYSTEM.CFG");
    const ParameterSettings defaults = LoadParameters(cfg);
    EXPECT_EQ(defaults.DecRate, L("00.00"));
    EXPECT_EQ(defaults.Vat[8], L("00.00"));
    EXPECT_EQ(defaults.PrintDensity, 1);
    EXPECT_EQ(defaults.TaxFree, 8);
    EXPECT_EQ(RateEditMask(), L("!99.99;1;0"));

    const ParameterSettings sample = SampleParameters(2);
    ASSERT_TRUE(SaveParameters(cfg, sample));
    const ParameterSettings loaded = LoadParameters(cfg);
    EXPECT_EQ(loaded.Header, sample.Header);
    EXPECT_EQ(loaded.ClerkName, sample.ClerkName);
    EXPECT_EQ(loaded.IncRate, sample.IncRate);
    EXPECT_EQ(loaded.Vat, sample.Vat);
    EXPECT_EQ(loaded.BCode, sample.BCode);
    EXPECT_EQ(loaded.TaxFree, 2);
    EXPECT_EQ(cfg.ReadString("Default", "VAT1", ""), L("23.00"));
    EXPECT_EQ(cfg.ReadString("default", "-% RATE", ""), L("5.00"));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace plu
