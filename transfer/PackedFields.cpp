#include "transfer/PackedFields.h"

#include "shell/Locale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace plu {

void PackBcd(std::uint64_t value, int digits, std::uint8_t* out)
{
    const std::size_t size = PackedSize(digits);
    for (std::size_t i = size; i-- > 0;) {
        out[i] = static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
        value /= 100;
    }
}

std::uint64_t UnpackBcd(const std::uint8_t* bytes, int digits)
{
    const std::size_t size = PackedSize(digits);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value * 100 + static_cast<std::uint64_t>(bytes[i] >> 4) * 10 + (bytes[i] & 0x0F);
    return value;
}

void PackCounter(std::uint32_t value, std::uint8_t* out)
{
    std::uint8_t bigEndian[2];
    PackBcd(value, 4, bigEndian);
    out[0] = bigEndian[1];
    out[1] = bigEndian[0];
}

std::uint32_t UnpackCounter(const std::uint8_t* bytes)
{
    auto pair = [](std::uint8_t b) { return static_cast<std::uint32_t>(b >> 4) * 10 + (b & 0x0F); };
    return pair(bytes[1]) * 100 + pair(bytes[0]);
}

void PackSignedThousandths(double value, std::uint8_t* out)
{
    const std::int64_t n = ScaleReal(value, 3);
    const std::uint64_t magnitude = n < 0 ? static_cast<std::uint64_t>(-(n + 1)) + 1 : static_cast<std::uint64_t>(n);
    PackBcd(magnitude, 8, out);
    // Only a negative value sets the sign bit; a magnitude of 80000 or more keeps
    // its top digit, which the register then reads as the sign.
    if (n < 0)
        out[0] |= 0x80;
}

double UnpackSignedThousandths(const std::uint8_t* bytes)
{
    std::uint8_t copy[4];
    std::memcpy(copy, bytes, 4);
    const bool negative = (copy[0] & 0x80) != 0;
    copy[0] &= 0x7F;
    double value = static_cast<double>(UnpackBcd(copy, 8));
    if (negative)
        value = -value;
    return value / 1000.0;
}

void NegativeMarker(std::uint8_t* out)
{
    out[0] = 0xFF;
    out[1] = 0;
    out[2] = 0;
    out[3] = 0;
}

void PackMoney(std::int64_t scaled, std::uint8_t* out)
{
    if (scaled < 0)
        NegativeMarker(out);
    else
        PackBcd(static_cast<std::uint64_t>(scaled), 8, out);
}

std::int64_t RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr double kLimit = 9.2e18;
    if (value >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    const double lower = std::floor(value);
    const double fraction = value - lower;
    // Products of a decimal text and a power of ten land a few ulps off the half.
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(value));
    double rounded;
    if (std::fabs(fraction - 0.5) <= tolerance)
        rounded = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    else
        rounded = fraction < 0.5 ? lower : lower + 1.0;
    return static_cast<std::int64_t>(rounded);
}

std::int64_t ScaleReal(double value, int exponent)
{
    return RoundHalfEven(value * static_cast<double>(PowerOfTen(exponent)));
}

std::int32_t ToScaled(double value, int decimals)
{
    const std::int64_t scaled = ScaleReal(value, decimals);
    if (scaled > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (scaled < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(scaled);
}

double FromScaled(std::int64_t scaled, int decimals)
{
    return static_cast<double>(scaled) / static_cast<double>(PowerOfTen(decimals));
}

double TextToReal(std::string_view text, double fallback)
{
    auto value = ParseReal(text);
    return value ? *value : fallback;
}

std::int64_t TextToInt(std::string_view text, std::int64_t fallback)
{
    auto value = ParseInt64(text);
    return value ? *value : fallback;
}

std::int64_t PowerOfTen(int exponent)
{
    std::int64_t result = 1;
    for (int i = 0; i < exponent && i < 18; ++i)
        result *= 10;
    return result;
}

double RealPower(double x, int n)
{
    double result = 1.0;
    const int count = n < 0 ? -n : n;
    for (int i = 0; i < count; ++i)
        result *= x;
    return n < 0 ? 1.0 / result : result;
}

int BlockCount(int n, int k)
{
    if (n <= 0 || k <= 0)
        return 0;
    return (n + k - 1) / k;
}

std::string StripLeading(std::string_view text, char ch)
{
    while (!text.empty() && text.front() == ch)
        text.remove_prefix(1);
    return std::string(text);
}

void MoveBytes(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) { std::memmove(dst, src, n); }

bool SameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) { return std::memcmp(a, b, n) == 0; }

void PackName(std::string_view text, std::uint8_t* out)
{
    std::memset(out, ' ', kNameSize);
    std::memcpy(out, text.data(), std::min(text.size(), kNameSize));
}

std::string NameText(const std::uint8_t* bytes)
{
    std::size_t first = 0;
    std::size_t last = kNameSize;
    while (first < last && bytes[first] <= 0x20)
        ++first;
    while (last > first && bytes[last - 1] <= 0x20)
        --last;
    return std::string(reinterpret_cast<const char*>(bytes + first), last - first);
}

void PackFixedText(std::string_view text, std::size_t width, std::uint8_t* out)
{
    std::memset(out, 0, width);
    std::memcpy(out, text.data(), std::min(text.size(), width));
}

void PutField(std::string_view text, std::size_t width, std::uint8_t* out, char pad)
{
    std::memset(out, static_cast<unsigned char>(pad), width);
    std::memcpy(out, text.data(), std::min(text.size(), width));
}

std::string RightAligned(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace plu
