#include "tests/core/TestFiles.h"
#include "SimulatorFixture.h"

#include <chrono>
#include <fcntl.h>
#include <termios.h>
#include <thread>

namespace plu {
namespace {

using test::ReadFile;

using test::SimulatorFixture;
using Clock = std::chrono::steady_clock;

int CountLines(const std::vector<std::string>& trace, const std::string& line)
{
    return static_cast<int>(std::count(trace.begin(), trace.end(), line));
}

TEST(LinkMessages, ConnectMessageAndRegisterId)
{
    EXPECT_EQ(EncodeRegisterId(1234), (std::array<std::uint8_t, 4>{0x34, 0x12, 0x00, 0x00}));
    EXPECT_EQ(EncodeRegisterId(1234567890), (std::array<std::uint8_t, 4>{0x90, 0x78, 0x56, 0x34})); // digits beyond 8 dropped
    EXPECT_EQ(BcdByte(2006), 0x06);

    std::tm when{};
    when.tm_year = 2006 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 3;
    when.tm_hour = 10;
    when.tm_min = 20;
    when.tm_sec = 30;
    LinkMessage message = BuildConnectMessage(1234, when, 2);
    const std::vector<std::uint8_t> head{0x0E, 0x01, 0x00, 0x34, 0x12, 0x00, 0x00, 0x06, 0x03, 0x03, 0x10, 0x20, 0x30, 0x02, 0x01};
    EXPECT_EQ(std::vector<std::uint8_t>(message.begin(), message.begin() + 15), head);
    EXPECT_TRUE(std::all_of(message.begin() + 15, message.begin() + 259, [](auto b) { return b == 0; }));
    EXPECT_EQ(MessageSum(message), 0x00C4);
    LinkFrame frame;
    PackFrame(message, frame);
    const std::vector<std::uint8_t> frameHead{0x03, 0x8E, 0x81, 0x80, 0xB4, 0x92, 0x80, 0x80, 0x80,
                                              0x86, 0x83, 0x83, 0x90, 0xA0, 0xB0, 0x82, 0x80, 0x81};
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 18), frameHead);
    EXPECT_EQ(std::vector<std::uint8_t>(frame.end() - 4, frame.end()), (std::vector<std::uint8_t>{0xC4, 0x80, 0x81, 0x04}));
}

TEST(LinkTrace, FormatsSixteenItemsPerLine)
{
    std::vector<std::string> lines;
    std::vector<std::uint8_t> bytes(302, 0xAB);
    bytes[0] = 0x03;
    AppendHexLines(lines, bytes);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0].substr(0, 9), "03 ab ab ");
    EXPECT_EQ(lines[0].size(), 48u);
    EXPECT_EQ(lines[18].size(), 14u * 3);
}

TEST_F(SimulatorFixture, SessionConnectsReadsIdentificationAndDisconnects)
{
    ASSERT_TRUE(link->OpenPort());
    ASSERT_TRUE(link->Connect(1234));
    // The identification page is RAM page 0 and stays in DataBuffer.
    EXPECT_EQ(std::string(link->DataBuffer.begin(), link->DataBuffer.begin() + 16), "RAM PAGE 0000   ");
    auto reads = ReceivedWith(14, 16);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].Message[kPayloadOffset + 2], 0x10);
    EXPECT_TRUE(link->Disconnect(1234, 0));
    link->ClosePort();
    EXPECT_FALSE(link->IsActive());

    // connect (21 + 3 lines), read (21 + 21), disconnect (21 + 3); CR LF after every line
    const std::string log = ReadFile(home / "DEBUG.LOG");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 90);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\r'), 90);
    EXPECT_EQ(log.rfind(">>>>>>Send data<<<<<<<<\r\n03 8e 81 80 b4 92 80 80 80 ", 0), 0u);
    EXPECT_NE(log.find(">>>>>>Receive data<<<<<<<<\r\n02 \r\n\r\n"), std::string::npos);
}

