#include "transfer/EcrStatus.h"

#include <gtest/gtest.h>

#include <array>

namespace plu {
namespace {

using Block = std::array<std::uint8_t, 256>;

TEST(EcrStatus, ZeroBlock)
{
    const Block block{};
    auto status = ParseEcrStatus(block);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Decimals, 0);
    EXPECT_TRUE(status->ReportCleared);
    EXPECT_TRUE(status->Flag2);
    EXPECT_EQ(status->TaxFreeGroup, 0);
    EXPECT_FALSE(status->ChangesPending);
    EXPECT_FALSE(status->PluHasStock);
    EXPECT_EQ(status->DateText, "00-00-2000");
    EXPECT_EQ(status->TimeText, "00:00:00");
    EXPECT_FALSE(status->TaxInUse[0]);
    for (int g = 1; g <= 9; ++g)
        EXPECT_TRUE(status->TaxInUse[static_cast<std::size_t>(g)]) << g;
    for (double rate : status->Rates)
        EXPECT_EQ(rate, 0.0);
}

TEST(EcrStatus, FullDecode)
{
    Block block{};
    block[0] = 2;
    block[1] = 1;                 // reports not cleared
    block[2] = 5;                 // Flag2 false
    block[3] = 0xFF;              // -2
    block[4] = 0xFE;
    block[5] = 0x19;              // rate slot 1: 19.00
    block[6] = 0x00;
    block[21] = 0x07;             // department 1: 7
    block[22] = 0x00;
    block[23] = 0x34;             // department 2: 1234
    block[24] = 0x12;
    block[37] = 9;
    block[38] = 1;
    block[39] = 1;
    const std::uint8_t stamp[] = {0x24, 0x03, 0x15, 0x13, 0x05, 0x59, 0x00, 0x01, 0x23, 7};
    std::copy(std::begin(stamp), std::end(stamp), block.begin() + 40);
    auto status = ParseEcrStatus(block);
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->ReportCleared);
    EXPECT_FALSE(status->Flag2);
    EXPECT_EQ(status->SignedWord, -2);
    EXPECT_DOUBLE_EQ(status->Rates[1], 19.0);
    EXPECT_EQ(status->Rates[0], 0.0);
    EXPECT_EQ(status->DeptCounters[1], 7);
    EXPECT_EQ(status->DeptCounters[2], 1234);
    EXPECT_TRUE(status->ChangesPending);
    EXPECT_TRUE(status->PluHasStock);
    EXPECT_EQ(status->DateText, "15-03-2024");
    EXPECT_EQ(status->TimeText, "13:05:59");
    EXPECT_EQ(status->ReportNumber, 123);
    EXPECT_EQ(status->ClerkNo, 7);
}

TEST(EcrStatus, UnusedRateMarksItsTaxGroup)
{
    struct Case {
        int taxFree;
        std::size_t slotOffset; // the rate slot holding 99.99
        int unusedGroup;
    };
    const Case cases[] = {
        {9, 5, 1},  // slot 1 is group A below the tax-free group
        {1, 5, 2},  // tax-free A: slot 1 is group B
        {3, 9, 4},  // tax-free C: slot 3 is group D
        {5, 19, 9}, // tax-free E: slot 8 is group I
    };
    for (const auto& c : cases) {
        Block block{};
        block[37] = static_cast<std::uint8_t>(c.taxFree);
        block[c.slotOffset] = 0x99;
        block[c.slotOffset + 1] = 0x99;
        auto status = ParseEcrStatus(block);
        ASSERT_TRUE(status);
        for (int g = 1; g <= 9; ++g)
            EXPECT_EQ(status->TaxInUse[static_cast<std::size_t>(g)], g != c.unusedGroup) << "tax-free " << c.taxFree << " group " << g;
        EXPECT_EQ(GroupOfRateSlot(static_cast<int>((c.slotOffset - 5) / 2 + 1), c.taxFree), c.unusedGroup);
        EXPECT_EQ(RateSlotOfGroup(c.unusedGroup, c.taxFree), static_cast<int>((c.slotOffset - 5) / 2 + 1));
    }
    // 99.99 in one byte only is a rate, not the mark.
    Block half{};
    half[37] = 9;
    half[5] = 0x99;
    EXPECT_TRUE(ParseEcrStatus(half)->TaxInUse[1]);
}

TEST(EcrStatus, LiveReadKeepsTheReportFields)
{
    Block stored{};
    stored[0] = 2;
    stored[5] = 0x19;
    stored[40] = 0x24;
    stored[41] = 0x03;
    stored[42] = 0x15;
    TEcrStatus status = *ParseEcrStatus(stored);

    Block live{};
    live[0] = 3;
    live[1] = 1;
    live[5] = 0x99;
    live[6] = 0x99;
    live[21] = 0x08;
    live[37] = 9;
    live[39] = 1;
    ApplyLiveStatus(live, status);
    EXPECT_EQ(status.Decimals, 3);
    EXPECT_FALSE(status.ReportCleared);
    EXPECT_TRUE(status.PluHasStock);
    EXPECT_FALSE(status.TaxInUse[1]);
    EXPECT_EQ(status.DeptCounters[1], 8);
    EXPECT_DOUBLE_EQ(status.Rates[1], 19.0);   // as the stored report set it
    EXPECT_EQ(status.DateText, "15-03-2024");
}

TEST(EcrStatus, RejectsWhatIsNotAStatusBlock)
{
    Block block{};
    block[7] = 0x1A; // a rate with a nibble above 9
    EXPECT_FALSE(ParseEcrStatus(block));
    Block number{};
    number[47] = 0xB0;
    EXPECT_FALSE(ParseEcrStatus(number));
    EXPECT_FALSE(ParseEcrStatus(std::span<const std::uint8_t>(block.data(), 49)));
}

} // namespace
} // namespace plu
