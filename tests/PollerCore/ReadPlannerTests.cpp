#include "PollerCore/ReadPlanner.hpp"

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/ValueCodec.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

Datapoint at(RegisterTable table, std::uint16_t address, DataType type = DataType::uint16,
             std::uint8_t unit = 1) {
    Datapoint point;
    point.unitID = unit;
    point.setTable(table);
    point.address = address;
    if (!isBit(table)) point.dataType = type;
    return point;
}

Datapoint hr(std::uint16_t address, DataType type = DataType::uint16, std::uint8_t unit = 1) {
    return at(RegisterTable::holdingRegister, address, type, unit);
}

ReadBlock block(std::uint16_t address, int count, RegisterTable table = RegisterTable::holdingRegister,
                std::uint8_t unit = 1) {
    return {unit, table, address, count};
}

struct PlanCase {
    std::string_view name;
    std::vector<Datapoint> points;
    int maxGap;
    std::vector<ReadBlock> blocks;
    TCPFraming framing = TCPFraming::modbusTCP;
};

std::vector<Datapoint> uint16Run(RegisterTable table, int first, int last) {
    std::vector<Datapoint> out;
    for (int address = first; address <= last; ++address)
        out.push_back(at(table, static_cast<std::uint16_t>(address)));
    return out;
}

TEST(ReadPlanner, Blocks) {
    std::vector<Datapoint> withFloats = uint16Run(RegisterTable::holdingRegister, 0, 122);
    withFloats.push_back(hr(123, DataType::float32));
    withFloats.push_back(hr(124, DataType::float32));
    const PlanCase cases[] = {
        {"nothing", {}, 0, {}},
        {"RTU: only broadcast and reserved units",
         {hr(0, DataType::uint16, 0), hr(1, DataType::uint16, 248), hr(2, DataType::uint16, 255)},
         0,
         {},
         TCPFraming::rtuOverTCP},
        // 0 and 255 address a Modbus TCP device itself: the units its users are told to try.
        {"Modbus TCP: every unit, 0 and 255 included",
         {hr(0, DataType::uint16, 0), hr(1, DataType::uint16, 248), hr(2, DataType::uint16, 255)},
         0,
         {block(0, 1, RegisterTable::holdingRegister, 0), block(1, 1, RegisterTable::holdingRegister, 248),
          block(2, 1, RegisterTable::holdingRegister, 255)}},
        {"RTU: units 1 and 247 are read",
         {hr(0, DataType::uint16, 247), hr(0, DataType::uint16, 1)},
         0,
         {block(0, 1), block(0, 1, RegisterTable::holdingRegister, 247)},
         TCPFraming::rtuOverTCP},
        {"touching", {hr(0), hr(1)}, 0, {block(0, 2)}},
        {"hole of one, adjacent only", {hr(0), hr(2)}, 0, {block(0, 1), block(2, 1)}},
        {"hole of one bridged", {hr(0), hr(2)}, 1, {block(0, 3)}},
        {"negative gap is adjacent only", {hr(0), hr(1), hr(3)}, -5, {block(0, 2), block(3, 1)}},
        {"huge gap does not wrap", {hr(0), hr(100)}, std::numeric_limits<int>::max(), {block(0, 101)}},
        {"same address twice", {hr(4, DataType::float32), hr(4, DataType::float32)}, 0, {block(4, 2)}},
        {"overlap inside a longer range", {hr(0, DataType::float64), hr(1)}, 0, {block(0, 4)}},
        {"126 registers",
         uint16Run(RegisterTable::holdingRegister, 0, 125),
         0,
         {block(0, 125), block(125, 1)}},
        {"2001 coils",
         uint16Run(RegisterTable::coil, 0, 2000),
         0,
         {block(0, 2000, RegisterTable::coil), block(2000, 1, RegisterTable::coil)}},
        {"a datapoint that would cross the limit starts a new block",
         withFloats,
         0,
         {block(0, 125), block(124, 2)}},
        {"float64 past the last address is left out, uint16 at it stays",
         {hr(65533, DataType::float64), hr(65535)},
         0,
         {block(65535, 1)}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadPlanner::blocks(c.points, c.maxGap, c.framing), c.blocks);
    }
}

