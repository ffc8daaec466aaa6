// plumctl simulate: the register simulator in the foreground until Ctrl+C or SIGTERM.
#include "app/ctl/Ctl.h"
#include "sim/MasterData.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"

#include <csignal>
#include <cstdio>
#include <sstream>

namespace plu::ctl {
namespace {

bool ParseCount(std::vector<std::string>& args, const std::string& name, int& count, bool& bad)
{
    std::string text;
    if (!TakeOption(args, name, text))
        return false;
    long long value = 0;
    if (text == "always")
        value = -1;
    else if (!ParseIntArg(text, 0, 1000000, value))
        bad = true;
    count = static_cast<int>(value);
    return true;
}

int RunSimulate(Env& env)
{
    std::string link;
    if (!TakeOption(env.Args, "--link", link))
        return UsageError("simulate needs --link PATH");
    sim::Options options;
    sim::Faults faults;
    std::string text;
    if (TakeOption(env.Args, "--answer-speeds", text)) {
        std::stringstream list(text);
        std::string item;
        while (std::getline(list, item, ',')) {
            long long speed = 0;
            if (!ParseIntArg(item, 1, 4000000, speed))
                return UsageError("--answer-speeds takes a comma list of speeds, e.g. 38400,57600");
            options.AnswerSpeeds.push_back(static_cast<int>(speed));
        }
    }
    if (TakeOption(env.Args, "--state", text))
        options.StateDir = text;
    options.RealLineRate = TakeFlag(env.Args, "--line-rate");
    // Status flags of the register's master data.
    const bool pluStock = TakeFlag(env.Args, "--plu-stock");
    const bool changesPending = TakeFlag(env.Args, "--changes-pending");
    const bool notCleared = TakeFlag(env.Args, "--reports-not-cleared");
    const bool sampleItems = TakeFlag(env.Args, "--sample-items");
    faults.Noise = TakeFlag(env.Args, "--noise");
    if (TakeFlag(env.Args, "--silent"))
        faults.Silent = -1;
    bool bad = false;
    ParseCount(env.Args, "--nak", faults.Nak, bad);
    ParseCount(env.Args, "--drop", faults.Drop, bad);
    ParseCount(env.Args, "--bad-sum", faults.BadSum, bad);
    ParseCount(env.Args, "--wrong-echo", faults.WrongEcho, bad);
    ParseCount(env.Args, "--silent-after", faults.SilentAfter, bad);
    if (TakeOption(env.Args, "--late", text)) {
        long long ms = 0;
        if (!ParseIntArg(text, 0, 60000, ms))
            bad = true;
        faults.Late = -1;
        faults.LateMs = static_cast<int>(ms);
    }
    if (bad)
        return UsageError("a count takes a number or 'always'");
    if (!env.Args.empty())
        return UsageError("simulate: unexpected argument '" + env.Args.front() + "'");

    // Signals are taken by sigwait below; the simulator's thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    sim::RegisterSimulator simulator(options);
    sim::InstallRegister(simulator);
    simulator.SetFaults(faults);
    std::string error;
    if (!simulator.Start(link, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    simulator.WithState([&](sim::RegisterState& state) {
        // After Start, so the flags win over a state directory's status block.
        if (notCleared)
            state.StatusBlock[1] = 1;
        if (changesPending)
            state.StatusBlock[38] = 1;
        if (pluStock)
            state.StatusBlock[39] = 1;
        if (sampleItems)
            sim::SeedSampleItems(state);
        return 0;
    });
    std::fprintf(stderr, "Simulated register on %s (%s); Ctrl+C ends it.\n", link.c_str(), simulator.SlaveName().c_str());
    int received = 0;
    sigwait(&signals, &received);
    simulator.Stop();
    return kExitOk;
}

} // namespace

PLUMCTL_COMMAND("simulate",
                "--link PATH [--answer-speeds S1,S2] [--line-rate] [--state DIR] [--silent] [--nak N] [--drop N] "
                "[--bad-sum N] [--wrong-echo N] [--silent-after N] [--late MS] [--noise] "
                "[--plu-stock] [--changes-pending] [--reports-not-cleared] [--sample-items]",
                RunSimulate);

} // namespace plu::ctl