TEST_F(SimulatorFixture, AcknowledgedWriteLeavesTwentyFourTraceLines)
{
    ASSERT_TRUE(link->OpenPort());
    link->DataBuffer.fill(0x11);
    const std::size_t before = link->Trace.size();
    simulator.SetHandler(9, 0, [](sim::RegisterState&, const LinkMessage&) { return sim::Reply::Ack(); });
    ASSERT_TRUE(link->WriteBlock(9, 0));
    std::vector<std::string> lines(link->Trace.begin() + static_cast<long>(before), link->Trace.end());
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], ">>>>>>Send data<<<<<<<<");
    EXPECT_EQ(lines[19].size(), 14u * 3); // 302 bytes: 18 lines of 16 and one of 14
    EXPECT_EQ(lines[19].substr(lines[19].size() - 6), "04 ff ");
    EXPECT_EQ(lines[20], "");
    EXPECT_EQ(lines[21], ">>>>>>Receive data<<<<<<<<");
    EXPECT_EQ(lines[22], "02 ");
    EXPECT_EQ(lines[23], "");
}

struct RetryCase {
    const char* name;
    int retryCount;
    sim::Faults faults;
    bool succeeds;
    std::size_t frames;
};

TEST_F(SimulatorFixture, BlockWritesRepeatUntilAckOrRetryCount)
{
    simulator.SetHandler(9, 0, [](sim::RegisterState&, const LinkMessage&) { return sim::Reply::Ack(); });
    const RetryCase cases[] = {
        {"unanswered, defaults", 6, {.Silent = -1}, false, 7},
        {"acknowledged seventh frame", 6, {.Nak = 6}, true, 7},
        {"naks are failed attempts", 2, {.Nak = -1}, false, 3},
        {"retry count 0 tries once", 0, {.Silent = -1}, false, 1},
    };
    ASSERT_TRUE(link->OpenPort());
    link->RetryInterval = 60;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        simulator.SetFaults(c.faults);
        simulator.ClearReceived();
        link->Trace.clear();
        link->RetryCount = c.retryCount;
        EXPECT_EQ(link->WriteBlock(9, 0), c.succeeds);
        EXPECT_EQ(ReceivedWith(9, 0).size(), c.frames);
        for (int attempt = 1; attempt <= c.retryCount; ++attempt)
            EXPECT_EQ(CountLines(link->Trace, "Retry:" + std::to_string(attempt)), static_cast<int>(attempt < static_cast<int>(c.frames)));
        EXPECT_EQ(CountLines(link->Trace, ">>>>>>Send data<<<<<<<<"), static_cast<int>(c.frames));
    }
}

TEST_F(SimulatorFixture, ReadRetriesABadSumAndTimesOutOnAWrongEcho)
{
    ASSERT_TRUE(link->OpenPort());
    link->RetryInterval = 100;
    simulator.SetFaults({.BadSum = 1});
    link->DataBuffer.fill(0);
    link->DataBuffer[0] = 3;
    ASSERT_TRUE(link->ReadBlock(14, 16));
    EXPECT_EQ(std::string(link->DataBuffer.begin(), link->DataBuffer.begin() + 8), "ROM PAGE");
    // The bad frame is traced as received data, then the retry follows.
    auto received = std::find(link->Trace.begin(), link->Trace.end(), ">>>>>>Receive data<<<<<<<<");
    auto retry = std::find(link->Trace.begin(), link->Trace.end(), "Retry:1");
    ASSERT_NE(received, link->Trace.end());
    ASSERT_NE(retry, link->Trace.end());
    EXPECT_LT(received, retry);

    simulator.SetFaults({.WrongEcho = -1});
    link->RetryCount = 1;
    link->DataBuffer.fill(0);
    link->DataBuffer[0] = 7;
    EXPECT_FALSE(link->ReadBlock(14, 16));
    EXPECT_EQ(CountLines(link->Trace, "Retry:1"), 2);
    // No frame arrived in the last attempt: DataBuffer holds the request again.
    EXPECT_EQ(link->DataBuffer[0], 7);
    EXPECT_EQ(link->DataBuffer[1], 0);
}

