#pragma once
// The 50 recycling slots on the link, always moved whole.
//
// Write image: 50 records of 23 bytes (12 zero, 7 barcode of 13 digits, 4 price
//   of 8 digits or FF 00 00 00 when negative), sent as five blocks of ten.
// Read image: seven 256-byte answers laid end to end; slot s at 32 (s - 1):
//   12 unused, 7 barcode, 4 price, 2 sold quantity, 2 returned quantity (4 digits each).
#include "items/CellTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace plu {

inline constexpr std::size_t kRecyWriteSize = 23;
inline constexpr std::size_t kRecyReadSize = 32;
inline constexpr std::size_t kRecyWriteImageSize = kRecyWriteSize * kRecyEntries;  // 1150
inline constexpr std::size_t kRecyReadBlocks = 7;
inline constexpr std::size_t kRecyWriteBlocks = 5;
inline constexpr std::size_t kRecyBlockBytes = 230;                                 // ten records
inline constexpr std::size_t kRecyReadImageSize = 256 * kRecyReadBlocks;            // 1792

using RecyclingWriteImage = std::array<std::uint8_t, kRecyWriteImageSize>;

// The write image of the table: each entry whose PLU number is 1..50 fills that
// slot (a later entry for the same slot wins); a slot no entry names stays zero.
RecyclingWriteImage BuildRecyclingImage(const std::vector<TRecy>& table, int decimals);

// Sets every entry from the read image: entry s - 1 gets PLU number s, the
// barcode, the price with "%.2f", the quantities and totals of quantity x price.
void ApplyRecyclingImage(const std::uint8_t* image, std::vector<TRecy>& table, int decimals);

} // namespace plu
