#include "support/DatapointBuilders.hpp"

#include <utility>

namespace tessarin::test {

Datapoint holdingRegister(std::uint16_t address, DataType type, std::string name) {
    Datapoint point;
    point.name = std::move(name);
    point.table = RegisterTable::holdingRegister;
    point.address = address;
    point.dataType = type;
    return Datapoint::make(std::move(point));
}

Datapoint coil(std::uint16_t address, std::string name) {
    Datapoint point;
    point.name = std::move(name);
    point.table = RegisterTable::coil;
    point.address = address;
    return Datapoint::make(std::move(point));
}

}  // namespace tessarin::test
