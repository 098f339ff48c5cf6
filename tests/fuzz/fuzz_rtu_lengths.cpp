// The RTU length rules over arbitrary frame beginnings: never a read past the bytes given, never
// a length shorter than the smallest frame, and no answer that more bytes would take back.
#include "ModbusCore/RTUFrame.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

using namespace tessarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    std::optional<std::size_t> request;
    std::optional<std::size_t> response;
    for (std::size_t n = 0; n <= input.size(); ++n) {
        const auto head = input.first(n);
        const auto requestLength = RTUFrame::expectedRequestLength(head);
        const auto responseLength = RTUFrame::expectedResponseLength(head);
        if ((requestLength && *requestLength < 4) || (responseLength && *responseLength < 4))
            __builtin_trap();
        // Once known, a length stays the same as further bytes arrive.
        if ((request && requestLength != request) || (response && responseLength != response))
            __builtin_trap();
        request = requestLength;
        response = responseLength;
    }
    return 0;
}
