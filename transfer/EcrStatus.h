#pragma once
// The register's 256-byte status block: the live read right after connecting
// and the complete decode of a stored copy (the head of every report file).
//
// Layout: 0 Decimals; 1 reports cleared when 0; 2 Flag2 when 0; 3-4 signed
// big-endian word; 5-20 eight VAT rates, 4 packed digits each; 21-36 eight
// department change counters, packed counter form; 37 tax-free group; 38 changes
// report pending when 1; 39 PLUs carry stock when 1; 40-42 date (yy mm dd),
// 43-45 time, 46-48 report number (6 digits), 49 clerk. The rest is not read.
#include "transfer/TEcrStatus.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace plu {

class TKodoIBusComm;
class UserInterface;

inline constexpr std::size_t kStatusBlockSize = 256;
inline constexpr std::size_t kStatusDecodedBytes = 50;

// Base text of the status step ("Check ecr status..." while it runs).
inline constexpr const char* kCheckEcrStatusText = "Check ecr status";

// The rate slot (1..8) of tax group g, or 0 for the tax-free group. Slot i holds
// group i below the tax-free group and group i + 1 from it on.
int RateSlotOfGroup(int group, int taxFreeGroup);
int GroupOfRateSlot(int slot, int taxFreeGroup);

// The fields the live read takes: Decimals, ReportCleared, Flag2, TaxFreeGroup,
// ChangesPending, PluHasStock, TaxInUse and DeptCounters. Others stay as they are.
void ApplyLiveStatus(std::span<const std::uint8_t> block, TEcrStatus& status);

// The complete decode of the first 50 bytes. A packed rate or report number that
// holds a nibble above 9 is not a decimal number, and a block shorter than 50
// bytes is not a status block: both give nullopt.
std::optional<TEcrStatus> ParseEcrStatus(std::span<const std::uint8_t> bytes);

// The live read: shows "Check ecr status...", reads block (0, 0), appends the 256
// bytes to workStream and applies them to status. On failure sends the disconnect
// with mode 1 four times, shows "Check ecr status...Error!", waits until the user
// has closed the progress dialog and closes the port (which writes DEBUG.LOG), so
// a failed read never leaves the port held.
bool ReadEcrStatus(TKodoIBusComm& comm, UserInterface& ui, std::vector<std::uint8_t>& workStream, TEcrStatus& status);

} // namespace plu
