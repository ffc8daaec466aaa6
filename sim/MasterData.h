#pragma once
// The register's master data in the simulator: 3000 PLUs, 8 departments, 50
// recycling slots and the parameter block, kept in RegisterState::Blobs (so a
// state directory keeps them between runs). Every write is applied, so what a
// download sends an upload reads back; every message stays in Received() for tests.
//
// PLUs are stored in the register's read form with stock (38 bytes); a fetch
// answers without the stock field unless the status block's byte 39 is 1. Plain
// writes (address 8) are accepted only with stock, changed writes (address 5)
// only without, as the register's PLU form decides. A department write stores the
// change counter it carries in the status block; a parameter block write stores
// its VAT rates and tax-free group there too.
#include "sim/RegisterSimulator.h"

#include <cstdint>
#include <span>
#include <string>

namespace plu::sim {

inline constexpr int kSimPlus = 3000;
inline constexpr int kSimDepartments = 8;
inline constexpr int kSimRecyclingSlots = 50;
inline constexpr std::size_t kSimPluRecord = 38;
inline constexpr std::size_t kSimDeptRecord = 28;
inline constexpr std::size_t kSimRecyRecord = 32;

inline constexpr const char* kPluBlob = "plu";
inline constexpr const char* kDeptBlob = "department";
inline constexpr const char* kRecyBlob = "recycling";
inline constexpr const char* kParameterBlob = "parameters";

void InstallMasterData(RegisterSimulator& simulator);

// The stored records (created zeroed on first use). number is 1-based.
std::span<std::uint8_t, kSimPluRecord> PluRecord(RegisterState& state, int number);
std::span<std::uint8_t, kSimDeptRecord> DeptRecord(RegisterState& state, int number);
std::span<std::uint8_t, kSimRecyRecord> RecyRecord(RegisterState& state, int slot);
std::span<std::uint8_t, 256> ParameterBlock(RegisterState& state);

// Seeding helpers for tests and the demo. Prices and totals in the register's
// money units, quantities and stock in thousandths.
struct SimPlu {
    std::string Name;
    int Department = 1;
    std::uint32_t Price = 0;
    std::uint64_t Barcode = 0;
    int Flag = 0;
    std::int32_t Stock = 0;
    std::uint32_t Quantity = 0;
    std::uint64_t Total = 0;
};
void SetPlu(RegisterState& state, int number, const SimPlu& plu);

struct SimDepartment {
    std::string Name;   // empty: 12 zero bytes
    int Limitation = 0;
    int Tax = 10;
    int Flag = 0;
    std::uint32_t Price = 0;
    std::uint32_t Quantity = 0;
    std::uint64_t Total = 0;
};
void SetDepartment(RegisterState& state, int number, const SimDepartment& dept);

void SetRecycling(RegisterState& state, int slot, std::uint64_t barcode, std::uint32_t price, int sold, int returned);

// Status block fields.
struct SimStatus {
    int Decimals = 2;
    bool ReportCleared = true;
    bool ChangesPending = false;
    bool PluHasStock = false;
    int TaxFreeGroup = 9;
    // Rates of slots 1..8 in hundredths; 9999 marks a group not in use.
    std::array<int, 8> Rates{2300, 800, 500, 9999, 9999, 9999, 9999, 9999};
    std::array<int, 8> DeptCounters{};
};
void ApplyStatus(std::array<std::uint8_t, kStatusBlockSize>& block, const SimStatus& status);
int DeptCounterOf(const RegisterState& state, int number);

// A register with sample items, as the demo shows it.
void SeedSampleItems(RegisterState& state);

} // namespace plu::sim
