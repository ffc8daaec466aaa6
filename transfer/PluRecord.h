#pragma once
// A PLU between its table row, its native form and its two link forms.
//
// Write form (PC to register), 27 bytes, 31 with stock:
//   0 number - 1 (16-bit, low byte first), 2 name (12), 14 department, 15 price
//   (8 digits, FF 00 00 00 when negative), 19 barcode (13 digits), 26 flag,
//   27 stock (signed thousandths, only when the register's PLUs carry stock).
// Read form (register to PC), 34 bytes, 38 with stock:
//   0 name, 12 department, 13 price, 17 barcode, 24 flag, [25 stock],
//   25/29 quantity (8 digits, thousandths), 29/33 total (10 digits, scaled money).
// Change note, 98 bytes: "PC%4.4d---ZMIANA---0001--", then the old values
//   (name, flag, "%9.2f" price, space, department, "%13.13d" barcode) and the new ones.
#include <array>
#include <cstddef>
#include <cstdint>

namespace plu {

class CellTable;

inline constexpr std::size_t kPluWriteSize = 27;
inline constexpr std::size_t kPluWriteSizeWithStock = 31;
inline constexpr std::size_t kPluReadSize = 34;
inline constexpr std::size_t kPluReadSizeWithStock = 38;
inline constexpr std::size_t kPluNoteSize = 98;

// PLU table columns.
enum PluColumn { kPluColNo, kPluColName, kPluColDepartment, kPluColPrice, kPluColBarcode,
                 kPluColFlag, kPluColStocks, kPluColQuantity, kPluColTotal };

struct PluRow {
    std::int32_t Number = 0;
    std::array<std::uint8_t, 12> Name{};
    std::int32_t Department = 0;
    std::int32_t Price = 0;        // scaled money
    std::int64_t Barcode = 0;
    std::int32_t Flag = 0;
    double Stocks = 0;
    double Quantity = 0;           // only ever filled from the register
    std::int64_t Total = 0;        // scaled money, 10 digits; only ever filled from the register
};

// Row r of the PLU table; texts that are not numbers count as 0.
PluRow ReadPluRow(const CellTable& table, int r, int decimals);
// Columns 1 to 8 of row r (the PLU table or the PLU report grid).
void ShowPluRow(const PluRow& row, CellTable& table, int r, int decimals);

// Writes the write form; the stock field exactly when withStock.
void EncodePlu(const PluRow& row, bool withStock, std::uint8_t* out);
// Reads the read form; number comes from the request that fetched it.
PluRow DecodePlu(const std::uint8_t* bytes, int number, bool withStock);
// Name bytes, department, price, barcode and flag equal.
bool SamePlu(const PluRow& a, const PluRow& b);
// The 98-byte change note of a PLU going from oldRow (the register's) to newRow (the table's).
void PluChangeNote(const PluRow& newRow, const PluRow& oldRow, int decimals, std::uint8_t* out);

} // namespace plu
