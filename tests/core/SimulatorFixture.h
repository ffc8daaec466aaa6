#pragma once
// A simulated register on a real pseudo-terminal, reached as COM2 through a
// SYSTEM.CFG in a fresh program directory, and the main link component.
#include "link/KodoIBusComm.h"
#include "link/PortNames.h"
#include "shell/AppContext.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"
#include "TestUserInterface.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace plu::test {

inline std::filesystem::path FreshDir(const std::string& name)
{
    static int counter = 0;
    auto dir = std::filesystem::temp_directory_path() /
               ("plum-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

class SimulatorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = FreshDir("link");
        devicePath = home / "ttySIM";
        std::ofstream(home / "SYSTEM.CFG") << "[Ports]\r\nCOM2=" << devicePath.string() << "\r\n";
        context = MakeAppContext(ProgramDirsAt(home));
        sim::InstallRegister(simulator);
        std::string error;
        ASSERT_TRUE(simulator.Start(devicePath, error)) << error;
        link = std::make_unique<TKodoIBusComm>(ui, context.Dirs.DebugLog(), MakeDeviceResolver(context.Dirs.SystemCfg()));
        link->CommName = "COM2";
        link->TraceEnabled = true;
    }
    void TearDown() override
    {
        link.reset();
        simulator.Stop();
        std::filesystem::remove_all(home);
    }

    // Messages the register took in with the given opcode and address.
    std::vector<sim::ReceivedMessage> ReceivedWith(std::uint8_t opcode, std::uint16_t address)
    {
        std::vector<sim::ReceivedMessage> found;
        for (const auto& m : simulator.Received())
            if (m.Message[0] == opcode && (m.Message[1] | (m.Message[2] << 8)) == address)
                found.push_back(m);
        return found;
    }

    std::filesystem::path home;
    std::filesystem::path devicePath;
    AppContext context;
    TestUserInterface ui;
    sim::RegisterSimulator simulator;
    std::unique_ptr<TKodoIBusComm> link;
};

} // namespace plu::test
