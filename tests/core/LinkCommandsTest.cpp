// Port detection and the raw memory upload against the simulator on a
// pseudo-terminal.
#include "tests/core/TestFiles.h"
#include "link/CommSetting.h"
#include "link/DataRangeUpload.h"
#include "link/PortDetection.h"
#include "link/PortNames.h"
#include "shell/SystemConfig.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"
#include "tests/core/TestUserInterface.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

namespace plu {
namespace {

using test::ReadFile;
using test::WriteFile;

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

using RecordingUi = test::TestUserInterface;

// A program directory whose [Ports] map COM1..COM4 into it; the simulator sits
// at the device of one of them, the others name nothing.
class LinkCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("plum-linkcmd-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        context.Dirs = ProgramDirsAt(m_root);
        std::string cfg = "[Comm]\r\nPort=1\r\nBaudRate=2\r\n[Ports]\r\n";
        for (int port = 1; port <= 4; ++port)
            cfg += CommNameFor(port) + "=" + Device(port).string() + "\r\n";
        WriteFile(context.Dirs.SystemCfg(), cfg);
        ReloadCommSettings(context);
    }
    void TearDown() override
    {
        simulator.Stop();
        std::filesystem::remove_all(m_root);
    }

    std::filesystem::path Device(int port) const { return m_root / ("tty" + std::to_string(port)); }

    void StartRegisterOn(int port)
    {
        sim::InstallRegister(simulator);
        std::string error;
        ASSERT_TRUE(simulator.Start(Device(port), error)) << error;
    }

    // Page requests after the identification read: (page, selector).
    std::vector<std::pair<int, int>> PageRequests()
    {
        std::vector<std::pair<int, int>> pages;
        bool identification = true;
        for (const auto& received : simulator.Received()) {
            const auto& m = received.Message;
            if (m[0] != 14 || m[1] != 16)
                continue;
            if (identification) {
                identification = false;
                continue;
            }
            pages.emplace_back(m[kPayloadOffset] | (m[kPayloadOffset + 1] << 8), m[kPayloadOffset + 2]);
        }
        return pages;
    }

    AppContext context;
    RecordingUi ui;
    sim::RegisterSimulator simulator;

private:
    std::filesystem::path m_root;
};

struct DetectRun {
    std::array<std::string, 5> Fields; // 1..4
    std::vector<std::string> Shown;    // "COMn:text" in order
    int Found = 0;
};

DetectRun RunDetection(AppContext& context, UserInterface& ui)
{
    DetectRun run;
    TKodoIBusComm link(ui, context.Dirs.DebugLog(), MakeDeviceResolver(context.Dirs.SystemCfg()));
    PrepareDetectLink(link);
    DetectPortView view;
    view.ShowResult = [&](int port, const std::string& text) {
        run.Fields[static_cast<std::size_t>(port)] = text;
        if (!text.empty())
            run.Shown.push_back(CommNameFor(port) + ":" + text);
    };
    view.Closed = [] { return false; };
    run.Found = DetectPort(context, link, ui, view);
    return run;
}

TEST_F(LinkCommandsTest, DetectionFindsTheRegisterOnCom3AndYesStoresOnlyThePort)
{
    StartRegisterOn(3);
    WriteFile(context.Dirs.DebugLog(), "old trace");
    ui.NextAnswer = Answer::Yes;
    const DetectRun run = RunDetection(context, ui);

    EXPECT_EQ(run.Found, 3);
    EXPECT_EQ(run.Fields[1], "No kodo found.");
    EXPECT_EQ(run.Fields[2], "No kodo found.");
    EXPECT_EQ(run.Fields[3], "Kodo found!");
    EXPECT_EQ(run.Fields[4], "") << "COM4 is not tried";
    EXPECT_EQ(run.Shown, (std::vector<std::string>{"COM1:Testing...", "COM1:No kodo found.", "COM2:Testing...",
                                                    "COM2:No kodo found.", "COM3:Testing...", "COM3:Kodo found!"}));
    EXPECT_EQ(ui.Questions, std::vector<std::string>{"Port found! Do you want to apply it?"});
    EXPECT_EQ(ui.Messages.size(), 2u) << "the open errors of COM1 and COM2";

    EXPECT_EQ(context.PortNumber, 3);
    const CommSettings stored = ReadCommSettings(IniFile(context.Dirs.SystemCfg()));
    EXPECT_EQ(stored.PortNumber, 3);
    EXPECT_EQ(stored.BaudRateIndex, 2) << "BaudRate is not touched";

    // The detection link traces nothing, announces 9600 and sends no disconnect.
    EXPECT_EQ(ReadFile(context.Dirs.DebugLog()), "");
    const auto received = simulator.Received();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front().Message[13], 0);
    for (const auto& r : received)
        EXPECT_FALSE(r.Message[0] == 14 && r.Message[1] == 2) << "no disconnect message";
}

