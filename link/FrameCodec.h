#pragma once
// The register link's framing: a 261-byte message travels as a 301-byte frame in
// which every body byte has bit 7 set (seven data bytes plus one collector of
// their top bits per group), so the single-byte answers Ack (0x02) and Nak (0x55)
// and the frame marks 0x03/0x04 never occur inside a frame.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace plu {

inline constexpr std::size_t kPayloadSize = 256;
inline constexpr std::size_t kMessageSize = 261;
inline constexpr std::size_t kFrameSize = 301;
inline constexpr std::size_t kTransmissionSize = kFrameSize + 1; // the PC pads every frame with 0xFF

inline constexpr std::uint8_t kFrameStart = 0x03;
inline constexpr std::uint8_t kFrameEnd = 0x04;
inline constexpr std::uint8_t kAck = 0x02;
inline constexpr std::uint8_t kNak = 0x55;
inline constexpr std::uint8_t kPad = 0xFF;

// Offsets in a LinkMessage.
inline constexpr std::size_t kOpcodeOffset = 0;
inline constexpr std::size_t kAddressLowOffset = 1;
inline constexpr std::size_t kAddressHighOffset = 2;
inline constexpr std::size_t kPayloadOffset = 3;
inline constexpr std::size_t kSumLowOffset = 259;
inline constexpr std::size_t kSumHighOffset = 260;

using LinkMessage = std::array<std::uint8_t, kMessageSize>;
using LinkFrame = std::array<std::uint8_t, kFrameSize>;

// Sum of message bytes 0..258 modulo 65536.
std::uint16_t MessageSum(const LinkMessage& message);
// Stores MessageSum at 259 (low) and 260 (high).
void StoreSum(LinkMessage& message);

// Builds a message: opcode, 16-bit address, 256 payload bytes and the sum.
LinkMessage MakeMessage(std::uint8_t opcode, std::uint16_t address, std::span<const std::uint8_t, kPayloadSize> payload);

void PackFrame(const LinkMessage& message, LinkFrame& frame);
// Rebuilds the message (always) and sets sumError when the transmitted sum
// disagrees with the recomputed one; sumError is never cleared here.
void UnpackFrame(const LinkFrame& frame, LinkMessage& message, bool& sumError);

// Assembles answers from the bytes the port delivers, in one of two modes:
// AckMode takes the first 0x02 or 0x55 of a chunk; FrameMode takes a frame whose
// bytes 1..3 repeat ExpectedEcho. State -1 armed, 0 receiving, 1 complete; once
// complete, everything is ignored until the next Reset.
class FrameReceiver {
public:
    enum class Mode { AckMode, FrameMode };

    // Called once when the state becomes 1, with the completed frame or the answer byte.
    std::function<void(std::span<const std::uint8_t>)> OnComplete;

    Mode ReceiveMode = Mode::AckMode;
    std::array<std::uint8_t, 3> ExpectedEcho{};

    void Reset();
    void Feed(std::span<const std::uint8_t> chunk);

    int State() const { return m_state; }
    std::size_t Position() const { return m_position; }
    std::uint8_t AnswerByte() const { return m_answerByte; }
    const LinkFrame& Frame() const { return m_frame; }

private:
    void FeedFrame(std::span<const std::uint8_t> chunk);
    void FeedAck(std::span<const std::uint8_t> chunk);

    int m_state = -1;
    std::size_t m_position = 0;
    std::uint8_t m_answerByte = 0;
    LinkFrame m_frame{};
};

} // namespace plu
