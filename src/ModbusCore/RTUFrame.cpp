#include "ModbusCore/RTUFrame.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/CRC16.hpp"

namespace tessarin::RTUFrame {

namespace {

constexpr std::size_t minFrame = 4;  // unit ID, function code, CRC
constexpr std::uint8_t exceptionBit = 0x80;
constexpr std::uint8_t functionBits = 0x7F;

std::uint16_t carriedCRC(std::span<const std::uint8_t> frame) {
    return static_cast<std::uint16_t>(frame[frame.size() - 2] | (frame[frame.size() - 1] << 8));
}

// Frames whose length is given by one byte-count byte at the given index, plus the bytes
// before and including it and the CRC.
std::optional<std::size_t> countedAt(std::span<const std::uint8_t> head, std::size_t index) {
    if (head.size() <= index) return std::nullopt;
    return head[index] + index + 1 + 2;
}

}  // namespace

std::vector<std::uint8_t> build(std::uint8_t unitID, std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> out;
    out.reserve(pdu.size() + overhead);
    out.push_back(unitID);
    out.insert(out.end(), pdu.begin(), pdu.end());
    const std::uint16_t crc = CRC16::modbus(out);
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    return out;
}

std::expected<std::vector<std::uint8_t>, ParseError> parseResponse(std::span<const std::uint8_t> frame,
                                                                   std::uint8_t unitID, std::uint8_t function) {
    if (frame.size() < minFrame) return std::unexpected(ParseError::tooShort(frame.size()));
    const std::uint16_t computed = CRC16::modbus(frame.first(frame.size() - 2));
    const std::uint16_t carried = carriedCRC(frame);
    if (computed != carried) return std::unexpected(ParseError::crcMismatch(computed, carried));
    if (frame[0] != unitID) return std::unexpected(ParseError::unexpectedUnit(frame[0]));
    if ((frame[1] & functionBits) != (function & functionBits)) {
        return std::unexpected(ParseError::unexpectedFunction(frame[1]));
    }
    const auto pdu = frame.subspan(1, frame.size() - overhead);
    return std::vector<std::uint8_t>(pdu.begin(), pdu.end());
}

bool hasValidCRC(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= minFrame && CRC16::modbus(bytes.first(bytes.size() - 2)) == carriedCRC(bytes);
}

std::optional<std::size_t> expectedRequestLength(std::span<const std::uint8_t> head) {
    if (head.size() < 2) return std::nullopt;
    switch (head[1]) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 8: return 8;
    case 7: case 11: case 12: case 17: return 4;
    case 15: case 16: return countedAt(head, 6);
    case 22: return 10;
    case 23: return countedAt(head, 10);
    case 24: return 6;
    case 43: return 7;
    default: return std::nullopt;
    }
}

std::optional<std::size_t> expectedResponseLength(std::span<const std::uint8_t> head) {
    if (head.size() < 2) return std::nullopt;
    if ((head[1] & exceptionBit) != 0) return 5;
    switch (head[1]) {
    case 1: case 2: case 3: case 4: case 12: case 17: case 20: case 21: case 23: return countedAt(head, 2);
    case 5: case 6: case 8: case 11: case 15: case 16: return 8;
    case 7: return 5;
    case 22: return 10;
    case 24:
        // The FIFO queue response is the one whose byte count takes two bytes.
        if (head.size() < 4) return std::nullopt;
        return std::size_t{uint16At(head, 2)} + 6;
    default: return std::nullopt;
    }
}

}  // namespace tessarin::RTUFrame
