#include "link/KodoIBusComm.h"

#include "shell/UserInterface.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>

namespace plu {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::uint8_t kSessionOpcode = 14;
constexpr int kConnectAttempts = 21;
constexpr int kConnectTimeoutMs = 800;
constexpr int kDisconnectAttempts = 3;
constexpr int kDisconnectTimeoutMs = 100;
// The handing-off of a transmission is given its line time plus this much; a
// port whose output never drains then counts as a timed-out attempt.
constexpr int kDrainSlackMs = 1000;
// The hand-off is not signalled: look again after the line time of what is still
// queued, but at least this often, so the answer time-out starts within a fraction
// of a byte time of the real end of the transmission.
constexpr long long kDrainPollMinMicros = 100;

std::tm LocalNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

int LineTimeMs(std::size_t bytes, int baud)
{
    // 10 bit times per byte (start, 8 data, stop), rounded up.
    return static_cast<int>((bytes * 10 * 1000 + static_cast<std::size_t>(baud) - 1) / static_cast<std::size_t>(baud));
}

} // namespace

std::array<std::uint8_t, 4> EncodeRegisterId(std::uint32_t registerId)
{
    std::array<std::uint8_t, 4> out{};
    std::uint32_t v = registerId % 100000000u;
    for (auto& byte : out) {
        byte = BcdByte(static_cast<int>(v % 100));
        v /= 100;
    }
    return out;
}

std::uint8_t BcdByte(int v)
{
    if (v < 0)
        v = -v;
    return static_cast<std::uint8_t>(((v / 10) % 10) * 16 + (v % 10));
}

LinkMessage BuildConnectMessage(std::uint32_t registerId, const std::tm& localTime, int baudRateIndex)
{
    LinkMessage message{};
    message[0] = kSessionOpcode;
    message[1] = 1;
    message[2] = 0;
    auto id = EncodeRegisterId(registerId);
    std::copy(id.begin(), id.end(), message.begin() + 3);
    message[7] = BcdByte(localTime.tm_year + 1900);
    message[8] = BcdByte(localTime.tm_mon + 1);
    message[9] = BcdByte(localTime.tm_mday);
    message[10] = BcdByte(localTime.tm_hour);
    message[11] = BcdByte(localTime.tm_min);
    message[12] = BcdByte(localTime.tm_sec);
    message[13] = static_cast<std::uint8_t>(baudRateIndex);
    message[14] = 1;
    StoreSum(message);
    return message;
}

LinkMessage BuildDisconnectMessage(std::uint32_t registerId, std::uint8_t mode)
{
    LinkMessage message{};
    message[0] = kSessionOpcode;
    message[1] = 2;
    message[2] = 0;
    auto id = EncodeRegisterId(registerId);
    std::copy(id.begin(), id.end(), message.begin() + 3);
    message[7] = mode;
    StoreSum(message);
    return message;
}

void AppendHexLines(std::vector<std::string>& lines, std::span<const std::uint8_t> bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
        line += ' ';
        if (i % 16 == 15) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
}

TKodoIBusComm::TKodoIBusComm(UserInterface& ui, std::filesystem::path debugLogPath, DeviceResolver resolver)
    : Clock(LocalNow), m_ui(ui), m_debugLogPath(std::move(debugLogPath)), m_resolver(std::move(resolver))
{
    m_receiver.OnComplete = [this](std::span<const std::uint8_t> bytes) { TraceReceived(bytes); };
}

TKodoIBusComm::~TKodoIBusComm() { m_port.Close(); }

void TKodoIBusComm::SetBaudRate(TBaudRate rate)
{
    m_baudRate = rate;
    m_port.SetSpeed(BaudRateTable[static_cast<std::size_t>(rate)]);
}

void TKodoIBusComm::SetBaudRateIndex(int index)
{
    SetBaudRate(index >= 0 && index < static_cast<int>(BaudRateTable.size()) ? static_cast<TBaudRate>(index)
                                                                            : TBaudRate::tbr9600);
}

