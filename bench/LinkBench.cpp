// The PC's own cost per link exchange: frame packing, and whole ReadBlock
// exchanges with the simulated register over a pseudo-terminal.
#include "tests/core/TestUserInterface.h"
#include "link/FrameCodec.h"
#include "link/KodoIBusComm.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"
#include "shell/UserInterface.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace plu {
namespace {

using QuietUi = test::TestUserInterface;

void BM_PackFrame(benchmark::State& state)
{
    LinkMessage message{};
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<std::uint8_t>(i * 37);
    StoreSum(message);
    LinkFrame frame;
    for (auto _ : state) {
        PackFrame(message, frame);
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_PackFrame);

void BM_UnpackFrame(benchmark::State& state)
{
    LinkMessage message{};
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<std::uint8_t>(i * 37);
    StoreSum(message);
    LinkFrame frame;
    PackFrame(message, frame);
    LinkMessage back;
    for (auto _ : state) {
        bool sumError = false;
        UnpackFrame(frame, back, sumError);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_UnpackFrame);

// One ReadBlock exchange of a 302-byte request and a 301-byte answer frame.
// Reports the median and the total of 1000 exchanges as counters.
void BM_ReadBlockOverPty(benchmark::State& state)
{
    auto dir = std::filesystem::temp_directory_path() / ("plum-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    sim::RegisterSimulator simulator;
    sim::InstallRegister(simulator);
    std::string error;
    if (!simulator.Start(dir / "tty", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    QuietUi ui;
    TKodoIBusComm link(ui, dir / "DEBUG.LOG", [&](const std::string&) { return (dir / "tty").string(); });
    link.CommName = "COM1";
    if (!link.OpenPort()) {
        state.SkipWithError("cannot open the simulated port");
        return;
    }
    std::vector<double> micros;
    for (auto _ : state) {
        micros.clear();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 1000; ++i) {
            link.DataBuffer.fill(0);
            link.DataBuffer[0] = static_cast<std::uint8_t>(i);
            const auto t0 = std::chrono::steady_clock::now();
            if (!link.ReadBlock(14, 16)) {
                state.SkipWithError("a read failed");
                break;
            }
            micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        }
        state.counters["total_ms"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    if (!micros.empty()) {
        std::nth_element(micros.begin(), micros.begin() + static_cast<long>(micros.size() / 2), micros.end());
        state.counters["median_us"] = micros[micros.size() / 2];
    }
    link.ClosePort();
    simulator.Stop();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadBlockOverPty)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace plu