TEST_F(LinkCommandsTest, DetectionAnsweredNoLeavesSystemCfgAsItWasAndStops)
{
    StartRegisterOn(3);
    const std::string before = ReadFile(context.Dirs.SystemCfg());
    ui.NextAnswer = Answer::No;
    const DetectRun run = RunDetection(context, ui);

    EXPECT_EQ(run.Found, 3);
    EXPECT_EQ(run.Fields[4], "");
    EXPECT_EQ(ReadFile(context.Dirs.SystemCfg()), before);
    EXPECT_EQ(context.PortNumber, 1);
}

TEST_F(LinkCommandsTest, DetectionSaysSoWhenThePortCannotBeStored)
{
    StartRegisterOn(3);
    // SYSTEM.CFG cannot be written where a directory stands in its place.
    std::filesystem::remove(context.Dirs.SystemCfg());
    std::filesystem::create_directory(context.Dirs.SystemCfg());
    ui.NextAnswer = Answer::Yes;
    TKodoIBusComm link(ui, context.Dirs.DebugLog(), MakeDeviceResolver(context.Dirs.SystemCfg(), {{3, Device(3).string()}}));
    PrepareDetectLink(link);
    DetectPortView view{[](int, const std::string&) {}, [] { return false; }};

    EXPECT_EQ(DetectPort(context, link, ui, view), 3);
    EXPECT_EQ(context.PortNumber, 3) << "in use for this run";
    ASSERT_FALSE(ui.Messages.empty());
    EXPECT_EQ(ui.Messages.back().rfind("The port could not be stored in SYSTEM.CFG.\n", 0), 0u) << ui.Messages.back();
}

TEST(ParseDataRange, AcceptsHexBaseAndDecimalCountWithinSixteenBitPages)
{
    struct Case {
        const char* base;
        const char* count;
        bool ok;
        int baseValue;
        int countValue;
    };
    const Case cases[] = {
        {"0", "8", true, 0, 8},         {" 1a ", " 3 ", true, 0x1A, 3}, {"FFFF", "1", true, 0xFFFF, 1},
        {"ffff", "0", true, 0xFFFF, 0}, {"FFFF", "2", false, 0, 0},      {"", "8", false, 0, 0},
        {"10", "", false, 0, 0},        {"1G", "8", false, 0, 0},        {"10000", "1", false, 0, 0},
        {"0", "-1", false, 0, 0},       {"0", "65537", false, 0, 0},     {"0", "65536", true, 0, 65536},
    };
    for (const auto& c : cases) {
        const auto range = ParseDataRange(c.base, c.count, MemoryKind::Ram);
        ASSERT_EQ(range.has_value(), c.ok) << "'" << c.base << "' '" << c.count << "'";
        if (range) {
            EXPECT_EQ(range->BaseAddress, c.baseValue);
            EXPECT_EQ(range->PackageCount, c.countValue);
            EXPECT_EQ(range->Memory, MemoryKind::Ram);
        }
    }
}

TEST(ListingLines, AddressesBytesAndCharacters)
{
    std::array<std::uint8_t, kPageBytes> page{};
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(0x41 + i % 26);
    page[0] = 0x7F;
    page[1] = 0xE9;
    page[2] = 0x0A;
    page[3] = 0x20;
    page[4] = 0x1F;
    const auto lines = ListingLines(0x10 * 256, page);
    EXPECT_EQ(lines[0], std::string("00001000  7f e9 0a 20 1f 46 47 48 49 4a 4b 4c 4d 4e 4f 50 ") + "\x7f\xe9. .FGHIJKLMNOP");
    EXPECT_EQ(lines[1].substr(0, 10), "00001010  ");
    EXPECT_EQ(lines[15].substr(0, 10), "000010f0  ");
    for (const auto& line : lines)
        EXPECT_EQ(line.size(), 74u);
}

struct DumpCase {
    int Base;
    int Count;
    MemoryKind Memory;
    std::string LastAddress;
};

class DumpTest : public LinkCommandsTest, public ::testing::WithParamInterface<DumpCase> {};

