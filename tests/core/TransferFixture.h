#pragma once
// A program with its tables and link wired to a simulated register on a real
// pseudo-terminal, for the transfer command tests.
#include "items/CellTable.h"
#include "link/KodoIBusComm.h"
#include "link/PortNames.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"
#include "sim/MasterData.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"
#include "TestUserInterface.h"
#include "transfer/TransferContext.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plu::test {

class TransferFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int serial = 0;
        m_home = std::filesystem::temp_directory_path() /
                 ("plum_transfer_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
        App.Dirs = ProgramDirsAt(m_home);
        App.PortNumber = 1;
        App.BaudRateIndex = 4;
        sim::InstallRegister(Sim);
        std::string error;
        ASSERT_TRUE(Sim.Start(m_home / "ttyREG", error)) << error;
        Comm = std::make_unique<TKodoIBusComm>(Ui, App.Dirs.DebugLog(),
                                               MakeDeviceResolver(App.Dirs.SystemCfg(), {{1, (m_home / "ttyREG").string()}}));
        Comm->TraceEnabled = true;
        Ctx = std::make_unique<TransferContext>(TransferContext{App, Ui, *Comm, Tables, PassingChecks(), 0});
    }
    void TearDown() override
    {
        Ctx.reset();
        Comm.reset();
        Sim.Stop();
        std::filesystem::remove_all(m_home);
    }

    static DownloadChecks PassingChecks()
    {
        return {[](int, int) { return true; }, [] { return true; }, [] { return true; }};
    }

    void SetStatus(const sim::SimStatus& status)
    {
        auto block = sim::DefaultStatusBlock();
        sim::ApplyStatus(block, status);
        Sim.SetStatusBlock(block);
    }

    // Messages the register took in with this opcode and address.
    std::vector<sim::ReceivedMessage> Messages(std::uint8_t opcode, std::uint16_t address)
    {
        std::vector<sim::ReceivedMessage> found;
        for (const auto& m : Sim.Received())
            if (m.Message[0] == opcode && (m.Message[1] | (m.Message[2] << 8)) == address)
                found.push_back(m);
        return found;
    }
    std::vector<std::uint8_t> PayloadOf(const sim::ReceivedMessage& m)
    {
        return {m.Message.begin() + kPayloadOffset, m.Message.begin() + kPayloadOffset + kPayloadSize};
    }
    // After a cancelled wait the PC may go on before the register has taken in
    // its last message; wait until nothing more arrives.
    void Settle()
    {
        std::size_t count = Sim.Received().size();
        while (Sim.WaitForReceived(count + 1, 100))
            count = Sim.Received().size();
    }
    std::vector<int> DisconnectModes()
    {
        Settle();
        std::vector<int> modes;
        for (const auto& m : Messages(14, 2))
            modes.push_back(m.Message[7]);
        return modes;
    }
    // Press Cancel at the first wait once the progress has reached current while the
    // status text is status.
    void CancelAt(int current, const std::string& status)
    {
        Ui.OnProcessEvents = [this, current, status, pressed = false]() mutable {
            if (!pressed && Ui.Current >= current && Ui.LastStatus() == status &&
                Ui.GetProgressState() == ProgressState::Running) {
                pressed = true;
                Ui.PressCancel([this] { Comm->Cancel(); });
            }
        };
    }
    std::vector<std::string> ErrorTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& s : Ui.Statuses)
            if (s.IsError)
                texts.push_back(s.Text);
        return texts;
    }
    bool HasStatus(const std::string& text) const
    {
        for (const auto& s : Ui.Statuses)
            if (!s.IsError && s.Text == text)
                return true;
        return false;
    }

    // Short waits for the tests where the register fails to answer.
    void Impatient()
    {
        Comm->RetryCount = 1;
        Comm->RetryInterval = 150;
    }

    std::filesystem::path m_home;
    AppContext App;
    TestUserInterface Ui;
    sim::RegisterSimulator Sim;
    std::unique_ptr<TKodoIBusComm> Comm;
    ItemTables Tables;
    std::unique_ptr<TransferContext> Ctx;
};

} // namespace plu::test
