#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/RegisterTable.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tessarin {

// One read request: a unit, a table, a start address and a number of coils, inputs or registers.
struct ReadBlock {
    std::uint8_t unit = 1;
    RegisterTable table = RegisterTable::holdingRegister;
    std::uint16_t address = 0;  // first address read, 0-based as on the wire
    int count = 1;              // at least 1

    // address ... address + count - 1.
    [[nodiscard]] AddressRange range() const { return {address, address + count - 1}; }

    // The read request PDU: the table's read function, start address and quantity.
    [[nodiscard]] std::vector<std::uint8_t> pdu() const;

    // True when the datapoint lies wholly inside the block (same unit and table, every address
    // it occupies within the range). One that only partly lies in the block is not contained.
    [[nodiscard]] bool contains(const Datapoint& datapoint) const;

    bool operator==(const ReadBlock&) const = default;
};

}  // namespace tessarin

template <>
struct std::hash<tessarin::ReadBlock> {
    std::size_t operator()(const tessarin::ReadBlock& block) const noexcept {
        const auto packed =
            (static_cast<std::uint64_t>(block.unit) << 56) | (static_cast<std::uint64_t>(block.table) << 48) |
            (static_cast<std::uint64_t>(block.address) << 32) | static_cast<std::uint32_t>(block.count);
        return std::hash<std::uint64_t>{}(packed);
    }
};