TEST(ReadPlanner, BlocksCoverEveryReadableDatapointWithinTheLimits) {
    // A spread of types and addresses across units and tables, planned with several gaps.
    std::vector<Datapoint> points;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245U + 12345U; };
    for (int i = 0; i < 600; ++i) {
        const RegisterTable table = allRegisterTables[next() % 4];
        const DataType type = allDataTypes[next() % allDataTypes.size()];
        points.push_back(at(table, static_cast<std::uint16_t>(next() % 65536), type,
                            static_cast<std::uint8_t>(next() % 4 == 0 ? 255 - next() % 9 : next() % 4)));
    }
    for (const auto& [gap, framing] :
         {std::pair(0, TCPFraming::rtuOverTCP), std::pair(3, TCPFraming::modbusTCP),
          std::pair(50, TCPFraming::rtuOverTCP), std::pair(5000, TCPFraming::modbusTCP)}) {
        SCOPED_TRACE(gap);
        const auto blocks = ReadPlanner::blocks(points, gap, framing);
        for (const ReadBlock& b : blocks) {
            EXPECT_GE(b.count, 1);
            EXPECT_LE(b.count, maxReadCount(b.table));
            EXPECT_LE(b.range().upper, 65535);
        }
        for (const Datapoint& p : points) {
            const bool unitAnswers = framing == TCPFraming::modbusTCP || (p.unitID >= 1 && p.unitID <= 247);
            const bool readable = unitAnswers && p.lastAddress().has_value();
            const auto covering =
                std::ranges::count_if(blocks, [&](const ReadBlock& b) { return b.contains(p); });
            EXPECT_EQ(covering, readable ? 1 : 0) << p.unitID << " " << rawValue(p.table) << " " << p.address;
        }
        EXPECT_TRUE(std::ranges::is_sorted(
            blocks, {}, [](const ReadBlock& b) { return std::tuple(b.unit, b.table, b.address); }));
        EXPECT_EQ(ReadPlanner::blocks(points, gap, framing), blocks);
    }
}

// Scale and word order are the codec's; the planner must pass them on and find the words.
TEST(ReadPlanner, ValueIsCutFromTheAnswerAtTheDatapointsOffset) {
    const ReadBlock registers = block(100, 6);
    const auto words = PDU::ReadData::registers({0x00D7, 0xFFFF, 0x4148, 0x0000, 0x0000, 0x4148});
    const auto shortWords = PDU::ReadData::registers({1, 2, 3});
    const ReadBlock coils = block(0, 3, RegisterTable::coil);
    const auto bits = PDU::ReadData::bits({true, false, true});
    const auto oneBit = PDU::ReadData::bits({true});
    Datapoint halved = hr(100);
    halved.scale = 0.5;
    Datapoint swapped = hr(104, DataType::float32);
    swapped.wordOrder = WordOrder::cdab;
    Datapoint coil = at(RegisterTable::coil, 2);
    coil.scale = 10;  // bits are never scaled

    using Value = std::optional<ReadPlanner::DecodedValue>;
    struct Row {
        std::string_view name;
        Datapoint point;
        ReadBlock block;
        const PDU::ReadData& data;
        Value expected;
    };
    const Row rows[] = {
        {"scaled", halved, registers, words, Value{{107.5, {0x00D7}}}},
        {"word order, at an offset", swapped, registers, words, Value{{12.5, {0x0000, 0x4148}}}},
        {"bit", coil, coils, bits, Value{{1.0, {1}}}},
        {"other unit", hr(100, DataType::uint16, 2), registers, words, std::nullopt},
        {"sticking out of the block", hr(105, DataType::uint32), registers, words, std::nullopt},
        {"last word of a short answer", hr(102), registers, shortWords, Value{{3.0, {3}}}},
        {"beyond a short answer", hr(103), registers, shortWords, std::nullopt},
        {"partly beyond a short answer", hr(102, DataType::float32), registers, shortWords, std::nullopt},
        {"bit beyond the answer", coil, coils, oneBit, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadPlanner::value(row.point, row.block, row.data), row.expected);
    }
}

}  // namespace
}  // namespace tessarin
