#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tessarin {

// The exception codes a device may answer with. Received exceptions travel as the raw byte
// elsewhere (PDU::ResponseError, PollFailure), so that a code without a case still reaches
// the user; this enumeration names the known ones.
enum class ModbusException : std::uint8_t {
    illegalFunction = 1,
    illegalDataAddress = 2,
    illegalDataValue = 3,
    serverDeviceFailure = 4,
    acknowledge = 5,
    serverDeviceBusy = 6,
    memoryParityError = 8,
    gatewayPathUnavailable = 10,
    gatewayTargetFailedToRespond = 11,
};

struct ModbusExceptionInfo {
    ModbusException code;
    std::string_view name;
};

inline constexpr std::array<ModbusExceptionInfo, 9> modbusExceptionTable{{
    {ModbusException::illegalFunction, "illegalFunction"},
    {ModbusException::illegalDataAddress, "illegalDataAddress"},
    {ModbusException::illegalDataValue, "illegalDataValue"},
    {ModbusException::serverDeviceFailure, "serverDeviceFailure"},
    {ModbusException::acknowledge, "acknowledge"},
    {ModbusException::serverDeviceBusy, "serverDeviceBusy"},
    {ModbusException::memoryParityError, "memoryParityError"},
    {ModbusException::gatewayPathUnavailable, "gatewayPathUnavailable"},
    {ModbusException::gatewayTargetFailedToRespond, "gatewayTargetFailedToRespond"},
}};

// Every case, in declaration order.
inline constexpr std::array<ModbusException, modbusExceptionTable.size()> allModbusExceptions = [] {
    std::array<ModbusException, modbusExceptionTable.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = modbusExceptionTable[i].code;
    return out;
}();

[[nodiscard]] constexpr std::uint8_t rawValue(ModbusException code) {
    return std::to_underlying(code);
}

// No value for codes without a case (0, 7, 9, 12 and above).
[[nodiscard]] constexpr std::optional<ModbusException> modbusExceptionFromRawValue(std::uint8_t raw) {
    for (const ModbusExceptionInfo& info : modbusExceptionTable) {
        if (rawValue(info.code) == raw) return info.code;
    }
    return std::nullopt;
}

[[nodiscard]] constexpr std::string_view name(ModbusException code) {
    for (const ModbusExceptionInfo& info : modbusExceptionTable) {
        if (info.code == code) return info.name;
    }
    return {};
}

}  // namespace tessarin
