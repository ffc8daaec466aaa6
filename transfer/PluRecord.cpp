#include "transfer/PluRecord.h"

#include "items/CellTable.h"
#include "shell/Locale.h"
#include "transfer/PackedFields.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace plu {
namespace {

std::uint8_t SmallNumber(std::int64_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// A barcode below zero cannot be packed; it goes out as 0.
std::uint64_t BarcodeDigits(std::int64_t barcode) { return barcode < 0 ? 0 : static_cast<std::uint64_t>(barcode); }

std::string Barcode13(std::int64_t barcode)
{
    char text[32];
    std::snprintf(text, sizeof text, "%13.13lld", static_cast<long long>(BarcodeDigits(barcode)));
    return text;
}

std::string NoteName(const std::array<std::uint8_t, 12>& name)
{
    if (name[0] == 0)
        return std::string(kNameSize, ' ');
    return std::string(reinterpret_cast<const char*>(name.data()), kNameSize);
}

// One half of the note: name, flag, price, space, department, barcode (61 bytes).
void NoteValues(const PluRow& row, int decimals, std::uint8_t* out)
{
    PutField(NoteName(row.Name), 12, out);
    out[12] = static_cast<std::uint8_t>('0' + row.Flag);
    PutField(RightAligned(FormatFixed(FromScaled(row.Price, decimals), 2), 9), 9, out + 13);
    out[22] = ' ';
    out[23] = static_cast<std::uint8_t>('0' + row.Department);
    PutField(Barcode13(row.Barcode), 13, out + 24);
}

} // namespace

PluRow ReadPluRow(const CellTable& table, int r, int decimals)
{
    PluRow row;
    row.Number = r;
    PackName(table.Cell(kPluColName, r), row.Name.data());
    row.Department = static_cast<std::int32_t>(TextToInt(table.Cell(kPluColDepartment, r), 0));
    row.Price = ToScaled(TextToReal(table.Cell(kPluColPrice, r), 0), decimals);
    row.Barcode = TextToInt(table.Cell(kPluColBarcode, r), 0);
    row.Flag = static_cast<std::int32_t>(TextToInt(table.Cell(kPluColFlag, r), 0));
    row.Stocks = TextToReal(table.Cell(kPluColStocks, r), 0);
    return row;
}

void ShowPluRow(const PluRow& row, CellTable& table, int r, int decimals)
{
    table.SetCell(kPluColName, r, NameText(row.Name.data()));
    table.SetCell(kPluColDepartment, r, std::to_string(row.Department));
    table.SetCell(kPluColPrice, r, FormatFixed(FromScaled(row.Price, decimals), 2));
    table.SetCell(kPluColBarcode, r, std::to_string(row.Barcode));
    table.SetCell(kPluColFlag, r, std::to_string(row.Flag));
    table.SetCell(kPluColStocks, r, FormatFixed(row.Stocks, 3));
    table.SetCell(kPluColQuantity, r, FormatFixed(row.Quantity, 3));
    table.SetCell(kPluColTotal, r, FormatFixed(FromScaled(row.Total, decimals), 2));
}

void EncodePlu(const PluRow& row, bool withStock, std::uint8_t* out)
{
    const auto number = static_cast<std::uint16_t>(row.Number - 1);
    out[0] = static_cast<std::uint8_t>(number & 0xFF);
    out[1] = static_cast<std::uint8_t>(number >> 8);
    std::memcpy(out + 2, row.Name.data(), kNameSize);
    out[14] = SmallNumber(row.Department);
    PackMoney(row.Price, out + 15);
    PackBcd(BarcodeDigits(row.Barcode), 13, out + 19);
    out[26] = SmallNumber(row.Flag);
    if (withStock)
        PackSignedThousandths(row.Stocks, out + 27);
}

PluRow DecodePlu(const std::uint8_t* bytes, int number, bool withStock)
{
    PluRow row;
    row.Number = number;
    std::memcpy(row.Name.data(), bytes, kNameSize);
    row.Department = bytes[12];
    row.Price = static_cast<std::int32_t>(UnpackBcd(bytes + 13, 8));
    row.Barcode = static_cast<std::int64_t>(UnpackBcd(bytes + 17, 13));
    row.Flag = bytes[24];
    std::size_t at = 25;
    if (withStock) {
        row.Stocks = UnpackSignedThousandths(bytes + 25);
        at = 29;
    }
    row.Quantity = static_cast<double>(UnpackBcd(bytes + at, 8)) / 1000.0;
    row.Total = static_cast<std::int64_t>(UnpackBcd(bytes + at + 4, 10));
    return row;
}

bool SamePlu(const PluRow& a, const PluRow& b)
{
    return a.Name == b.Name && a.Department == b.Department && a.Price == b.Price && a.Barcode == b.Barcode &&
           a.Flag == b.Flag;
}

void PluChangeNote(const PluRow& newRow, const PluRow& oldRow, int decimals, std::uint8_t* out)
{
    char title[32];
    std::snprintf(title, sizeof title, "PC%4.4d---ZMIANA---0001--", static_cast<int>(newRow.Number));
    PutField(title, 24, out);
    NoteValues(oldRow, decimals, out + 24);
    NoteValues(newRow, decimals, out + 61);
}

} // namespace plu