TEST_P(DumpTest, WritesThePagesAndTheirListing)
{
    const DumpCase c = GetParam();
    StartRegisterOn(1);
    WriteFile(TempBinPath(context.Dirs), "old");
    WriteFile(TempLogPath(context.Dirs), "old");
    TKodoIBusComm link(ui, context.Dirs.DebugLog(), MakeDeviceResolver(context.Dirs.SystemCfg()));
    link.TraceEnabled = true;

    ASSERT_TRUE(UploadDataRange(context, link, ui, {static_cast<std::uint16_t>(c.Base), c.Count, c.Memory}));
    EXPECT_FALSE(link.IsActive());
    EXPECT_EQ(ui.StatusTexts(), (std::vector<std::string>{"Connect...", "Receive Data...", "Disconnect..."}));

    const std::uint8_t selector = c.Memory == MemoryKind::Ram ? 0x10 : 0x00;
    std::vector<std::pair<int, int>> expected;
    std::string expectedBin;
    for (int k = 0; k < c.Count; ++k) {
        expected.emplace_back(c.Base + k, selector);
        const auto page = sim::DefaultPage(selector, static_cast<std::uint16_t>(c.Base + k));
        expectedBin.append(page.begin(), page.end());
    }
    EXPECT_EQ(PageRequests(), expected);
    EXPECT_EQ(ReadFile(TempBinPath(context.Dirs)), expectedBin);

    const std::string log = ReadFile(TempLogPath(context.Dirs));
    const auto lines = SplitCrLf(log);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.Count) * 16);
    EXPECT_EQ(log.size(), lines.size() * 76);
    if (c.Count > 0) {
        EXPECT_EQ(lines.back().substr(0, 8), c.LastAddress);
        EXPECT_EQ(lines.front().substr(58, 9), c.Memory == MemoryKind::Ram ? "RAM PAGE " : "ROM PAGE ");
    }
    EXPECT_EQ(simulator.WithState([](sim::RegisterState& s) { return s.LastDisconnectMode; }), 0);
}

INSTANTIATE_TEST_SUITE_P(Ranges, DumpTest,
                         ::testing::Values(DumpCase{0, 8, MemoryKind::Rom, "000007f0"},
                                           DumpCase{0x12, 2, MemoryKind::Ram, "000013f0"},
                                           DumpCase{0xFFFF, 1, MemoryKind::Rom, "00fffff0"},
                                           DumpCase{0, 0, MemoryKind::Rom, ""}));

TEST_F(LinkCommandsTest, DumpThatLosesTheRegisterKeepsThePagesReadAndTheOldListing)
{
    StartRegisterOn(1);
    WriteFile(TempLogPath(context.Dirs), "old listing\r\n");
    sim::Faults faults;
    faults.SilentAfter = 2 + 3; // connect, identification read, three pages
    simulator.SetFaults(faults);
    TKodoIBusComm link(ui, context.Dirs.DebugLog(), MakeDeviceResolver(context.Dirs.SystemCfg()));
    link.RetryCount = 0;

    EXPECT_FALSE(UploadDataRange(context, link, ui, {0, 8, MemoryKind::Rom}));
    EXPECT_EQ(ui.LastStatus(), "Receive Data...Error!");
    EXPECT_EQ(ReadFile(TempBinPath(context.Dirs)).size(), 3 * 256u);
    EXPECT_EQ(ReadFile(TempLogPath(context.Dirs)), "old listing\r\n");
    EXPECT_FALSE(link.IsActive());
}

TEST_F(LinkCommandsTest, CancelDuringADumpEndsSilentlyWithThePagesReadSoFar)
{
    StartRegisterOn(1);
    WriteFile(TempLogPath(context.Dirs), "old listing\r\n");
    TKodoIBusComm link(ui, context.Dirs.DebugLog(), MakeDeviceResolver(context.Dirs.SystemCfg()));
    bool cancelled = false;
    ui.OnProcessEvents = [&] {
        if (ui.Current == 4 && !cancelled) { // while page 3 is being read
            cancelled = true;
            ui.PressCancel();
            link.Cancel();
        }
    };

    EXPECT_FALSE(UploadDataRange(context, link, ui, {0, 8, MemoryKind::Rom}));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(ui.StatusTexts(), (std::vector<std::string>{"Connect...", "Receive Data..."})) << "no error is shown";
    EXPECT_EQ(ReadFile(TempBinPath(context.Dirs)).size(), 3 * 256u);
    EXPECT_EQ(ReadFile(TempLogPath(context.Dirs)), "old listing\r\n");
    EXPECT_FALSE(link.IsActive());
    EXPECT_EQ(simulator.WithState([](sim::RegisterState& s) { return s.LastDisconnectMode; }), 1);
}

} // namespace
} // namespace plu
