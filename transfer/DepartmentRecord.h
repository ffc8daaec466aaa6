#pragma once
// A department between its table row, its native form and its two link forms.
//
// Write form, 20 bytes: 0 number - 1, 1 name (12), 13 limitation, 14 tax,
//   15 flag, 16 price (8 digits, FF 00 00 00 when negative).
// Read form, 28 bytes: 0 name, 12 limitation, 13 tax, 14 flag, 15 price,
//   19 quantity (8 digits, thousandths), 23 total (10 digits, scaled money).
// Change note, 120 bytes, five lines of 24: "GRUPA %d--ZMIANA---%4.4d--" with the
//   department and its change counter, then old and new name, price, limitation,
//   tax letter ('-' for none) and flag.
#include <array>
#include <cstddef>
#include <cstdint>

namespace plu {

class CellTable;
struct TEcrStatus;

inline constexpr std::size_t kDeptWriteSize = 20;
inline constexpr std::size_t kDeptReadSize = 28;
inline constexpr std::size_t kDeptNoteSize = 120;

enum DeptColumn { kDeptColNo, kDeptColName, kDeptColLimitation, kDeptColTax, kDeptColFlag,
                  kDeptColPrice, kDeptColQuantity, kDeptColTotal };

struct DepartmentRow {
    std::int32_t Number = 0;
    std::array<std::uint8_t, 12> Name{};   // all zero for a department without a name
    std::int32_t Limitation = 0;
    std::int32_t Tax = 0;                  // 1..9 (A..I), 10 for none
    std::int32_t Flag = 0;
    std::int32_t Price = 0;                // scaled money
    double Quantity = 0;
    std::int64_t Total = 0;                // scaled money, 10 digits
};

// Row d of the department table. An empty name gives a row of zeros with tax 10;
// otherwise a tax that is not a number gives 10 and other non-numbers 0.
DepartmentRow ReadDepartmentRow(const CellTable& table, int d, int decimals);
// Columns 1 to 7 of row d; tax 10 shows as an empty cell.
void ShowDepartmentRow(const DepartmentRow& row, CellTable& table, int d, int decimals);

void EncodeDepartment(const DepartmentRow& row, std::uint8_t* out);
DepartmentRow DecodeDepartment(const std::uint8_t* bytes, int number);
// Name bytes, limitation, tax, flag and price equal.
bool SameDepartment(const DepartmentRow& a, const DepartmentRow& b);

// 1 when the tax stays, otherwise the register's counter for the department plus 1.
int DepartmentChangeCounter(const DepartmentRow& newRow, const DepartmentRow& oldRow, const TEcrStatus& status);
void DepartmentChangeNote(const DepartmentRow& newRow, const DepartmentRow& oldRow, int counter, int decimals,
                          std::uint8_t* out);

} // namespace plu
