#pragma once
// Gives a simulator everything a register has: its status block and the
// handlers of master data and reports. Each part of the register installs its
// handlers here, so tests, plumctl simulate and plumanager --demo get one register.
#include "sim/RegisterSimulator.h"

namespace plu::sim {

// A status block of a register ready for downloads: 2 decimals, reports
// cleared, no changes report pending.
std::array<std::uint8_t, kStatusBlockSize> DefaultStatusBlock();

void InstallRegister(RegisterSimulator& simulator);

} // namespace plu::sim
