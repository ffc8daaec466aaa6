#include "shell/Locale.h"
#include "transfer/PackedFields.h"

#include <gtest/gtest.h>

#include <vector>

namespace plu {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Packed(std::uint64_t value, int digits)
{
    Bytes out(PackedSize(digits), 0xEE);
    PackBcd(value, digits, out.data());
    return out;
}

TEST(PackedFields, PackBcdKeepsTheFieldWidth)
{
    struct Case {
        std::uint64_t value;
        int digits;
        Bytes expected;
    };
    const Case cases[] = {
        {0, 13, {0, 0, 0, 0, 0, 0, 0}},
        {1234567890, 13, {0x00, 0x00, 0x12, 0x34, 0x56, 0x78, 0x90}},
        {123456789, 8, {0x23, 0x45, 0x67, 0x89}},          // the ninth digit is dropped
        {12345678901234ull, 13, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}}, // odd width fills the top nibble
        {1250, 4, {0x12, 0x50}},
        {9999, 4, {0x99, 0x99}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Packed(c.value, c.digits), c.expected) << c.value;
        EXPECT_EQ(UnpackBcd(c.expected.data(), c.digits), c.value % static_cast<std::uint64_t>(PowerOfTen(static_cast<int>(2 * PackedSize(c.digits)))));
    }
    const std::uint8_t ff[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(UnpackBcd(ff, 8), ((165ull * 100 + 165) * 100 + 165) * 100 + 165);
}

TEST(PackedFields, CounterHasItsLowDigitPairFirst)
{
    std::uint8_t out[2];
    PackCounter(123, out);
    EXPECT_EQ(out[0], 0x23);
    EXPECT_EQ(out[1], 0x01);
    const std::uint8_t seven[] = {0x07, 0x00};
    const std::uint8_t big[] = {0x34, 0x12};
    EXPECT_EQ(UnpackCounter(seven), 7u);
    EXPECT_EQ(UnpackCounter(big), 1234u);
}

TEST(PackedFields, SignedThousandths)
{
    struct Case {
        double value;
        Bytes bytes;
        double readBack;
    };
    const Case cases[] = {
        {-1.5, {0x80, 0x00, 0x15, 0x00}, -1.5},
        {1.5, {0x00, 0x00, 0x15, 0x00}, 1.5},
        {-2.5, {0x80, 0x00, 0x25, 0x00}, -2.5},
        {79999.999, {0x79, 0x99, 0x99, 0x99}, 79999.999},
        {80000.0, {0x80, 0x00, 0x00, 0x00}, 0.0},
        {90000.0, {0x90, 0x00, 0x00, 0x00}, -10000.0},
    };
    for (const auto& c : cases) {
        Bytes out(4);
        PackSignedThousandths(c.value, out.data());
        EXPECT_EQ(out, c.bytes) << c.value;
        EXPECT_DOUBLE_EQ(UnpackSignedThousandths(c.bytes.data()), c.readBack) << c.value;
    }
}

TEST(PackedFields, MoneyIsScaledWithHalvesToEven)
{
    std::uint8_t out[4];
    PackMoney(-100, out);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0xFF, 0x00, 0x00, 0x00}));
    PackMoney(12345, out);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x00, 0x01, 0x23, 0x45}));

    for (char separator : {'.', ','}) {
        ScopedDecimalSeparator scoped(separator);
        auto text = [&](const char* dotted) {
            std::string s = dotted;
            for (auto& c : s)
                if (c == '.')
                    c = separator;
            return s;
        };
        EXPECT_EQ(ToScaled(TextToReal(text("0.125"), 0), 2), 12);
        EXPECT_EQ(ToScaled(TextToReal(text("0.375"), 0), 2), 38);
        EXPECT_EQ(ToScaled(TextToReal(text("1.015"), 0), 2), 102); // a decimal half, not 101.4999...
        EXPECT_EQ(ToScaled(TextToReal(text("-1.00"), 0), 2), -100);
        EXPECT_EQ(ToScaled(TextToReal(text("12.5"), 0), 0), 12);
        EXPECT_EQ(ToScaled(TextToReal(text("13.5"), 0), 0), 14);
        EXPECT_EQ(ToScaled(TextToReal("abc", 0), 2), 0);
        EXPECT_EQ(ToScaled(TextToReal("", 0), 2), 0);
    }
    EXPECT_EQ(ToScaled(1e12, 2), 2147483647); // saturates instead of wrapping
    EXPECT_DOUBLE_EQ(FromScaled(125, 2), 1.25);
    EXPECT_DOUBLE_EQ(FromScaled(125, 0), 125.0);
}

TEST(PackedFields, SmallHelpers)
{
    EXPECT_EQ(PowerOfTen(0), 1);
    EXPECT_EQ(PowerOfTen(3), 1000);
    EXPECT_DOUBLE_EQ(RealPower(10, 0), 1.0);
    EXPECT_DOUBLE_EQ(RealPower(10, 2), 100.0);
    EXPECT_DOUBLE_EQ(RealPower(2, -2), 0.25);
    EXPECT_EQ(BlockCount(0, 8), 0);
    EXPECT_EQ(BlockCount(-3, 8), 0);
    EXPECT_EQ(BlockCount(8, 8), 1);
    EXPECT_EQ(BlockCount(9, 8), 2);
    EXPECT_EQ(BlockCount(3000, 7), 429);
    EXPECT_EQ(StripLeading("000120", '0'), "120");
    EXPECT_EQ(StripLeading("000", '0'), "");
    const std::uint8_t a[] = {1, 2, 3};
    std::uint8_t b[3] = {};
    MoveBytes(b, a, 3);
    EXPECT_TRUE(SameBytes(a, b, 3));
    b[2] = 4;
    EXPECT_FALSE(SameBytes(a, b, 3));
}

TEST(PackedFields, NamesAndFixedTexts)
{
    std::uint8_t name[12];
    PackName("MILK", name);
    EXPECT_EQ(Bytes(name, name + 12), (Bytes{'M', 'I', 'L', 'K', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
    EXPECT_EQ(NameText(name), "MILK");
    PackName("ABCDEFGHIJKLMN", name);
    EXPECT_EQ(NameText(name), "ABCDEFGHIJKL");
    const std::uint8_t padded[12] = {0, ' ', 'A', ' ', 'B', '\t', 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(NameText(padded), "A B");
    const std::uint8_t ansi[12] = {0xE9, 't', 0xE9, ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    EXPECT_EQ(NameText(ansi), "\xE9t\xE9"); // bytes above 0x7F are letters, not blanks

    std::uint8_t field[24];
    PackFixedText("HELLO", 24, field);
    EXPECT_EQ(Bytes(field, field + 5), (Bytes{'H', 'E', 'L', 'L', 'O'}));
    EXPECT_EQ(Bytes(field + 5, field + 24), Bytes(19, 0));
    PackFixedText("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 24, field);
    EXPECT_EQ(std::string(field, field + 24), "ABCDEFGHIJKLMNOPQRSTUVWX");
}

} // namespace
} // namespace plu
