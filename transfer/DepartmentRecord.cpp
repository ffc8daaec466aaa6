#include "transfer/DepartmentRecord.h"

#include "items/CellTable.h"
#include "shell/Locale.h"
#include "transfer/PackedFields.h"
#include "transfer/TEcrStatus.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace plu {
namespace {

std::uint8_t SmallNumber(std::int64_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

char TaxLetter(std::int32_t tax) { return tax == kNoTax ? '-' : static_cast<char>('A' + tax - 1); }

// One half of the note: name, 12 spaces, price, space, limitation, tax, flag, 11 spaces (48 bytes).
void NoteValues(const DepartmentRow& row, int decimals, std::uint8_t* out)
{
    if (row.Name[0] == 0)
        std::memset(out, ' ', 12);
    else
        std::memcpy(out, row.Name.data(), 12);
    std::memset(out + 12, ' ', 12);
    PutField(RightAligned(FormatFixed(FromScaled(row.Price, decimals), 2), 9), 9, out + 24);
    out[33] = ' ';
    out[34] = static_cast<std::uint8_t>('0' + row.Limitation);
    out[35] = static_cast<std::uint8_t>(TaxLetter(row.Tax));
    out[36] = static_cast<std::uint8_t>('0' + row.Flag);
    std::memset(out + 37, ' ', 11);
}

} // namespace

DepartmentRow ReadDepartmentRow(const CellTable& table, int d, int decimals)
{
    DepartmentRow row;
    row.Number = d;
    const std::string& name = table.Cell(kDeptColName, d);
    if (name.empty()) {
        row.Tax = kNoTax;
        return row;
    }
    PackName(name, row.Name.data());
    row.Limitation = static_cast<std::int32_t>(TextToInt(table.Cell(kDeptColLimitation, d), 0));
    row.Tax = static_cast<std::int32_t>(TextToInt(table.Cell(kDeptColTax, d), kNoTax));
    row.Flag = static_cast<std::int32_t>(TextToInt(table.Cell(kDeptColFlag, d), 0));
    row.Price = ToScaled(TextToReal(table.Cell(kDeptColPrice, d), 0), decimals);
    return row;
}

void ShowDepartmentRow(const DepartmentRow& row, CellTable& table, int d, int decimals)
{
    table.SetCell(kDeptColName, d, NameText(row.Name.data()));
    table.SetCell(kDeptColLimitation, d, std::to_string(row.Limitation));
    table.SetCell(kDeptColTax, d, row.Tax == kNoTax ? std::string() : std::to_string(row.Tax));
    table.SetCell(kDeptColFlag, d, std::to_string(row.Flag));
    table.SetCell(kDeptColPrice, d, FormatFixed(FromScaled(row.Price, decimals), 2));
    table.SetCell(kDeptColQuantity, d, FormatFixed(row.Quantity, 3));
    table.SetCell(kDeptColTotal, d, FormatFixed(FromScaled(row.Total, decimals), 2));
}

void EncodeDepartment(const DepartmentRow& row, std::uint8_t* out)
{
    out[0] = SmallNumber(row.Number - 1);
    std::memcpy(out + 1, row.Name.data(), kNameSize);
    out[13] = SmallNumber(row.Limitation);
    out[14] = SmallNumber(row.Tax);
    out[15] = SmallNumber(row.Flag);
    PackMoney(row.Price, out + 16);
}

DepartmentRow DecodeDepartment(const std::uint8_t* bytes, int number)
{
    DepartmentRow row;
    row.Number = number;
    std::memcpy(row.Name.data(), bytes, kNameSize);
    row.Limitation = bytes[12];
    row.Tax = bytes[13];
    row.Flag = bytes[14];
    row.Price = static_cast<std::int32_t>(UnpackBcd(bytes + 15, 8));
    row.Quantity = static_cast<double>(UnpackBcd(bytes + 19, 8)) / 1000.0;
    row.Total = static_cast<std::int64_t>(UnpackBcd(bytes + 23, 10));
    return row;
}

bool SameDepartment(const DepartmentRow& a, const DepartmentRow& b)
{
    return a.Name == b.Name && a.Limitation == b.Limitation && a.Tax == b.Tax && a.Flag == b.Flag &&
           a.Price == b.Price;
}

int DepartmentChangeCounter(const DepartmentRow& newRow, const DepartmentRow& oldRow, const TEcrStatus& status)
{
    if (newRow.Tax == oldRow.Tax)
        return 1;
    const int d = newRow.Number;
    const int current = d >= 1 && d <= 8 ? status.DeptCounters[static_cast<std::size_t>(d)] : 0;
    // The counter has four digits; after 9999 it starts again at 0, in the packed
    // form and in the note alike.
    return (current + 1) % 10000;
}

void DepartmentChangeNote(const DepartmentRow& newRow, const DepartmentRow& oldRow, int counter, int decimals,
                          std::uint8_t* out)
{
    char title[48];
    std::snprintf(title, sizeof title, "GRUPA %d--ZMIANA---%4.4d--", static_cast<int>(newRow.Number),
                  counter % 10000);
    PutField(title, 24, out);
    NoteValues(oldRow, decimals, out + 24);
    NoteValues(newRow, decimals, out + 72);
}

} // namespace plu
