#include "transfer/EcrStatus.h"

#include "link/KodoIBusComm.h"
#include "shell/UserInterface.h"
#include "shell/Texts.h"
#include "transfer/PackedFields.h"
#include "link/SessionSteps.h"

#include <cstdio>

namespace plu {
namespace {

constexpr std::size_t kRatesOffset = 5;
constexpr std::size_t kCountersOffset = 21;
constexpr std::size_t kTaxFreeOffset = 37;

// A packed field read as the decimal number its hexadecimal digits spell.
std::optional<std::uint64_t> PackedDecimal(const std::uint8_t* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        if ((bytes[i] >> 4) > 9 || (bytes[i] & 0x0F) > 9)
            return std::nullopt;
    }
    return UnpackBcd(bytes, static_cast<int>(size * 2));
}

std::string HexTriple(const char* format, std::uint8_t a, std::uint8_t b, std::uint8_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

void DecodeFlags(std::span<const std::uint8_t> block, TEcrStatus& status)
{
    status.Decimals = block[0];
    status.ReportCleared = block[1] == 0;
    status.Flag2 = block[2] == 0;
    status.TaxFreeGroup = block[kTaxFreeOffset];
    status.ChangesPending = block[38] == 1;
    status.PluHasStock = block[39] == 1;
}

void DecodeTaxInUse(std::span<const std::uint8_t> block, TEcrStatus& status)
{
    const int taxFree = block[kTaxFreeOffset];
    status.TaxInUse[0] = false;
    for (int group = 1; group <= kTaxGroups; ++group) {
        status.TaxInUse[static_cast<std::size_t>(group)] = true;
        if (group == taxFree)
            continue;
        // With a tax-free group outside 1..9 the slot falls on the neighbouring
        // fields (0 or 9); they are read as they stand, like any other slot.
        const int slot = group < taxFree ? group : group - 1;
        const std::size_t at = 3 + 2 * static_cast<std::size_t>(slot);
        if (block[at] == 0x99 && block[at + 1] == 0x99)
            status.TaxInUse[static_cast<std::size_t>(group)] = false;
    }
}

void DecodeCounters(std::span<const std::uint8_t> block, TEcrStatus& status)
{
    for (std::size_t i = 1; i <= 8; ++i)
        status.DeptCounters[i] = static_cast<std::int32_t>(UnpackCounter(&block[kCountersOffset + 2 * (i - 1)]));
}

} // namespace

int RateSlotOfGroup(int group, int taxFreeGroup)
{
    if (group == taxFreeGroup)
        return 0;
    return group < taxFreeGroup ? group : group - 1;
}

int GroupOfRateSlot(int slot, int taxFreeGroup) { return slot < taxFreeGroup ? slot : slot + 1; }

void ApplyLiveStatus(std::span<const std::uint8_t> block, TEcrStatus& status)
{
    if (block.size() < kStatusDecodedBytes)
        return;
    DecodeFlags(block, status);
    DecodeTaxInUse(block, status);
    DecodeCounters(block, status);
}

std::optional<TEcrStatus> ParseEcrStatus(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kStatusDecodedBytes)
        return std::nullopt;
    TEcrStatus status;
    DecodeFlags(bytes, status);
    status.SignedWord = static_cast<std::int16_t>(static_cast<std::uint16_t>((bytes[3] << 8) | bytes[4]));
    const double scale = static_cast<double>(PowerOfTen(status.Decimals));
    status.Rates[0] = 0;
    for (std::size_t i = 1; i <= kRateSlots; ++i) {
        auto rate = PackedDecimal(&bytes[kRatesOffset + 2 * (i - 1)], 2);
        if (!rate)
            return std::nullopt;
        status.Rates[i] = static_cast<double>(*rate) / scale;
    }
    DecodeCounters(bytes, status);
    DecodeTaxInUse(bytes, status);
    status.DateText = HexTriple("%2.2x-%2.2x-20%2.2x", bytes[42], bytes[41], bytes[40]);
    status.TimeText = HexTriple("%2.2x:%2.2x:%2.2x", bytes[43], bytes[44], bytes[45]);
    auto number = PackedDecimal(&bytes[46], 3);
    if (!number)
        return std::nullopt;
    status.ReportNumber = static_cast<std::int32_t>(*number);
    status.ClerkNo = bytes[49];
    return status;
}

bool ReadEcrStatus(TKodoIBusComm& comm, UserInterface& ui, std::vector<std::uint8_t>& workStream, TEcrStatus& status)
{
    ui.SetStatus(false, Running(kCheckEcrStatusText));
    ui.SetTotal(0);
    if (!comm.ReadBlock(0, 0)) {
        AbortSession(comm, ui, Failed(kCheckEcrStatusText));
        return false;
    }
    const std::span<const std::uint8_t> block(comm.DataBuffer.data(), kStatusBlockSize);
    workStream.insert(workStream.end(), block.begin(), block.end());
    ApplyLiveStatus(block, status);
    return true;
}

} // namespace plu
