#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tessarin {

// The Modbus function codes this client sends or recognises; the raw value is the wire byte.
// The four reads come first, in the order of RegisterTable's cases.
enum class FunctionCode : std::uint8_t {
    readCoils = 1,
    readDiscreteInputs = 2,
    readHoldingRegisters = 3,
    readInputRegisters = 4,
    writeSingleCoil = 5,
    writeSingleRegister = 6,
    diagnostics = 8,
    writeMultipleCoils = 15,
    writeMultipleRegisters = 16,
    maskWriteRegister = 22,
    readWriteMultipleRegisters = 23,
};

struct FunctionCodeInfo {
    FunctionCode code;
    std::string_view name;
};

inline constexpr std::array<FunctionCodeInfo, 11> functionCodeTable{{
    {FunctionCode::readCoils, "readCoils"},
    {FunctionCode::readDiscreteInputs, "readDiscreteInputs"},
    {FunctionCode::readHoldingRegisters, "readHoldingRegisters"},
    {FunctionCode::readInputRegisters, "readInputRegisters"},
    {FunctionCode::writeSingleCoil, "writeSingleCoil"},
    {FunctionCode::writeSingleRegister, "writeSingleRegister"},
    {FunctionCode::diagnostics, "diagnostics"},
    {FunctionCode::writeMultipleCoils, "writeMultipleCoils"},
    {FunctionCode::writeMultipleRegisters, "writeMultipleRegisters"},
    {FunctionCode::maskWriteRegister, "maskWriteRegister"},
    {FunctionCode::readWriteMultipleRegisters, "readWriteMultipleRegisters"},
}};

// Every case, in declaration order.
inline constexpr std::array<FunctionCode, functionCodeTable.size()> allFunctionCodes = [] {
    std::array<FunctionCode, functionCodeTable.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = functionCodeTable[i].code;
    return out;
}();

// The protocol's quantity limits per request.
inline constexpr int maxReadBits = 2000;       // coils or discrete inputs in one read (1, 2)
inline constexpr int maxReadRegisters = 125;   // registers in one read (3, 4)
inline constexpr int maxWriteBits = 1968;      // coils in one function-15 write
inline constexpr int maxWriteRegisters = 123;  // registers in one function-16 write

[[nodiscard]] constexpr std::uint8_t rawValue(FunctionCode code) {
    return std::to_underlying(code);
}

// No value for every byte that is not one of the cases, the exception bit included.
[[nodiscard]] constexpr std::optional<FunctionCode> functionCodeFromRawValue(std::uint8_t raw) {
    for (const FunctionCodeInfo& info : functionCodeTable) {
        if (rawValue(info.code) == raw) return info.code;
    }
    return std::nullopt;
}

[[nodiscard]] constexpr std::string_view name(FunctionCode code) {
    for (const FunctionCodeInfo& info : functionCodeTable) {
        if (info.code == code) return info.name;
    }
    return {};
}

}  // namespace tessarin
