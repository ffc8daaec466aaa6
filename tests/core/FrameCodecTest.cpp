#include "link/FrameCodec.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace plu {
namespace {

LinkMessage MessageStartingWith(std::initializer_list<std::uint8_t> head)
{
    LinkMessage message{};
    std::copy(head.begin(), head.end(), message.begin());
    StoreSum(message);
    return message;
}

LinkFrame Packed(const LinkMessage& message)
{
    LinkFrame frame;
    PackFrame(message, frame);
    return frame;
}

TEST(FrameCodec, PacksTheWorkedExamplesByteForByte)
{
    LinkMessage first = MessageStartingWith({0x0E, 0x02, 0x00, 0x34, 0x12, 0x00, 0x00});
    EXPECT_EQ(MessageSum(first), 0x0056);
    LinkFrame frame = Packed(first);
    const std::vector<std::uint8_t> head{0x03, 0x8E, 0x82, 0x80, 0xB4, 0x92, 0x80, 0x80, 0x80};
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 9), head);
    for (std::size_t i = 9; i <= 296; ++i)
        ASSERT_EQ(frame[i], 0x80) << "offset " << i;
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin() + 297, frame.end()), (std::vector<std::uint8_t>{0xD6, 0x80, 0x80, 0x04}));

    LinkMessage second = MessageStartingWith({0x8E, 0xFF});
    EXPECT_EQ(MessageSum(second), 0x018D);
    frame = Packed(second);
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 9),
              (std::vector<std::uint8_t>{0x03, 0x8E, 0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x83}));
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin() + 297, frame.end()), (std::vector<std::uint8_t>{0x8D, 0x81, 0x81, 0x04}));
}

TEST(FrameCodec, SumWrapsModulo65536)
{
    LinkMessage message;
    message.fill(0xFF);
    StoreSum(message);
    EXPECT_EQ(message[kSumLowOffset], 0xFD);
    EXPECT_EQ(message[kSumHighOffset], 0x01);
}

TEST(FrameCodec, RoundTripsAnyMessageAndKeepsBodyBytesAboveBit7)
{
    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        LinkMessage message;
        for (auto& byte : message)
            byte = static_cast<std::uint8_t>(random());
        StoreSum(message);
        LinkFrame frame = Packed(message);
        EXPECT_EQ(frame.front(), kFrameStart);
        EXPECT_EQ(frame.back(), kFrameEnd);
        for (std::size_t i = 1; i < kFrameSize - 1; ++i)
            ASSERT_TRUE(frame[i] & 0x80);
        LinkMessage back{};
        bool sumError = false;
        UnpackFrame(frame, back, sumError);
        EXPECT_FALSE(sumError);
        EXPECT_EQ(back, message);
    }
}

TEST(FrameCodec, OneChangedPayloadBitGivesSumError)
{
    LinkFrame frame = Packed(MessageStartingWith({0x0E, 0x10, 0x00, 0x05}));
    frame[20] ^= 0x01; // still a body byte with bit 7 set
    LinkMessage message{};
    bool sumError = false;
    UnpackFrame(frame, message, sumError);
    EXPECT_TRUE(sumError);
}

// The receiver fed a byte stream, as one chunk or byte by byte.
struct ReceiverCase {
    const char* name;
    FrameReceiver::Mode mode;
    std::vector<std::uint8_t> stream;
    int state;               // after the stream
    std::uint8_t answer;     // AckMode
    bool frameIsGood;        // FrameMode: the completed frame is the test frame
};

class ReceiverTest : public ::testing::TestWithParam<bool> {};

