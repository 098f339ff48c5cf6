#include "ModbusTCP/RTUStream.hpp"

#include "ModbusCore/RTUFrame.hpp"

#include <cstddef>
#include <optional>

namespace tessarin::RTUStream {

namespace {

using LengthRule = std::optional<std::size_t> (*)(std::span<const std::uint8_t>);

// Up to this many bytes a stream without a known length may still end in a valid CRC.
constexpr std::size_t longestUnjudgedStream = RTUFrame::maxSize - 1;

Next next(std::span<const std::uint8_t> bytes, LengthRule lengthOf) {
    if (bytes.size() < 2) return Next::incomplete();
    const std::optional<std::size_t> length = lengthOf(bytes);
    if (!length) {
        if (bytes.size() >= 4 && RTUFrame::hasValidCRC(bytes)) return Next::frame(bytes);
        return bytes.size() > longestUnjudgedStream ? Next::invalid() : Next::incomplete();
    }
    if (*length > RTUFrame::maxSize) return Next::invalid();
    if (bytes.size() < *length) return Next::incomplete();
    const auto candidate = bytes.first(*length);
    return RTUFrame::hasValidCRC(candidate) ? Next::frame(candidate) : Next::invalid();
}

}  // namespace

Next nextRequest(std::span<const std::uint8_t> bytes) {
    return next(bytes, &RTUFrame::expectedRequestLength);
}

Next nextResponse(std::span<const std::uint8_t> bytes) {
    return next(bytes, &RTUFrame::expectedResponseLength);
}

}  // namespace tessarin::RTUStream
