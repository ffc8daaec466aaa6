#include "link/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace plu {
namespace {

speed_t SpeedConstant(int baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
    }
}

} // namespace

SerialPort::~SerialPort() { Close(); }

bool SerialPort::IsSupportedSpeed(int baud) { return SpeedConstant(baud) != 0; }

bool SerialPort::Fail(const std::string& what, int err)
{
    m_lastErrno = err;
    m_lastError = what + ": " + std::strerror(err);
    return false;
}

bool SerialPort::Open(const std::string& devicePath, int baud)
{
    Close();
    m_lastError.clear();
    m_lastErrno = 0;
    m_device = devicePath;
    if (devicePath.empty())
        return Fail("no device", ENODEV);
    if (SpeedConstant(baud) == 0)
        return Fail(devicePath, EINVAL);
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(devicePath, errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return Fail(devicePath, EBUSY); // another program holds the port
        return Fail(devicePath, err);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        int err = errno;
        ::close(fd);
        return Fail(devicePath, err);
    }
    ::ioctl(fd, TIOCEXCL);
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, SpeedConstant(baud));
    ::cfsetospeed(&tio, SpeedConstant(baud));
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        int err = errno;
        ::close(fd);
        return Fail(devicePath, err);
    }
    // DTR off, RTS on. Pseudo-terminals reject modem-control ioctls; that is fine.
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &dtr);
    ::ioctl(fd, TIOCMBIS, &rts);
    // USB adapters hold back short answers for up to 16 ms unless asked not to.
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && !(serial.flags & ASYNC_LOW_LATENCY)) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    m_baud = baud;
    m_pending.clear();
    return true;
}

void SerialPort::Close()
{
    if (m_fd < 0)
        return;
    // Whatever the driver still holds would make close wait; it is of no use now.
    if (!OutputDrained())
        ::tcflush(m_fd, TCOFLUSH);
    // Exclusive mode outlives this descriptor when someone else holds the device
    // open (a simulator, a getty); give it back so the next open succeeds.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_pending.clear();
}

bool SerialPort::SetSpeed(int baud)
{
    if (SpeedConstant(baud) == 0)
        return Fail(m_device, EINVAL);
    m_baud = baud;
    if (m_fd < 0)
        return true;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return Fail(m_device, errno);
    ::cfsetispeed(&tio, SpeedConstant(baud));
    ::cfsetospeed(&tio, SpeedConstant(baud));
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return Fail(m_device, errno);
    return true;
}

bool SerialPort::WritePending()
{
    while (!m_pending.empty()) {
        ssize_t n = ::write(m_fd, m_pending.data(), m_pending.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                return true;
            return Fail(m_device, errno);
        }
        m_pending.erase(m_pending.begin(), m_pending.begin() + n);
    }
    return true;
}

bool SerialPort::Send(std::span<const std::uint8_t> bytes)
{
    if (m_fd < 0)
        return Fail(m_device, EBADF);
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    return WritePending();
}

std::size_t SerialPort::QueuedBytes()
{
    if (m_fd < 0)
        return 0;
    int queued = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued < 0)
        queued = 0; // no way to tell: count the driver's part as handed off
    return m_pending.size() + static_cast<std::size_t>(queued);
}

PortEvent SerialPort::Poll(long long timeoutMicros, std::vector<std::uint8_t>& received)
{
    if (m_fd < 0) {
        Fail(m_device, EBADF);
        return PortEvent::Gone;
    }
    pollfd pfd{m_fd, static_cast<short>(POLLIN | (m_pending.empty() ? 0 : POLLOUT)), 0};
    if (timeoutMicros < 0)
        timeoutMicros = 0;
    const timespec timeout{static_cast<time_t>(timeoutMicros / 1000000), static_cast<long>(timeoutMicros % 1000000) * 1000};
    int ready = ::ppoll(&pfd, 1, &timeout, nullptr);
    if (ready < 0) {
        if (errno == EINTR)
            return PortEvent::Nothing;
        Fail(m_device, errno);
        return PortEvent::Gone;
    }
    if (ready == 0)
        return PortEvent::Nothing;
    if (pfd.revents & POLLNVAL) {
        Fail(m_device, EBADF);
        return PortEvent::Gone;
    }
    if ((pfd.revents & POLLOUT) && !WritePending())
        return PortEvent::Gone;
    if (pfd.revents & (POLLIN | POLLHUP | POLLERR)) {
        std::uint8_t buffer[2048];
        ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            received.insert(received.end(), buffer, buffer + n);
            return PortEvent::Data;
        }
        if (n == 0) {
            // Readable but no bytes: the other end hung up.
            Fail(m_device, EIO);
            return PortEvent::Gone;
        }
        if (errno == EAGAIN || errno == EINTR)
            return PortEvent::Nothing;
        Fail(m_device, errno);
        return PortEvent::Gone;
    }
    return PortEvent::Nothing;
}

} // namespace plu
