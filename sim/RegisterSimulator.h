#pragma once
// A stand-in for the register on a pseudo-terminal.
//
// It opens a pseudo-terminal, links its slave device at a path the program is
// pointed at, and answers the link protocol from what the program sends and
// relies on: Ack for the connect message (only at the speeds it is set to answer
// at; afterwards it listens at the speed the message announced), Ack for the
// disconnect message, answer frames for reads, Ack for writes it applies. It can
// be told to misbehave: stay silent, answer Nak, drop answers, spoil sums or
// echoes, send noise, answer late, or take as long as a real line would.
//
// The simulator runs its own thread; every accessor below is thread-safe.
#include "link/FrameCodec.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace plu::sim {

inline constexpr std::size_t kStatusBlockSize = 256;
inline constexpr std::size_t kPageSize = 256;

// Misbehaviour for the next messages: each count spoils that many answers and
// counts down; -1 spoils every answer until changed.
struct Faults {
    int Silent = 0;    // read nothing: the message is neither applied nor answered
    int Nak = 0;       // answer Nak instead
    int Drop = 0;      // apply the message but send no answer
    int BadSum = 0;    // answer frames carry a wrong sum
    int WrongEcho = 0; // answer frames do not echo the request
    int Late = 0;      // answer after LateMs
    int LateMs = 0;
    bool Noise = false; // noise bytes before every answer
    // After this many more messages the register goes silent for good (-1: never).
    int SilentAfter = -1;
};

// One message the simulator took in, as it arrived.
struct ReceivedMessage {
    LinkMessage Message{};
    int Speed = 0;        // line speed at which it arrived
    bool SumOk = true;
    bool Answered = false; // whether an answer went back
    std::chrono::steady_clock::time_point Arrived{}; // when its first byte was read
    std::chrono::steady_clock::time_point AnswerSent{}; // when the answer was written
};

// What a handler answers.
struct Reply {
    enum class Kind { None, Ack, Nak, Frame } What = Kind::None;
    std::array<std::uint8_t, kPayloadSize> Payload{};

    static Reply Ack() { return {Kind::Ack, {}}; }
    static Reply Nak() { return {Kind::Nak, {}}; }
    static Reply None() { return {Kind::None, {}}; }
    static Reply Frame(const std::array<std::uint8_t, kPayloadSize>& payload) { return {Kind::Frame, payload}; }
};

// The register's memory and settings. Handlers read and change it under the
// simulator's lock.
struct RegisterState {
    std::array<std::uint8_t, kStatusBlockSize> StatusBlock{};
    // Memory pages: selector 0x00 ROM, 0x10 RAM. A page nobody set reads as its
    // recognisable default content (see DefaultPage).
    std::map<std::pair<std::uint8_t, std::uint16_t>, std::array<std::uint8_t, kPageSize>> Pages;
    // Extra state of later handlers (master data, reports) keyed by name.
    std::map<std::string, std::vector<std::uint8_t>> Blobs;

    bool Connected = false;
    int SessionSpeed = 0;    // the speed the last connect message announced
    int LastDisconnectMode = -1;
    int ConnectCount = 0;
    int DisconnectCount = 0;
};

// The content of a memory page nobody wrote: "ROM PAGE pppp" or "RAM PAGE pppp"
// in the first 16 bytes, then bytes counting up from the page number.
std::array<std::uint8_t, kPageSize> DefaultPage(std::uint8_t selector, std::uint16_t page);

struct Options {
    std::vector<int> AnswerSpeeds; // speeds the connect message is acknowledged at; empty: all
    bool RealLineRate = false;     // take as long as a real line at the current speed
    std::filesystem::path StateDir; // seeded from and written to when set
};

class RegisterSimulator {
public:
    using Handler = std::function<Reply(RegisterState&, const LinkMessage&)>;

    explicit RegisterSimulator(Options options = {});
    ~RegisterSimulator();
    RegisterSimulator(const RegisterSimulator&) = delete;
    RegisterSimulator& operator=(const RegisterSimulator&) = delete;

    // Creates the pseudo-terminal and the link at linkPath (an existing symlink
    // there is replaced) and starts answering. False with error set on failure.
    bool Start(const std::filesystem::path& linkPath, std::string& error);
    void Stop();
    const std::filesystem::path& LinkPath() const { return m_linkPath; }
    std::string SlaveName() const { return m_slaveName; }

    // Handlers by opcode and address; the link-level ones are installed at
    // construction, master data and reports add theirs.
    void SetHandler(std::uint8_t opcode, std::uint16_t address, Handler handler);
    // A handler for every address of an opcode not handled by address.
    void SetOpcodeHandler(std::uint8_t opcode, Handler handler);

    void SetFaults(const Faults& faults);
    Faults GetFaults();
    void SetAnswerSpeeds(std::vector<int> speeds);
    void SetRealLineRate(bool on);

    // Runs f on the state under the lock.
    template <typename F>
    auto WithState(F&& f)
    {
        std::lock_guard lock(m_mutex);
        return f(m_state);
    }
    void SetStatusBlock(const std::array<std::uint8_t, kStatusBlockSize>& block);

    std::vector<ReceivedMessage> Received();
    void ClearReceived();
    // Waits until at least count messages arrived (tests), up to timeoutMs.
    bool WaitForReceived(std::size_t count, int timeoutMs);

    // Called (under the lock) after every message taken in, e.g. to save state.
    std::function<void(const RegisterState&)> OnMessage;

private:
    void Run();
    void HandleFrame(const LinkFrame& frame, std::chrono::steady_clock::time_point firstByte);
    void SendAnswer(std::vector<std::uint8_t> bytes, int speed);
    int CurrentSpeed() const;
    void SaveState();
    void LoadState();

    Options m_options;
    std::mutex m_mutex;
    RegisterState m_state;
    Faults m_faults;
    std::map<std::pair<std::uint8_t, std::uint16_t>, Handler> m_handlers;
    std::map<std::uint8_t, Handler> m_opcodeHandlers;
    std::vector<ReceivedMessage> m_received;

    int m_master = -1;
    int m_slave = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::string m_slaveName;
    std::filesystem::path m_linkPath;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace plu::sim
