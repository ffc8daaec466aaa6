#pragma once
// The field forms master data and report blocks use on the register link, and
// the small conversions around them.
//
// Multi-byte numbers are packed decimal (two digits per byte, high nibble the
// more significant digit, most significant byte first). Exceptions: the 16-bit
// PLU number (binary, low byte first), the packed counter (low digit pair first)
// and single bytes. Money travels as an integer of 10^-Decimals units,
// quantities and stocks as thousandths, rates as hundredths.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plu {

inline constexpr std::size_t kNameSize = 12;

// Bytes a packed decimal of n digits takes: ceil(n / 2).
constexpr std::size_t PackedSize(int digits) { return static_cast<std::size_t>((digits + 1) / 2); }

// Writes ceil(n/2) bytes. The value is taken modulo 10^(2*ceil(n/2)): digits above
// the field are dropped, and for odd n a value of 10^n or more fills the top nibble.
void PackBcd(std::uint64_t value, int digits, std::uint8_t* out);
// Reads ceil(n/2) bytes. Nibbles are not checked: one above 9 counts with its face value.
std::uint64_t UnpackBcd(const std::uint8_t* bytes, int digits);

// Four digits, the byte with the two least significant digits first (123 -> 23 01).
void PackCounter(std::uint32_t value, std::uint8_t* out);
std::uint32_t UnpackCounter(const std::uint8_t* bytes);

// value x 1000, rounded, as 8 packed digits of its magnitude; bit 7 of the first
// byte set for a negative value. The form holds magnitudes up to 79999.999.
void PackSignedThousandths(double value, std::uint8_t* out);
double UnpackSignedThousandths(const std::uint8_t* bytes);

// Stands for a negative 4-byte money field: FF 00 00 00.
void NegativeMarker(std::uint8_t* out);
// A 4-byte money field: the marker when negative, otherwise 8 packed digits.
void PackMoney(std::int64_t scaled, std::uint8_t* out);

// Round to the nearest integer, exact halves to the even neighbour. A product
// that misses a half only by binary noise (1.015 x 100) counts as the half.
std::int64_t RoundHalfEven(double value);

// Money between its real value and 10^-decimals units (signed 32-bit, saturated).
std::int32_t ToScaled(double value, int decimals);
double FromScaled(std::int64_t scaled, int decimals);
// A rate or quantity in hundredths or thousandths: RoundHalfEven(value * 10^e).
std::int64_t ScaleReal(double value, int exponent);

// The locale's number text as a real; anything that is not a number gives fallback.
double TextToReal(std::string_view text, double fallback);
// A decimal integer text, or fallback when it is not one.
std::int64_t TextToInt(std::string_view text, std::int64_t fallback);
std::int64_t PowerOfTen(int exponent);
double RealPower(double x, int n);
// Blocks of k items needed for n items: 0 for n <= 0.
int BlockCount(int n, int k);
std::string StripLeading(std::string_view text, char ch);
void MoveBytes(std::uint8_t* dst, const std::uint8_t* src, std::size_t n);
bool SameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t n);

// Item name: the text over 12 spaces from the left, at most 12 bytes, no terminator.
void PackName(std::string_view text, std::uint8_t* out);
// The 12 bytes as text, leading and trailing blanks and control characters removed.
std::string NameText(const std::uint8_t* bytes);

// Fixed text of the parameter block: cut to width; a shorter text is followed by zeros.
void PackFixedText(std::string_view text, std::size_t width, std::uint8_t* out);

// Copies text into a field of width bytes: cut when longer, padded with pad when shorter.
void PutField(std::string_view text, std::size_t width, std::uint8_t* out, char pad = ' ');
// text padded on the left with spaces to width, as printf("%<width>s") does.
std::string RightAligned(std::string text, std::size_t width);

} // namespace plu