TEST_P(ReceiverTest, AssemblesAndResynchronises)
{
    const bool byteByByte = GetParam();
    const LinkFrame good = Packed(MessageStartingWith({0x0E, 0x10, 0x00, 0x42}));
    const std::vector<std::uint8_t> goodBytes(good.begin(), good.end());
    auto concat = [](std::initializer_list<std::vector<std::uint8_t>> parts) {
        std::vector<std::uint8_t> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    auto prefix = [&](std::size_t n) { return std::vector<std::uint8_t>(goodBytes.begin(), goodBytes.begin() + static_cast<long>(n)); };
    std::vector<std::uint8_t> badEnd = goodBytes;
    badEnd.back() = 0x05;
    std::vector<std::uint8_t> lowByte = prefix(100);
    lowByte.push_back(0x41);

    const ReceiverCase cases[] = {
        {"whole frame", FrameReceiver::Mode::FrameMode, goodBytes, 1, 0, true},
        {"noise before the frame", FrameReceiver::Mode::FrameMode, concat({{0x00, 0x41, 0xC3, 0x04}, goodBytes}), 1, 0, true},
        {"start byte at 150 restarts", FrameReceiver::Mode::FrameMode, concat({prefix(150), goodBytes}), 1, 0, true},
        {"low byte abandons the frame", FrameReceiver::Mode::FrameMode, lowByte, 0, 0, false},
        {"low byte then a new frame", FrameReceiver::Mode::FrameMode, concat({lowByte, goodBytes}), 1, 0, true},
        {"end byte 0x05 is dropped", FrameReceiver::Mode::FrameMode, badEnd, 0, 0, false},
        {"dropped frame, then the next", FrameReceiver::Mode::FrameMode, concat({badEnd, goodBytes}), 1, 0, true},
        {"wrong echo never completes", FrameReceiver::Mode::FrameMode,
         [&] { auto b = goodBytes; b[2] ^= 0x01; return b; }(), 0, 0, false},
        {"nak then ack", FrameReceiver::Mode::AckMode, {0x41, 0x55, 0x02}, 1, 0x55, false},
        {"a frame is no answer", FrameReceiver::Mode::AckMode, goodBytes, 0, 0, false},
        {"ack after noise", FrameReceiver::Mode::AckMode, {0x80, 0x13, 0x02, 0x55}, 1, 0x02, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameReceiver receiver;
        receiver.ReceiveMode = c.mode;
        receiver.ExpectedEcho = {good[1], good[2], good[3]};
        int completions = 0;
        receiver.OnComplete = [&](std::span<const std::uint8_t>) { ++completions; };
        receiver.Reset();
        if (byteByByte) {
            for (auto b : c.stream)
                receiver.Feed(std::span<const std::uint8_t>(&b, 1));
        } else {
            receiver.Feed(c.stream);
        }
        EXPECT_EQ(receiver.State(), c.state);
        EXPECT_EQ(completions, c.state == 1 ? 1 : 0);
        if (c.mode == FrameReceiver::Mode::AckMode) {
            EXPECT_EQ(receiver.AnswerByte(), c.answer);
        }
        if (c.frameIsGood) {
            EXPECT_EQ(receiver.Frame(), good);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Chunking, ReceiverTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ByteByByte" : "OneChunk"; });

TEST(FrameReceiver, CompletesOnlyTheFirstOfTwoFramesAndIgnoresTheRestUntilReset)
{
    const LinkFrame first = Packed(MessageStartingWith({0x0E, 0x10, 0x00, 0x01}));
    const LinkFrame second = Packed(MessageStartingWith({0x0E, 0x10, 0x00, 0x02}));
    std::vector<std::uint8_t> both(first.begin(), first.end());
    both.insert(both.end(), second.begin(), second.end());
    FrameReceiver receiver;
    receiver.ReceiveMode = FrameReceiver::Mode::FrameMode;
    receiver.ExpectedEcho = {first[1], first[2], first[3]};
    receiver.Reset();
    receiver.Feed(both);
    EXPECT_EQ(receiver.State(), 1);
    EXPECT_EQ(receiver.Frame(), first);
    receiver.Feed(std::vector<std::uint8_t>(second.begin(), second.end()));
    EXPECT_EQ(receiver.Frame(), first);
    receiver.Reset();
    EXPECT_EQ(receiver.State(), -1);
    receiver.Feed(std::vector<std::uint8_t>(second.begin(), second.end()));
    EXPECT_EQ(receiver.Frame(), second);
}

} // namespace
} // namespace plu
