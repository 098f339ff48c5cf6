#pragma once

#include "ModbusCore/PDU.hpp"
#include "ModbusCore/RegisterTable.hpp"
#include "ModbusTCP/TCPFraming.hpp"
#include "PollerCore/RawWords.hpp"
#include "PollerCore/ReadBlock.hpp"

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Turns the datapoints of one poll into the fewest read requests the Modbus limits allow, and
// finds each datapoint's value in the answer to such a request. Pure, no state.
namespace tessarin::ReadPlanner {

// Datapoints that can share a request: same unit, same table. Ordered by unit, then by table
// in declaration order (coils, discrete inputs, holding registers, input registers).
struct GroupKey {
    std::uint8_t unit = 1;
    RegisterTable table = RegisterTable::holdingRegister;

    auto operator<=>(const GroupKey&) const = default;
};

// A datapoint's engineering value and the words it was decoded from: the registers, or for a
// bit the single word 0 or 1.
struct DecodedValue {
    double value = 0.0;
    RawWords raw;

    bool operator==(const DecodedValue&) const = default;
};

// Whether a request to unit can get an answer in framing. Modbus TCP reads every unit 0 to 255:
// 0 and 255 address the device itself rather than a unit behind it. On an RTU line 0 is the
// broadcast, which no unit answers, and 248 to 255 are reserved, so only 1 to 247 are read.
[[nodiscard]] bool readsUnit(std::uint8_t unit, TCPFraming framing);

// The blocks that cover every readable datapoint (a unit that readsUnit accepts, last address
// within 65535), in reading order: by unit, then table, then start address. maxGap is the
// largest hole of addresses covered by no datapoint that one request may bridge; below 0 it
// counts as 0. Datapoints left out get no block; their owner tells the user why.
[[nodiscard]] std::vector<ReadBlock> blocks(std::span<const Datapoint> datapoints, int maxGap,
                                            TCPFraming framing);

// The value of datapoint in data, the parsed answer to a read of block. No value when the
// block does not contain the datapoint or the answer is too short to reach it. Bits are never
// scaled; registers are decoded with the datapoint's type, word order and scale.
[[nodiscard]] std::optional<DecodedValue> value(const Datapoint& datapoint, const ReadBlock& block,
                                                const PDU::ReadData& data);

}  // namespace tessarin::ReadPlanner
