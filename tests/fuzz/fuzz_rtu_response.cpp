// RTU response checking over arbitrary frames. Input: the request's unit ID and function code,
// then the frame. Every accepted frame must rebuild from its PDU byte for byte.
#include "ModbusCore/RTUFrame.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace tessarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::span<const std::uint8_t> input(data, size);
    const std::span<const std::uint8_t> frame = input.subspan(2);
    const auto pdu = RTUFrame::parseResponse(frame, input[0], input[1]);
    if (RTUFrame::hasValidCRC(frame) !=
        (pdu.has_value() || (pdu.error().kind != RTUFrame::ParseError::Kind::tooShort &&
                             pdu.error().kind != RTUFrame::ParseError::Kind::crcMismatch))) {
        __builtin_trap();
    }
    if (!pdu) return 0;
    const std::vector<std::uint8_t> rebuilt = RTUFrame::build(input[0], *pdu);
    if (!std::equal(rebuilt.begin(), rebuilt.end(), frame.begin(), frame.end())) __builtin_trap();
    return 0;
}