void TKodoIBusComm::ShowOpenError()
{
    std::string text = "Error opening " + CommName + "!\r\nplease select other ports.";
    std::string reason = m_port.LastError();
    if (m_port.LastErrno() == ENODEV && reason.rfind("no device", 0) == 0)
        reason = "No device is configured for " + CommName + " ([Ports] in SYSTEM.CFG).";
    if (!reason.empty())
        text += "\n" + reason;
    if (m_port.LastErrno() == EACCES || m_port.LastErrno() == EPERM)
        text += "\nTo use serial ports, add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again.";
    if (m_port.LastErrno() == EBUSY)
        text += "\nAnother program is using the port.";
    m_ui.ShowMessage(MessageKind::Error, text);
}

bool TKodoIBusComm::OpenPort()
{
    m_port.Close();
    m_active = false;
    const std::string device = m_resolver ? m_resolver(CommName) : std::string();
    if (!m_port.Open(device, m_port.Speed())) {
        ShowOpenError();
        return false;
    }
    m_active = true;
    m_portGone = false;
    m_transmitDone = true;
    Trace.clear();
    return true;
}

void TKodoIBusComm::ClosePort()
{
    m_active = false;
    m_port.Close();
    std::ofstream out(m_debugLogPath, std::ios::binary | std::ios::trunc);
    for (const auto& line : Trace) {
        out << line << "\r\n";
    }
}

void TKodoIBusComm::TraceRetry(int attempt)
{
    if (!TraceEnabled)
        return;
    Trace.emplace_back();
    Trace.push_back("Retry:" + std::to_string(attempt));
}

void TKodoIBusComm::TraceReceived(std::span<const std::uint8_t> bytes)
{
    if (!TraceEnabled)
        return;
    Trace.emplace_back(">>>>>>Receive data<<<<<<<<");
    AppendHexLines(Trace, bytes);
    Trace.emplace_back();
}

bool TKodoIBusComm::SendFrame(const LinkMessage& message)
{
    std::array<std::uint8_t, kTransmissionSize> bytes{};
    LinkFrame frame;
    PackFrame(message, frame);
    std::copy(frame.begin(), frame.end(), bytes.begin());
    bytes[kFrameSize] = kPad;
    m_transmitDone = false;
    if (TraceEnabled) {
        Trace.emplace_back(">>>>>>Send data<<<<<<<<");
        AppendHexLines(Trace, bytes);
        Trace.emplace_back();
    }
    if (m_portGone || !m_port.Send(bytes)) {
        m_portGone = true;
        return false;
    }
    return true;
}

bool TKodoIBusComm::PumpPort(long long timeoutMicros)
{
    if (m_portGone)
        return false;
    m_chunk.clear();
    switch (m_port.Poll(timeoutMicros, m_chunk)) {
    case PortEvent::Data:
        m_receiver.Feed(m_chunk);
        return true;
    case PortEvent::Gone:
        m_portGone = true;
        return false;
    case PortEvent::Nothing:
        return true;
    }
    return true;
}

WaitResult TKodoIBusComm::WaitForAnswer(int timeoutMs)
{
    m_cancel = false;
    m_receiver.Reset();
    bool timedOut = false;

    // Phase 1: until the port has handed off the whole transmission.
    const auto drainDeadline = SteadyClock::now() + std::chrono::milliseconds(LineTimeMs(kTransmissionSize, m_port.Speed()) + kDrainSlackMs);
    while (!m_transmitDone && !m_cancel) {
        if (m_port.OutputDrained()) {
            m_transmitDone = true;
            break;
        }
        m_ui.ProcessEvents();
        if (m_cancel)
            break;
        const long long lineMicros =
            static_cast<long long>(m_port.QueuedBytes()) * 10 * 1000000 / std::max(1, m_port.Speed());
        const long long waitMicros = std::clamp(lineMicros, kDrainPollMinMicros, PollSliceMs * 1000LL);
        if (!PumpPort(waitMicros) || SteadyClock::now() >= drainDeadline) {
            timedOut = true;
            break;
        }
    }

    // Phase 2: the answer time-out counts from the hand-off.
    if (!timedOut && !m_cancel) {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
        while (!m_cancel && m_receiver.State() <= 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
            if (left <= 0) {
                timedOut = true;
                break;
            }
            m_ui.ProcessEvents();
            if (m_cancel)
                break;
            if (!PumpPort(std::min<long long>(left, PollSliceMs) * 1000)) {
                timedOut = true; // the device went away: nothing more can arrive
                break;
            }
        }
    }

    if (m_cancel)
        return WaitResult::Cancelled;
    if (timedOut)
        return WaitResult::TimedOut;
    if (m_receiver.AnswerByte() == kNak)
        return WaitResult::Nak;
    if (m_receiver.AnswerByte() == kAck)
        return WaitResult::Ack;
    return WaitResult::FrameReceived;
}