TEST_F(SimulatorFixture, SpeedHuntFindsARegisterAnsweringOnlyAt38400)
{
    simulator.SetAnswerSpeeds({38400});
    link->SetBaudRate(TBaudRate::tbr57600);
    ASSERT_TRUE(link->OpenPort());
    ASSERT_TRUE(link->Connect(1234));
    auto connects = ReceivedWith(14, 1);
    ASSERT_EQ(connects.size(), 4u); // attempts 0..3
    const int speeds[] = {9600, 9600, 19200, 38400};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(connects[i].Speed, speeds[i]);
    EXPECT_EQ(connects[3].Message[13], 3); // the session speed announced
    EXPECT_EQ(CountLines(link->Trace, "Retry:3"), 1);
    // The identification read already runs at the session speed.
    auto reads = ReceivedWith(14, 16);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].Speed, 57600);
    EXPECT_EQ(link->PortSpeed(), 57600);
}

TEST_F(SimulatorFixture, ConnectSurvivesNaksUntilTheTwentyFirstAttempt)
{
    simulator.SetFaults({.Nak = -1});
    ASSERT_TRUE(link->OpenPort());
    EXPECT_FALSE(link->Connect(1234));
    auto connects = ReceivedWith(14, 1);
    ASSERT_EQ(connects.size(), 21u);
    const int table[] = {9600, 19200, 38400, 57600, 115200};
    EXPECT_EQ(connects[0].Speed, 9600);
    for (std::size_t n = 1; n < 21; ++n)
        EXPECT_EQ(connects[n].Speed, table[(n - 1) % 5]) << "attempt " << n;
    EXPECT_EQ(link->PortSpeed(), 115200); // left at the last speed tried
    EXPECT_EQ(CountLines(link->Trace, "Retry:20"), 1);
}

TEST_F(SimulatorFixture, CancelDuringTheFirstWaitSendsNothingMore)
{
    simulator.SetHandler(9, 0, [](sim::RegisterState&, const LinkMessage&) { return sim::Reply::Ack(); });
    simulator.SetFaults({.Silent = -1});
    ASSERT_TRUE(link->OpenPort());
    int calls = 0;
    ui.OnProcessEvents = [&] {
        if (++calls == 3)
            link->Cancel();
    };
    const auto start = Clock::now();
    EXPECT_FALSE(link->WriteBlock(9, 0));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(CountLines(link->Trace, ">>>>>>Send data<<<<<<<<"), 1);
    ui.OnProcessEvents = nullptr;
    // The cancel lives only within that wait: the next operation works.
    simulator.SetFaults({});
    EXPECT_TRUE(link->WriteBlock(9, 0));
}

TEST_F(SimulatorFixture, DisconnectCodeReplacesTheModeWhileAboveZero)
{
    ASSERT_TRUE(link->OpenPort());
    link->DisconnectCode = 3;
    EXPECT_TRUE(link->Disconnect(1234, 0));
    link->DisconnectCode = 0;
    EXPECT_TRUE(link->Disconnect(1234, 1));
    auto disconnects = ReceivedWith(14, 2);
    ASSERT_EQ(disconnects.size(), 2u);
    EXPECT_EQ(disconnects[0].Message[7], 3);
    EXPECT_EQ(disconnects[1].Message[7], 1);
    EXPECT_EQ(std::vector<std::uint8_t>(disconnects[1].Message.begin() + 3, disconnects[1].Message.begin() + 7),
              (std::vector<std::uint8_t>{0x34, 0x12, 0x00, 0x00}));

    // Unanswered: three messages, no retry lines.
    simulator.SetFaults({.Silent = -1});
    simulator.ClearReceived();
    link->Trace.clear();
    EXPECT_FALSE(link->Disconnect(1234, 0));
    EXPECT_EQ(ReceivedWith(14, 2).size(), 3u);
    EXPECT_EQ(CountLines(link->Trace, "Retry:1"), 0);
}

