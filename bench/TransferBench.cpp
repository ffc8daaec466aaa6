// Whole master data commands against the simulated register over a
// pseudo-terminal: the PC's own cost, and the overhead over the line time when
// the simulator takes as long as a real line.
#include "tests/core/TestUserInterface.h"
#include "items/CellTable.h"
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"
#include "sim/MasterData.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"
#include "transfer/TransferCommands.h"
#include "transfer/TransferContext.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace plu {
namespace {

using SilentUi = test::TestUserInterface;

struct Rig {
    std::filesystem::path Dir;
    AppContext App;
    SilentUi Ui;
    sim::RegisterSimulator Simulator;
    std::unique_ptr<TKodoIBusComm> Link;
    ItemTables Tables;
    std::unique_ptr<TransferContext> Ctx;

    bool Start(std::string& error)
    {
        Dir = std::filesystem::temp_directory_path() / ("plum-transfer-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        App.Dirs = ProgramDirsAt(Dir);
        App.PortNumber = 1;
        App.BaudRateIndex = 4; // 115200
        sim::InstallRegister(Simulator);
        if (!Simulator.Start(Dir / "tty", error))
            return false;
        const std::string device = (Dir / "tty").string();
        Link = std::make_unique<TKodoIBusComm>(Ui, App.Dirs.DebugLog(), [device](const std::string&) { return device; });
        Link->TraceEnabled = true;
        DownloadChecks checks{[](int, int) { return true; }, [] { return true; }, [] { return true; }};
        Ctx = std::make_unique<TransferContext>(TransferContext{App, Ui, *Link, Tables, checks, 0});
        return true;
    }
    ~Rig()
    {
        Ctx.reset();
        Link.reset();
        Simulator.Stop();
        std::filesystem::remove_all(Dir);
    }

    // The register holds sample items; every table row differs from them.
    void PrepareChanges(int count)
    {
        Simulator.WithState([](sim::RegisterState& s) {
            sim::SeedSampleItems(s);
            return 0;
        });
        for (int r = 1; r <= count; ++r) {
            Tables.Plu.SetCell(1, r, "CHANGED " + std::to_string(r));
            Tables.Plu.SetCell(2, r, "1");
            Tables.Plu.SetCell(3, r, "1.99");
            Tables.Plu.SetCell(4, r, std::to_string(4000000000000LL + r));
            Tables.Plu.SetCell(5, r, "0");
        }
    }

    // What the exchanged bytes take on the line: 302 bytes out, an answer frame
    // of 301 bytes or a single byte back, 10 bits a byte at each message's speed.
    double LineSeconds()
    {
        double seconds = 0;
        for (const auto& m : Simulator.Received()) {
            const int opcode = m.Message[0];
            const int address = m.Message[1] | (m.Message[2] << 8);
            const bool read = (opcode == 0) || (opcode == 3) ||
                              (opcode == 14 && (address == 3 || address == 6 || address == 16));
            const double bytes = 302 + (m.Answered ? (read ? 301 : 1) : 0);
            seconds += bytes * 10 / m.Speed;
        }
        return seconds;
    }
};

void BM_FullPluChangeDownload(benchmark::State& state)
{
    Rig rig;
    std::string error;
    if (!rig.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        rig.PrepareChanges(3000);
        rig.Simulator.ClearReceived();
        state.ResumeTiming();
        if (!RunDownload(*rig.Ctx, {kKindPlu, 1, 3000})) {
            state.SkipWithError("the download failed");
            break;
        }
    }
    state.counters["messages"] = static_cast<double>(rig.Simulator.Received().size());
}
BENCHMARK(BM_FullPluChangeDownload)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PluDownloadAtLineRate(benchmark::State& state)
{
    Rig rig;
    std::string error;
    if (!rig.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    rig.Simulator.SetRealLineRate(true);
    double line = 0;
    double elapsed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rig.PrepareChanges(300);
        rig.Simulator.ClearReceived();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!RunDownload(*rig.Ctx, {kKindPlu, 1, 300})) {
            state.SkipWithError("the download failed");
            break;
        }
        elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        line += rig.LineSeconds();
        // The PC's turnaround: from the answer written to the next request read.
        const auto received = rig.Simulator.Received();
        double pc = 0;
        int gaps = 0;
        for (std::size_t i = 0; i + 1 < received.size(); ++i) {
            if (!received[i].Answered || received[i].AnswerSent.time_since_epoch().count() == 0)
                continue;
            pc += std::chrono::duration<double, std::micro>(received[i + 1].Arrived - received[i].AnswerSent).count();
            ++gaps;
        }
        if (gaps > 0)
            state.counters["pc_turnaround_us"] = pc / gaps;
    }
    state.counters["line_ms"] = line * 1000 / static_cast<double>(state.iterations());
    state.counters["overhead_pct"] = line > 0 ? (elapsed / line - 1) * 100 : 0;
}
BENCHMARK(BM_PluDownloadAtLineRate)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace plu
