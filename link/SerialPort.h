#pragma once
// A serial port opened by device path, raw 8N1, for the register link.
//
// Open takes exclusive access (flock and TIOCEXCL), sets raw mode with no flow
// control on output, DTR off and RTS on, asks the driver for low-latency mode
// where it has one, and keeps the descriptor non-blocking. Writes are queued and
// handed to the driver as it takes them; Poll waits for input or for room to
// write. A device that went away (unplugged adapter, hung-up terminal) is told
// apart from silence and reported as PortEvent::Gone.
//
// Errors come back as values; the text names the device and the system's reason.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plu {

enum class PortEvent { Nothing, Data, Gone };

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    bool Open(const std::string& devicePath, int baud);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Takes effect at once, also while open; remembered for the next Open.
    bool SetSpeed(int baud);
    int Speed() const { return m_baud; }

    // Queues bytes and writes what the driver takes now.
    bool Send(std::span<const std::uint8_t> bytes);
    // True when nothing is queued here and the driver's output queue is empty.
    bool OutputDrained() { return QueuedBytes() == 0; }
    // Bytes not yet on the line: queued here plus those in the driver's queue.
    std::size_t QueuedBytes();
    // Waits up to timeoutMicros for input (appended to received) or for the
    // driver to take more queued output. Returns Data when bytes arrived, Gone
    // when the device went away or failed (LastError() says why), else Nothing.
    PortEvent Poll(long long timeoutMicros, std::vector<std::uint8_t>& received);

    const std::string& LastError() const { return m_lastError; }
    int LastErrno() const { return m_lastErrno; }

    static bool IsSupportedSpeed(int baud);

private:
    bool Fail(const std::string& what, int err);
    bool WritePending();

    int m_fd = -1;
    int m_baud = 9600;
    std::string m_device;
    std::vector<std::uint8_t> m_pending;
    std::string m_lastError;
    int m_lastErrno = 0;
};

} // namespace plu
