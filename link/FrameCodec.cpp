#include "link/FrameCodec.h"

#include <algorithm>

namespace plu {

std::uint16_t MessageSum(const LinkMessage& message)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < kSumLowOffset; ++i)
        sum += message[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void StoreSum(LinkMessage& message)
{
    const std::uint16_t sum = MessageSum(message);
    message[kSumLowOffset] = static_cast<std::uint8_t>(sum & 0xFF);
    message[kSumHighOffset] = static_cast<std::uint8_t>(sum >> 8);
}

LinkMessage MakeMessage(std::uint8_t opcode, std::uint16_t address, std::span<const std::uint8_t, kPayloadSize> payload)
{
    LinkMessage message{};
    message[kOpcodeOffset] = opcode;
    message[kAddressLowOffset] = static_cast<std::uint8_t>(address & 0xFF);
    message[kAddressHighOffset] = static_cast<std::uint8_t>(address >> 8);
    std::copy(payload.begin(), payload.end(), message.begin() + kPayloadOffset);
    StoreSum(message);
    return message;
}

void PackFrame(const LinkMessage& message, LinkFrame& frame)
{
    frame.fill(0);
    frame[0] = kFrameStart;
    frame[kFrameSize - 1] = kFrameEnd;
    for (std::size_t j = 0; j < kSumLowOffset; ++j) {
        const std::size_t g = j / 7;
        const std::size_t k = j % 7;
        frame[8 * g + k + 1] = message[j] & 0x7F;
        if (message[j] & 0x80)
            frame[8 * g + 8] |= static_cast<std::uint8_t>(1u << k);
    }
    frame[297] = message[kSumLowOffset];
    frame[298] = message[kSumHighOffset];
    if (frame[297] & 0x80)
        frame[299] |= 0x01;
    if (frame[298] & 0x80)
        frame[299] |= 0x02;
    for (std::size_t i = 1; i <= 299; ++i)
        frame[i] |= 0x80;
}

void UnpackFrame(const LinkFrame& frame, LinkMessage& message, bool& sumError)
{
    message.fill(0);
    for (std::size_t j = 0; j < kSumLowOffset; ++j) {
        const std::size_t g = j / 7;
        const std::size_t k = j % 7;
        message[j] = frame[8 * g + k + 1] & 0x7F;
        if (frame[8 * g + 8] & (1u << k))
            message[j] |= 0x80;
    }
    message[kSumLowOffset] = static_cast<std::uint8_t>((frame[297] & 0x7F) | ((frame[299] & 0x01) ? 0x80 : 0));
    message[kSumHighOffset] = static_cast<std::uint8_t>((frame[298] & 0x7F) | ((frame[299] & 0x02) ? 0x80 : 0));
    const std::uint16_t sum = MessageSum(message);
    if ((sum & 0xFF) != message[kSumLowOffset] || (sum >> 8) != message[kSumHighOffset])
        sumError = true;
}

void FrameReceiver::Reset()
{
    m_position = 0;
    m_state = -1;
    m_answerByte = 0;
}

void FrameReceiver::Feed(std::span<const std::uint8_t> chunk)
{
    if (chunk.empty() || m_state == 1)
        return;
    if (m_state == -1)
        m_state = 0;
    if (ReceiveMode == Mode::FrameMode)
        FeedFrame(chunk);
    else
        FeedAck(chunk);
}

void FrameReceiver::FeedFrame(std::span<const std::uint8_t> chunk)
{
    for (std::uint8_t b : chunk) {
        const std::size_t p = m_position;
        bool accepted;
        if (p == 0)
            accepted = b == kFrameStart;
        else if (p <= 3)
            accepted = b == ExpectedEcho[p - 1];
        else if (p < kFrameSize - 1)
            accepted = (b & 0x80) != 0;
        else
            accepted = b == kFrameEnd;

        if (accepted) {
            m_frame[p] = b;
            if (p == kFrameSize - 1) {
                m_state = 1;
                m_position = 0;
                if (OnComplete)
                    OnComplete(m_frame);
                return; // the rest of the chunk is discarded
            }
            m_position = p + 1;
        } else if (b == kFrameStart) {
            // A start byte always begins a new frame.
            m_frame[0] = b;
            m_position = 1;
        } else {
            m_position = 0;
        }
    }
}

void FrameReceiver::FeedAck(std::span<const std::uint8_t> chunk)
{
    for (std::uint8_t b : chunk) {
        if (b == kAck || b == kNak) {
            m_answerByte = b;
            m_state = 1;
            if (OnComplete)
                OnComplete(std::span<const std::uint8_t>(&m_answerByte, 1));
            return;
        }
    }
}

} // namespace plu
