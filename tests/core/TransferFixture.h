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
#include "transfer/TransferContext.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plu::test {

// Answers like a user: OK on an error at once; Cancel when told to.
class ScriptedUi : public UserInterface {
public:
    struct Status {
        bool Error;
        std::string Text;
    };
    std::vector<Status> Statuses;
    std::vector<std::string> Messages;
    int Shown = 0;
    TKodoIBusComm* Comm = nullptr;
    // Press Cancel at the first wait after SetCurrent(CancelAtCurrent) once the
    // status text is CancelInStatus (any status when empty).
    int CancelAtCurrent = 0;
    std::string CancelInStatus;

    void ShowProgress() override
    {
        ++Shown;
        m_state = ProgressState::Running;
    }
    void SetStatus(bool isError, const std::string& text) override
    {
        if (m_state == ProgressState::Closed)
            return;
        Statuses.push_back({isError, text});
        m_state = isError ? ProgressState::ErrorShown : ProgressState::Running;
    }
    void SetTotal(int total) override { m_total = total; }
    void SetCurrent(int current) override
    {
        if (CancelAtCurrent != 0 && current == CancelAtCurrent && m_state == ProgressState::Running &&
            (CancelInStatus.empty() || (!Statuses.empty() && Statuses.back().Text == CancelInStatus)))
            m_cancelPending = true;
    }
    void CloseProgress() override { m_state = ProgressState::Closed; }
    ProgressState GetProgressState() const override { return m_state; }
    void ProcessEvents() override
    {
        if (m_state == ProgressState::ErrorShown)
            m_state = ProgressState::Closed; // the user presses OK
        if (m_cancelPending) {
            m_cancelPending = false;
            CancelAtCurrent = 0;
            Comm->Cancel();
            m_state = ProgressState::Closed;
        }
    }
    void ShowMessage(MessageKind, const std::string& text, const std::string&) override { Messages.push_back(text); }
    Answer Ask(Question, MessageKind, const std::string& text, const std::string&) override
    {
        Messages.push_back(text);
        return Answer::No;
    }
    void Beep() override {}
    void SetBusy(bool) override {}

    std::vector<std::string> ErrorTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& s : Statuses)
            if (s.Error)
                texts.push_back(s.Text);
        return texts;
    }
    bool HasStatus(const std::string& text) const
    {
        for (const auto& s : Statuses)
            if (!s.Error && s.Text == text)
                return true;
        return false;
    }

private:
    ProgressState m_state = ProgressState::Closed;
    int m_total = 0;
    bool m_cancelPending = false;
};

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
        Ui.Comm = Comm.get();
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
    std::vector<int> DisconnectModes()
    {
        std::vector<int> modes;
        for (const auto& m : Messages(14, 2))
            modes.push_back(m.Message[7]);
        return modes;
    }
    // Short waits for the tests where the register fails to answer.
    void Impatient()
    {
        Comm->RetryCount = 1;
        Comm->RetryInterval = 150;
    }

    std::filesystem::path m_home;
    AppContext App;
    ScriptedUi Ui;
    sim::RegisterSimulator Sim;
    std::unique_ptr<TKodoIBusComm> Comm;
    ItemTables Tables;
    std::unique_ptr<TransferContext> Ctx;
};

} // namespace plu::test