TEST_F(SimulatorFixture, PortHandling)
{
    // Reopening an open port closes it first and clears the trace.
    ASSERT_TRUE(link->OpenPort());
    link->Trace.push_back("old");
    ASSERT_TRUE(link->OpenPort());
    EXPECT_TRUE(link->Trace.empty());

    // The speed setter acts on the open port at once.
    link->SetBaudRate(TBaudRate::tbr19200);
    int fd = ::open(devicePath.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), B19200);

    // A second program cannot take the port while it is open.
    test::TestUserInterface otherUi;
    TKodoIBusComm other(otherUi, home / "OTHER.LOG", MakeDeviceResolver(context.Dirs.SystemCfg()));
    other.CommName = "COM2";
    EXPECT_FALSE(other.OpenPort());
    ASSERT_EQ(otherUi.Messages.size(), 1u);
    EXPECT_EQ(otherUi.Messages[0].rfind("Error opening COM2!\r\nplease select other ports.\n", 0), 0u);
    EXPECT_NE(otherUi.Messages[0].find("Another program is using the port."), std::string::npos);

    // With tracing off, ClosePort writes an empty DEBUG.LOG, also when not open.
    link->TraceEnabled = false;
    link->ClosePort();
    EXPECT_TRUE(std::filesystem::exists(home / "DEBUG.LOG"));
    link->ClosePort();
    EXPECT_EQ(std::filesystem::file_size(home / "DEBUG.LOG"), 0u);
}

TEST_F(SimulatorFixture, OpenErrorNamesThePortAndTheReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "No such file or directory"}, // mapped to a device that does not exist
        {"COM0", "No device is configured for COM0"},
        {"COM7", "No device is configured for COM7"},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        ui.Messages.clear();
        std::ofstream(home / "SYSTEM.CFG") << "[Ports]\r\nCOM1=" << (home / "missing").string() << "\r\n";
        link->CommName = name;
        EXPECT_FALSE(link->OpenPort());
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].rfind("Error opening " + std::string(name) + "!\r\nplease select other ports.", 0), 0u);
        EXPECT_NE(ui.Messages[0].find(reason), std::string::npos) << ui.Messages[0];
    }
}

TEST_F(SimulatorFixture, ADeviceThatGoesAwayEndsTheOperationQuickly)
{
    ASSERT_TRUE(link->OpenPort());
    ASSERT_TRUE(link->Connect(1234));
    simulator.Stop();
    const auto start = Clock::now();
    link->DataBuffer.fill(0);
    EXPECT_FALSE(link->ReadBlock(0, 0));
    EXPECT_FALSE(link->Disconnect(1234, 1));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    link->ClosePort();
}

TEST(LinkDrain, AnOutputThatNeverDrainsCountsAsATimedOutAttempt)
{
    // A pseudo-terminal whose other end nobody reads: its buffer fills up.
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    int filler = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(filler, 0);
    termios tio{};
    ::tcgetattr(filler, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(filler, TCSANOW, &tio);

    auto dir = test::FreshDir("drain");
    test::TestUserInterface ui;
    TKodoIBusComm link(ui, dir / "DEBUG.LOG", [&](const std::string&) { return slave; });
    link.CommName = "COM2";
    link.RetryCount = 0;
    link.SetBaudRate(TBaudRate::tbr115200);
    ASSERT_TRUE(link.OpenPort()) << (ui.Messages.empty() ? "" : ui.Messages[0]);
    // The terminal moves data on in the background; fill until it stays full.
    std::vector<char> block(4096, 'x');
    for (int quiet = 0; quiet < 3;) {
        bool wrote = false;
        while (::write(filler, block.data(), block.size()) > 0 || ::write(filler, block.data(), 1) > 0)
            wrote = true;
        quiet = wrote ? 0 : quiet + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const auto start = Clock::now();
    EXPECT_FALSE(link.WriteBlock(9, 0));
    const auto took = Clock::now() - start;
    EXPECT_GT(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::milliseconds(3000));
    link.ClosePort();
    ::close(filler);
    ::close(master);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace plu
