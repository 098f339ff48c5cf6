#pragma once

#include <cstdint>

// What every test peer serves, so that a test can predict each value it reads without
// asking the peer. The pymodbus peer (pymodbus_rtu_device.py) fills its tables with the
// same formulas. Writes change the tables for the rest of the peer process's life.
namespace tessarin::test::DeviceContents {

// Every table holds this many addresses unless the peer is started with --size.
inline constexpr int defaultSize = 65536;

constexpr bool coil(std::uint16_t address) {
    return address % 3 == 0;
}
constexpr bool discreteInput(std::uint16_t address) {
    return address % 2 == 1;
}
constexpr std::uint16_t holdingRegister(std::uint16_t address) {
    return address;
}
constexpr std::uint16_t inputRegister(std::uint16_t address) {
    return static_cast<std::uint16_t>(0x8000U + address);
}

}  // namespace tessarin::test::DeviceContents
