#include "ModbusCore/RTUFrame.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/CRC16.hpp"

#include <array>

namespace tessarin::RTUFrame {

namespace {

constexpr std::size_t minFrame = 4;  // unit ID, function code, CRC
constexpr std::uint8_t exceptionBit = 0x80;
constexpr std::uint8_t functionBits = 0x7F;
constexpr std::size_t crcSize = 2;

std::uint16_t carriedCRC(std::span<const std::uint8_t> frame) {
    return static_cast<std::uint16_t>(frame[frame.size() - 2] | (frame[frame.size() - 1] << 8));
}

// How the whole length of a frame follows from its first bytes: fixed, or a count of the bytes
// that follow a one- or two-byte count field at the given index, plus everything up to that
// field and the CRC.
struct LengthRule {
    enum class Kind : std::uint8_t { unknown, fixed, byteCount, wordCount };
    Kind kind = Kind::unknown;
    std::uint8_t value = 0;  // fixed: the length; the counts: the index of their field
};

constexpr LengthRule fixed(std::uint8_t length) {
    return {LengthRule::Kind::fixed, length};
}
constexpr LengthRule byteCountAt(std::uint8_t index) {
    return {LengthRule::Kind::byteCount, index};
}
constexpr LengthRule wordCountAt(std::uint8_t index) {
    return {LengthRule::Kind::wordCount, index};
}
constexpr LengthRule unknown{};

struct FunctionLengths {
    std::uint8_t function = 0;
    LengthRule request;
    LengthRule response;
};

// The public function codes whose frames can be measured; every other code has no length.
constexpr std::array<FunctionLengths, 19> lengthRules{{
    {1, fixed(8), byteCountAt(2)},          // read coils
    {2, fixed(8), byteCountAt(2)},          // read discrete inputs
    {3, fixed(8), byteCountAt(2)},          // read holding registers
    {4, fixed(8), byteCountAt(2)},          // read input registers
    {5, fixed(8), fixed(8)},                // write single coil
    {6, fixed(8), fixed(8)},                // write single register
    {7, fixed(4), fixed(5)},                // read exception status
    {8, fixed(8), fixed(8)},                // diagnostics
    {11, fixed(4), fixed(8)},               // get comm event counter
    {12, fixed(4), byteCountAt(2)},         // get comm event log
    {15, byteCountAt(6), fixed(8)},         // write multiple coils
    {16, byteCountAt(6), fixed(8)},         // write multiple registers
    {17, fixed(4), byteCountAt(2)},         // report server ID
    {20, unknown, byteCountAt(2)},          // read file record
    {21, unknown, byteCountAt(2)},          // write file record
    {22, fixed(10), fixed(10)},             // mask write register
    {23, byteCountAt(10), byteCountAt(2)},  // read/write multiple registers
    {24, fixed(6), wordCountAt(2)},         // read FIFO queue
    {43, fixed(7), unknown},                // encapsulated interface transport
}};

std::optional<std::size_t> lengthBy(LengthRule rule, std::span<const std::uint8_t> head) {
    const std::size_t index = rule.value;
    switch (rule.kind) {
        case LengthRule::Kind::fixed:
            return index;
        case LengthRule::Kind::byteCount:
            if (head.size() <= index) return std::nullopt;
            return head[index] + index + 1 + crcSize;
        case LengthRule::Kind::wordCount:
            if (head.size() <= index + 1) return std::nullopt;
            return uint16At(head, index) + index + 2 + crcSize;
        case LengthRule::Kind::unknown:
            break;
    }
    return std::nullopt;
}

const FunctionLengths* rulesFor(std::uint8_t function) {
    for (const FunctionLengths& rules : lengthRules) {
        if (rules.function == function) return &rules;
    }
    return nullptr;
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
                                                                   std::uint8_t unitID,
                                                                   std::uint8_t function) {
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
    const FunctionLengths* rules = rulesFor(head[1]);
    return rules != nullptr ? lengthBy(rules->request, head) : std::nullopt;
}

std::optional<std::size_t> expectedResponseLength(std::span<const std::uint8_t> head) {
    if (head.size() < 2) return std::nullopt;
    // Exception response: unit, function, exception code, CRC.
    if ((head[1] & exceptionBit) != 0) return 5;
    const FunctionLengths* rules = rulesFor(head[1]);
    return rules != nullptr ? lengthBy(rules->response, head) : std::nullopt;
}

}  // namespace tessarin::RTUFrame