bool TKodoIBusComm::WriteBlock(std::uint8_t opcode, std::uint16_t address)
{
    m_message = MakeMessage(opcode, address, std::span<const std::uint8_t, kPayloadSize>(DataBuffer.data(), kPayloadSize));
    const int retries = std::clamp(RetryCount, 0, 10);
    for (int n = 0;; ++n) {
        if (n > 0)
            TraceRetry(n);
        SendFrame(m_message);
        m_receiver.ReceiveMode = FrameReceiver::Mode::AckMode;
        if (WaitForAnswer(RetryInterval) == WaitResult::Ack)
            return true;
        if (m_cancel || n >= retries)
            return false;
    }
}

bool TKodoIBusComm::ReadBlock(std::uint8_t opcode, std::uint16_t address)
{
    m_request = MakeMessage(opcode, address, std::span<const std::uint8_t, kPayloadSize>(DataBuffer.data(), kPayloadSize));
    const int retries = std::clamp(RetryCount, 0, 10);
    bool success = false;
    for (int n = 0;; ++n) {
        m_sumError = false;
        if (n > 0)
            TraceRetry(n);
        m_message = m_request;
        LinkFrame frame;
        PackFrame(m_message, frame);
        m_receiver.ExpectedEcho = {frame[1], frame[2], frame[3]};
        SendFrame(m_message);
        m_receiver.ReceiveMode = FrameReceiver::Mode::FrameMode;
        if (WaitForAnswer(RetryInterval) == WaitResult::FrameReceived) {
            UnpackFrame(m_receiver.Frame(), m_message, m_sumError);
            if (!m_sumError) {
                success = true;
                break;
            }
        }
        if (m_cancel || n >= retries)
            break;
    }
    std::copy(m_message.begin() + kPayloadOffset, m_message.begin() + kPayloadOffset + kPayloadSize, DataBuffer.begin());
    return success;
}

bool TKodoIBusComm::Connect(std::uint32_t registerId)
{
    m_message = BuildConnectMessage(registerId, Clock(), static_cast<int>(m_baudRate));
    const LinkMessage connect = m_message;
    bool acknowledged = false;
    for (int n = 0; n < kConnectAttempts; ++n) {
        if (n > 0)
            TraceRetry(n);
        m_port.SetSpeed(n == 0 ? BaudRateTable[0] : BaudRateTable[static_cast<std::size_t>((n - 1) % 5)]);
        m_message = connect;
        SendFrame(m_message);
        m_receiver.ReceiveMode = FrameReceiver::Mode::AckMode;
        if (WaitForAnswer(kConnectTimeoutMs) == WaitResult::Ack) {
            acknowledged = true;
            break;
        }
        if (m_cancel)
            return false;
    }
    if (!acknowledged)
        return false;
    m_port.SetSpeed(BaudRateTable[static_cast<std::size_t>(m_baudRate)]);
    DataBuffer.fill(0);
    DataBuffer[2] = 0x10;
    return ReadBlock(kSessionOpcode, 16);
}

bool TKodoIBusComm::Disconnect(std::uint32_t registerId, std::uint8_t mode)
{
    const std::uint8_t sent = DisconnectCode > 0 ? static_cast<std::uint8_t>(DisconnectCode & 0xFF) : mode;
    const LinkMessage disconnect = BuildDisconnectMessage(registerId, sent);
    for (int i = 0; i < kDisconnectAttempts; ++i) {
        m_message = disconnect;
        SendFrame(m_message);
        m_receiver.ReceiveMode = FrameReceiver::Mode::AckMode;
        if (WaitForAnswer(kDisconnectTimeoutMs) == WaitResult::Ack)
            return true;
    }
    return false;
}

} // namespace plu
