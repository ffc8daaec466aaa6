#pragma once
// The register's decoded status, one record for the whole program (AppContext
// holds it). Every live status read replaces part of it; a report view that
// decodes a stored status block replaces all of it.
#include <array>
#include <cstdint>
#include <string>

namespace plu {

inline constexpr int kTaxGroups = 9;   // A..I, numbered 1..9
inline constexpr int kRateSlots = 8;   // the taxable groups' rates
inline constexpr int kNoTax = 10;      // a department's tax when it has none

struct TEcrStatus {
    std::uint8_t Decimals = 0;             // decimals of money amounts
    bool ReportCleared = false;
    bool Flag2 = false;
    std::array<bool, kTaxGroups + 1> TaxInUse{};   // by group number; [0] always false
    std::array<std::int32_t, 9> DeptCounters{};    // [1..8], change counter per department
    std::uint8_t TaxFreeGroup = 0;         // 1..9
    bool ChangesPending = false;
    bool PluHasStock = false;
    std::int32_t SignedWord = 0;
    std::array<double, kRateSlots + 1> Rates{};    // [1..8] percent; [0] stands for the tax-free group
    std::string DateText;                  // dd-mm-20yy
    std::string TimeText;                  // hh:mm:ss
    std::int32_t ReportNumber = 0;
    std::int32_t ClerkNo = 0;
};

} // namespace plu
