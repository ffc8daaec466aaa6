#include "sim/SimulatorSetup.h"

namespace plu::sim {

std::array<std::uint8_t, kStatusBlockSize> DefaultStatusBlock()
{
    std::array<std::uint8_t, kStatusBlockSize> block{};
    block[0] = 2; // money with two decimals
    return block;
}

void InstallRegister(RegisterSimulator& simulator)
{
    simulator.WithState([](RegisterState& state) {
        if (state.StatusBlock == std::array<std::uint8_t, kStatusBlockSize>{})
            state.StatusBlock = DefaultStatusBlock();
        return 0;
    });
}

} // namespace plu::sim
