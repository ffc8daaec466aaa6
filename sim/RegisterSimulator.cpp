#include "sim/RegisterSimulator.h"

#include "link/KodoIBusComm.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace plu::sim {
namespace {

using SteadyClock = std::chrono::steady_clock;

int SpeedOf(speed_t constant)
{
    switch (constant) {
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

std::chrono::microseconds LineTime(std::size_t bytes, int speed)
{
    if (speed <= 0)
        return std::chrono::microseconds(0);
    return std::chrono::microseconds(static_cast<long long>(bytes) * 10 * 1000000 / speed);
}

bool CountDown(int& count)
{
    if (count == 0)
        return false;
    if (count > 0)
        --count;
    return true;
}

constexpr std::uint8_t kNoise[] = {0x00, 0x41, 0x7F, 0xC3, 0x11, 0x8E, 0x20};

} // namespace

std::array<std::uint8_t, kPageSize> DefaultPage(std::uint8_t selector, std::uint16_t page)
{
    std::array<std::uint8_t, kPageSize> content{};
    char head[17];
    std::snprintf(head, sizeof head, "%s PAGE %04X   ", selector == 0x10 ? "RAM" : "ROM", page);
    std::memcpy(content.data(), head, 16);
    for (std::size_t i = 16; i < kPageSize; ++i)
        content[i] = static_cast<std::uint8_t>((page + i) & 0xFF);
    return content;
}

RegisterSimulator::RegisterSimulator(Options options) : m_options(std::move(options))
{
    // The session messages and the reads every command starts with.
    SetHandler(14, 1, [this](RegisterState& state, const LinkMessage& message) {
        state.Connected = true;
        const int index = message[13];
        state.SessionSpeed = index < 5 ? BaudRateTable[static_cast<std::size_t>(index)] : 0;
        ++state.ConnectCount;
        return Reply::Ack();
    });
    SetHandler(14, 2, [](RegisterState& state, const LinkMessage& message) {
        state.Connected = false;
        state.LastDisconnectMode = message[7];
        ++state.DisconnectCount;
        return Reply::Ack();
    });
    SetHandler(14, 16, [](RegisterState& state, const LinkMessage& message) {
        const std::uint16_t page = static_cast<std::uint16_t>(message[kPayloadOffset] | (message[kPayloadOffset + 1] << 8));
        const std::uint8_t selector = message[kPayloadOffset + 2];
        auto found = state.Pages.find({selector, page});
        return Reply::Frame(found != state.Pages.end() ? found->second : DefaultPage(selector, page));
    });
    SetHandler(0, 0, [](RegisterState& state, const LinkMessage&) { return Reply::Frame(state.StatusBlock); });
}

RegisterSimulator::~RegisterSimulator() { Stop(); }

void RegisterSimulator::SetHandler(std::uint8_t opcode, std::uint16_t address, Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_handlers[{opcode, address}] = std::move(handler);
}

void RegisterSimulator::SetOpcodeHandler(std::uint8_t opcode, Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_opcodeHandlers[opcode] = std::move(handler);
}

void RegisterSimulator::SetFaults(const Faults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

Faults RegisterSimulator::GetFaults()
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void RegisterSimulator::SetAnswerSpeeds(std::vector<int> speeds)
{
    std::lock_guard lock(m_mutex);
    m_options.AnswerSpeeds = std::move(speeds);
}

void RegisterSimulator::SetRealLineRate(bool on)
{
    std::lock_guard lock(m_mutex);
    m_options.RealLineRate = on;
}

void RegisterSimulator::SetStatusBlock(const std::array<std::uint8_t, kStatusBlockSize>& block)
{
    std::lock_guard lock(m_mutex);
    m_state.StatusBlock = block;
}

std::vector<ReceivedMessage> RegisterSimulator::Received()
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void RegisterSimulator::ClearReceived()
{
    std::lock_guard lock(m_mutex);
    m_received.clear();
}

bool RegisterSimulator::WaitForReceived(std::size_t count, int timeoutMs)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    while (SteadyClock::now() < deadline) {
        {
            std::lock_guard lock(m_mutex);
            if (m_received.size() >= count)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

bool RegisterSimulator::Start(const std::filesystem::path& linkPath, std::string& error)
{
    Stop();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_slaveName = name;
    // Holding the slave open keeps the terminal alive between the program's
    // sessions, and lets the simulator see the speed the program set.
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        error = m_slaveName + ": " + std::strerror(errno);
        Stop();
        return false;
    }
    termios tio{};
    ::tcgetattr(m_slave, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    ::tcgetattr(m_master, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_master, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    std::error_code ec;
    if (std::filesystem::is_symlink(linkPath, ec))
        std::filesystem::remove(linkPath, ec);
    std::filesystem::create_symlink(m_slaveName, linkPath, ec);
    if (ec) {
        error = linkPath.string() + ": " + ec.message();
        Stop();
        return false;
    }
    m_linkPath = linkPath;

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    LoadState();
    m_running = true;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void RegisterSimulator::Stop()
{
    if (m_running.exchange(false)) {
        char byte = 1;
        [[maybe_unused]] auto n = ::write(m_wakeWrite, &byte, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    if (!m_options.StateDir.empty() && m_master >= 0)
        SaveState();
    for (int* fd : {&m_master, &m_slave, &m_wakeRead, &m_wakeWrite}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (!m_linkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(m_linkPath, ec))
            std::filesystem::remove(m_linkPath, ec);
        m_linkPath.clear();
    }
}

int RegisterSimulator::CurrentSpeed() const
{
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0)
        return 0;
    return SpeedOf(::cfgetospeed(&tio));
}

void RegisterSimulator::Run()
{
    // Line-rate waits should end on time, not up to the default 50 us late.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    LinkFrame frame{};
    std::size_t position = 0;
    auto firstByte = SteadyClock::now();
    std::uint8_t buffer[4096];
    while (m_running) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        int ready = ::poll(fds, 2, 100);
        if (ready <= 0)
            continue;
        if (fds[1].revents & POLLIN)
            break;
        ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            // EIO while no program holds the terminal open; wait a little.
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const std::uint8_t b = buffer[i];
            if (b == kFrameStart) {
                frame[0] = b;
                position = 1;
                firstByte = SteadyClock::now();
                continue;
            }
            if (position == 0)
                continue; // pad bytes and noise between frames
            if (position < kFrameSize - 1) {
                if (!(b & 0x80)) {
                    position = 0;
                    continue;
                }
                frame[position++] = b;
                continue;
            }
            position = 0;
            if (b == kFrameEnd) {
                frame[kFrameSize - 1] = b;
                HandleFrame(frame, firstByte);
            }
        }
    }
}

void RegisterSimulator::HandleFrame(const LinkFrame& frame, SteadyClock::time_point firstByte)
{
    const int speed = CurrentSpeed();
    LinkMessage message{};
    bool sumError = false;
    UnpackFrame(frame, message, sumError);

    std::vector<std::uint8_t> answer;
    std::size_t receivedIndex = 0;
    bool realLineRate = false;
    int lateMs = 0;
    {
        std::lock_guard lock(m_mutex);
        realLineRate = m_options.RealLineRate;
        ReceivedMessage received;
        received.Message = message;
        received.Speed = speed;
        received.Arrived = firstByte;
        received.SumOk = !sumError;

        const std::uint8_t opcode = message[kOpcodeOffset];
        const std::uint16_t address = static_cast<std::uint16_t>(message[kAddressLowOffset] | (message[kAddressHighOffset] << 8));
        const bool isConnect = opcode == 14 && address == 1;

        bool heard = true;
        if (m_faults.SilentAfter == 0)
            heard = false;
        else if (m_faults.SilentAfter > 0)
            --m_faults.SilentAfter;
        if (heard && CountDown(m_faults.Silent))
            heard = false;
        // At the wrong speed the register sees only garbage.
        if (heard && isConnect && !m_options.AnswerSpeeds.empty() &&
            std::find(m_options.AnswerSpeeds.begin(), m_options.AnswerSpeeds.end(), speed) == m_options.AnswerSpeeds.end())
            heard = false;
        if (heard && !isConnect && m_state.Connected && m_state.SessionSpeed != 0 && speed != m_state.SessionSpeed)
            heard = false;

        Reply reply = Reply::None();
        if (heard) {
            if (sumError) {
                reply = Reply::Nak();
            } else if (CountDown(m_faults.Nak)) {
                reply = Reply::Nak();
            } else {
                auto handler = m_handlers.find({opcode, address});
                if (handler != m_handlers.end())
                    reply = handler->second(m_state, message);
                else if (auto byOpcode = m_opcodeHandlers.find(opcode); byOpcode != m_opcodeHandlers.end())
                    reply = byOpcode->second(m_state, message);
                else
                    reply = Reply::Nak(); // an opcode this register does not know
                if (CountDown(m_faults.Drop))
                    reply = Reply::None();
            }
        }

        if (reply.What != Reply::Kind::None && m_faults.Noise)
            answer.assign(std::begin(kNoise), std::end(kNoise));
        switch (reply.What) {
        case Reply::Kind::None:
            break;
        case Reply::Kind::Ack:
            answer.push_back(kAck);
            break;
        case Reply::Kind::Nak:
            answer.push_back(kNak);
            break;
        case Reply::Kind::Frame: {
            std::uint16_t echoAddress = address;
            if (CountDown(m_faults.WrongEcho))
                echoAddress = static_cast<std::uint16_t>(address ^ 0x01);
            LinkMessage out = MakeMessage(opcode, echoAddress, reply.Payload);
            if (CountDown(m_faults.BadSum))
                out[kSumLowOffset] ^= 0x01;
            LinkFrame outFrame;
            PackFrame(out, outFrame);
            answer.insert(answer.end(), outFrame.begin(), outFrame.end());
            break;
        }
        }
        if (!answer.empty() && CountDown(m_faults.Late))
            lateMs = m_faults.LateMs;
        received.Answered = !answer.empty();
        receivedIndex = m_received.size();
        m_received.push_back(received);
        if (OnMessage)
            OnMessage(m_state);
        if (!m_options.StateDir.empty() && opcode == 14 && address == 2)
            SaveState();
    }

    if (answer.empty())
        return;
    if (realLineRate) {
        // The frame took its line time to arrive, and the answer takes its own.
        // One wait for both, so the sleep's own lateness counts once.
        std::this_thread::sleep_until(firstByte + LineTime(kTransmissionSize, speed) + LineTime(answer.size(), speed));
    }
    if (lateMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(lateMs));
    SendAnswer(std::move(answer), speed);
    std::lock_guard lock(m_mutex);
    if (receivedIndex < m_received.size())
        m_received[receivedIndex].AnswerSent = SteadyClock::now();
}

void RegisterSimulator::SendAnswer(std::vector<std::uint8_t> bytes, int)
{
    std::size_t done = 0;
    while (done < bytes.size() && m_running) {
        ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd pfd{m_master, POLLOUT, 0};
        ::poll(&pfd, 1, 20);
    }
}

void RegisterSimulator::LoadState()
{
    if (m_options.StateDir.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(m_options.StateDir, ec);
    std::lock_guard lock(m_mutex);
    for (const auto& entry : std::filesystem::directory_iterator(m_options.StateDir, ec)) {
        if (entry.path().extension() != ".bin" || !entry.is_regular_file(ec))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto name = entry.path().stem().string();
        if (name == "status") {
            std::copy_n(bytes.begin(), std::min(bytes.size(), m_state.StatusBlock.size()), m_state.StatusBlock.begin());
        } else {
            m_state.Blobs[name] = std::move(bytes);
        }
    }
}

void RegisterSimulator::SaveState()
{
    // Called with the lock held or after the thread has stopped.
    auto write = [&](const std::string& name, const std::uint8_t* data, std::size_t size) {
        std::ofstream out(m_options.StateDir / (name + ".bin"), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    };
    write("status", m_state.StatusBlock.data(), m_state.StatusBlock.size());
    for (const auto& [name, bytes] : m_state.Blobs)
        write(name, bytes.data(), bytes.size());
}

} // namespace plu::sim
