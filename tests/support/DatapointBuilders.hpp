#pragma once

#include "ModbusCore/Datapoint.hpp"

#include <cstdint>
#include <string>

namespace tessarin::test {

// A holding register datapoint of unit 1.
Datapoint holdingRegister(std::uint16_t address, DataType type = DataType::uint16, std::string name = {});
// A coil datapoint of unit 1.
Datapoint coil(std::uint16_t address, std::string name = {});

}  // namespace tessarin::test
