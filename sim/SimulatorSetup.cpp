#include "sim/SimulatorSetup.h"

#include "sim/MasterData.h"

namespace plu::sim {

std::array<std::uint8_t, kStatusBlockSize> DefaultStatusBlock()
{
    std::array<std::uint8_t, kStatusBlockSize> block{};
    // Money with two decimals, reports cleared, no changes pending, PLUs without
    // stock, VAT A 23 %, B 8 %, C 5 %, D..H not in use, I tax-free.
    ApplyStatus(block, SimStatus{});
    return block;
}

void InstallRegister(RegisterSimulator& simulator)
{
    simulator.WithState([](RegisterState& state) {
        if (state.StatusBlock == std::array<std::uint8_t, kStatusBlockSize>{})
            state.StatusBlock = DefaultStatusBlock();
        return 0;
    });
    InstallMasterData(simulator);
}

} // namespace plu::sim
