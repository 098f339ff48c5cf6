#include "ModbusCore/PDU.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/ExceptionPDU.hpp"
#include "ModbusCore/Require.hpp"

#include <algorithm>

namespace tessarin::PDU {

namespace {

constexpr std::size_t writeAckSize = 5;  // function code, address, quantity or value
constexpr std::uint16_t coilOn = 0xFF00;
constexpr std::uint16_t coilOff = 0x0000;
constexpr int maxQuantity = 0xFFFF;

std::vector<std::uint8_t> header(FunctionCode function, std::uint16_t address, std::uint16_t second,
                                 std::size_t extra = 0) {
    std::vector<std::uint8_t> out;
    out.reserve(5 + extra);
    out.push_back(rawValue(function));
    appendUInt16(out, address);
    appendUInt16(out, second);
    return out;
}

}  // namespace

std::vector<std::uint8_t> read(RegisterTable table, std::uint16_t address, int count) {
    TESSARIN_REQUIRE(count >= 0 && count <= maxQuantity, "a read quantity fits two bytes");
    return header(readFunction(table), address, static_cast<std::uint16_t>(count));
}

std::vector<std::uint8_t> writeSingleCoil(std::uint16_t address, bool on) {
    return header(FunctionCode::writeSingleCoil, address, on ? coilOn : coilOff);
}

std::vector<std::uint8_t> writeSingleRegister(std::uint16_t address, std::uint16_t value) {
    return header(FunctionCode::writeSingleRegister, address, value);
}

std::vector<std::uint8_t> writeMultipleCoils(std::uint16_t address, const std::vector<bool>& values) {
    TESSARIN_REQUIRE(values.size() <= maxPackedCoils, "the packed coils fit a one-byte byte count");
    const std::vector<std::uint8_t> packed = packBits(values);
    std::vector<std::uint8_t> out = header(FunctionCode::writeMultipleCoils, address,
                                           static_cast<std::uint16_t>(values.size()), 1 + packed.size());
    out.push_back(static_cast<std::uint8_t>(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

std::vector<std::uint8_t> writeMultipleRegisters(std::uint16_t address,
                                                 std::span<const std::uint16_t> values) {
    TESSARIN_REQUIRE(values.size() <= maxPackedRegisters, "the registers fit a one-byte byte count");
    std::vector<std::uint8_t> out = header(FunctionCode::writeMultipleRegisters, address,
                                           static_cast<std::uint16_t>(values.size()), 1 + 2 * values.size());
    out.push_back(static_cast<std::uint8_t>(2 * values.size()));
    for (const std::uint16_t value : values) appendUInt16(out, value);
    return out;
}

std::expected<ReadData, ResponseError> parseRead(std::span<const std::uint8_t> response, RegisterTable table,
                                                 int count) {
    if (response.size() < 2) return std::unexpected(ResponseError::malformed());
    if (const auto code = ExceptionPDU::exception(response))
        return std::unexpected(ResponseError::exception(*code));
    if (response[0] != rawValue(readFunction(table))) return std::unexpected(ResponseError::malformed());
    const std::size_t byteCount = response[1];
    if (response.size() != byteCount + 2) return std::unexpected(ResponseError::malformed());
    // No response can answer a quantity the request could not have carried; this also keeps
    // a caller's negative count from reaching the size arithmetic below.
    if (count < 0 || count > maxQuantity) return std::unexpected(ResponseError::malformed());

    const auto quantity = static_cast<std::size_t>(count);
    const std::span<const std::uint8_t> data = response.subspan(2);
    if (isBit(table)) {
        if (byteCount != (quantity + 7) / 8) return std::unexpected(ResponseError::malformed());
        return ReadData::bits(unpackBits(data, quantity));
    }
    if (byteCount != 2 * quantity) return std::unexpected(ResponseError::malformed());
    std::vector<std::uint16_t> registers(quantity);
    for (std::size_t i = 0; i < quantity; ++i) registers[i] = uint16At(data, 2 * i);
    return ReadData::registers(std::move(registers));
}

std::expected<void, ResponseError> checkWrite(std::span<const std::uint8_t> response,
                                              std::span<const std::uint8_t> request) {
    if (const auto code = ExceptionPDU::exception(response))
        return std::unexpected(ResponseError::exception(*code));
    if (request.size() < writeAckSize || response.size() != writeAckSize) {
        return std::unexpected(ResponseError::malformed());
    }
    const bool isSingleWrite = request[0] == rawValue(FunctionCode::writeSingleCoil) ||
                               request[0] == rawValue(FunctionCode::writeSingleRegister);
    const std::span<const std::uint8_t> expected = isSingleWrite ? request : request.first(writeAckSize);
    if (!std::equal(response.begin(), response.end(), expected.begin(), expected.end())) {
        return std::unexpected(ResponseError::malformed());
    }
    return {};
}

}  // namespace tessarin::PDU
