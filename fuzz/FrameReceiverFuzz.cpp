// Feeds arbitrary chunks to the frame receiver in both modes and unpacks what completes.
#include "link/FrameCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace plu;
    if (size < 4)
        return 0;
    FrameReceiver receiver;
    receiver.ReceiveMode = (data[0] & 1) ? FrameReceiver::Mode::FrameMode : FrameReceiver::Mode::AckMode;
    receiver.ExpectedEcho = {data[1], data[2], data[3]};
    receiver.Reset();
    std::size_t at = 4;
    while (at < size) {
        std::size_t chunk = 1 + data[at] % 64;
        ++at;
        if (at + chunk > size)
            chunk = size - at;
        receiver.Feed(std::span<const std::uint8_t>(data + at, chunk));
        at += chunk;
        if (receiver.State() == 1) {
            LinkMessage message;
            bool sumError = false;
            UnpackFrame(receiver.Frame(), message, sumError);
            receiver.Reset();
        }
    }
    return 0;
}
