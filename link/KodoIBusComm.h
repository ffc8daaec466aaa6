#pragma once
// TKodoIBusComm: one serial port speaking the register link. Every operation is
// blocking and returns whether it succeeded; while it waits it polls the port and
// calls the user interface's ProcessEvents between polls, so windows stay alive
// and Cancel ends the wait in progress.
//
// Every transmission is a 301-byte frame plus the pad byte. Writes and the session
// messages wait for Ack (0x02); reads wait for an answer frame that echoes the
// request. Failed attempts are repeated (RetryCount times for blocks, 21 speeds for
// the connect handshake, 3 times for the disconnect message). With TraceEnabled the
// traffic is kept in Trace, which ClosePort writes to DEBUG.LOG.
#include "link/FrameCodec.h"
#include "link/SerialPort.h"

#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace plu {

class UserInterface;

enum class TBaudRate { tbr9600 = 0, tbr19200 = 1, tbr38400 = 2, tbr57600 = 3, tbr115200 = 4 };

inline constexpr std::array<int, 5> BaudRateTable{9600, 19200, 38400, 57600, 115200};

enum class WaitResult { Cancelled = -3, TimedOut = -2, Nak = -1, Ack = 1, FrameReceived = 2 };

inline constexpr std::size_t kDataBufferSize = 312;

// 8 decimal digits as packed BCD, least significant digit pair first (1234 -> 34 12 00 00).
std::array<std::uint8_t, 4> EncodeRegisterId(std::uint32_t registerId);
// The last two decimal digits of v, tens in the high nibble.
std::uint8_t BcdByte(int v);

// The connect and disconnect messages (opcode 14, addresses 1 and 2), sum included.
LinkMessage BuildConnectMessage(std::uint32_t registerId, const std::tm& localTime, int baudRateIndex);
LinkMessage BuildDisconnectMessage(std::uint32_t registerId, std::uint8_t mode);

// Text lines of a transmission or reception as the trace shows them: 16 items of
// "%2.2x " per line.
void AppendHexLines(std::vector<std::string>& lines, std::span<const std::uint8_t> bytes);

class TKodoIBusComm {
public:
    // Maps a port name ("COM3") to its device path; empty when it names none.
    using DeviceResolver = std::function<std::string(const std::string& commName)>;

    TKodoIBusComm(UserInterface& ui, std::filesystem::path debugLogPath, DeviceResolver resolver);
    ~TKodoIBusComm();
    TKodoIBusComm(const TKodoIBusComm&) = delete;
    TKodoIBusComm& operator=(const TKodoIBusComm&) = delete;

    // Published properties.
    std::string CommName;
    bool IsActive() const { return m_active; }
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate rate);      // also changes the open port's speed at once
    void SetBaudRateIndex(int index);      // 0..4; anything else means 9600
    int RetryInterval = 800;               // ms, answer time-out of a block attempt
    int RetryCount = 6;                    // repeats after the first block attempt, 0..10

    // Public fields.
    std::array<std::uint8_t, kDataBufferSize> DataBuffer{};
    bool TraceEnabled = false;
    // While above 0, its low byte replaces the disconnect message's mode byte.
    std::int32_t DisconnectCode = 0;
    std::vector<std::string> Trace;

    bool OpenPort();
    void ClosePort();
    bool Connect(std::uint32_t registerId);
    bool Disconnect(std::uint32_t registerId, std::uint8_t mode);
    bool WriteBlock(std::uint8_t opcode, std::uint16_t address);
    bool ReadBlock(std::uint8_t opcode, std::uint16_t address);
    void Cancel() { m_cancel = true; }

    // The port speed in use now (changes during the speed hunt).
    int PortSpeed() const { return m_port.Speed(); }
    // Why the port last failed (open error or a device that went away).
    const std::string& PortError() const { return m_port.LastError(); }

    // For tests and the demo: the clock the connect message takes its date from.
    std::function<std::tm()> Clock;
    // How long a poll of the port may block before ProcessEvents runs again.
    int PollSliceMs = 10;

private:
    WaitResult WaitForAnswer(int timeoutMs);
    bool SendFrame(const LinkMessage& message);
    void TraceRetry(int attempt);
    void TraceReceived(std::span<const std::uint8_t> bytes);
    bool PumpPort(long long timeoutMicros);
    void ShowOpenError();

    UserInterface& m_ui;
    std::filesystem::path m_debugLogPath;
    DeviceResolver m_resolver;
    SerialPort m_port;
    FrameReceiver m_receiver;
    LinkMessage m_message{};
    LinkMessage m_request{};
    bool m_active = false;
    bool m_cancel = false;
    bool m_transmitDone = true;
    bool m_portGone = false;
    bool m_sumError = false;
    TBaudRate m_baudRate = TBaudRate::tbr9600;
    std::vector<std::uint8_t> m_chunk;
};

} // namespace plu
