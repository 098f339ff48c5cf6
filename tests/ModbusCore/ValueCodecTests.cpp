#include "ModbusCore/ValueCodec.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

namespace tessarin {
namespace {

using Registers = std::vector<std::uint16_t>;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
// Halfway between the largest single and 2^128: where IEEE rounding to single overflows.
constexpr double floatOverflowMidpoint = 340282356779733661637539395458142568448.0;

TEST(ValueCodec, BitsOfClampsRoundsAndSaturates) {
    const std::tuple<double, DataType, std::uint64_t> rows[] = {
        {nan, DataType::bool_, 0},
        {2.5, DataType::int16, 3},
        {-2.5, DataType::int16, 0xFFFD},
        {70000.0, DataType::uint16, 65535},
        {-40000.0, DataType::int16, 0x8000},
        {inf, DataType::uint32, 0xFFFFFFFF},
        {4294967295.6, DataType::uint32, 0xFFFFFFFF},
        {1e39, DataType::float32, 0x7F800000},
        {nan, DataType::float32, 0x7FC00000},
        {std::nextafter(floatOverflowMidpoint, 0.0), DataType::float32, 0x7F7FFFFF},
        {floatOverflowMidpoint, DataType::float32, 0x7F800000},  // the tie goes to the even infinity
        {18446744073709551616.0, DataType::uint64, 0xFFFFFFFFFFFFFFFF},
        {18446744073709549568.0, DataType::uint64, 0xFFFFFFFFFFFFF800},  // largest double below 2^64
        {9223372036854775808.0, DataType::int64, 0x7FFFFFFFFFFFFFFF},
        {-9223372036854775808.0, DataType::int64, 0x8000000000000000},
        {nan, DataType::int64, 0},
        {-0.0, DataType::float64, 0x8000000000000000},
    };
    for (const auto& [value, type, expected] : rows) {
        EXPECT_EQ(ValueCodec::bitsOf(value, type), expected) << value << " as " << rawValue(type);
    }
    EXPECT_EQ(ValueCodec::bitsOf(nan, DataType::float64), std::bit_cast<std::uint64_t>(nan));
}

TEST(ValueCodec, ValueOfReadsOnlyTheTypesBits) {
    const std::tuple<std::uint64_t, DataType, double> rows[] = {
        {0xFFFFFFFFFFFFFFFE, DataType::bool_, 0.0},
        {0xABCDFFFF, DataType::int16, -1.0},
        {0x1234567880000000, DataType::int32, -2147483648.0},
        {0xFFFFFFFF41480000, DataType::float32, 12.5},
        {0xFFFFFFFFFFFFFFFF, DataType::uint64, 18446744073709551616.0},
        {0x8000000000000000, DataType::int64, -9223372036854775808.0},
    };
    for (const auto& [bits, type, expected] : rows) {
        EXPECT_EQ(ValueCodec::valueOf(bits, type), expected) << std::hex << bits << " as " << rawValue(type);
    }
    EXPECT_TRUE(std::isnan(ValueCodec::valueOf(0x7FC00000, DataType::float32)));
}

TEST(ValueCodec, WordOrderLayouts) {
    const std::tuple<WordOrder, Registers, Registers> rows[] = {
        {WordOrder::abcd, {0x1234, 0x5678}, {0x0102, 0x0304, 0x0506, 0x0708}},
        {WordOrder::cdab, {0x5678, 0x1234}, {0x0708, 0x0506, 0x0304, 0x0102}},
        {WordOrder::badc, {0x3412, 0x7856}, {0x0201, 0x0403, 0x0605, 0x0807}},
        {WordOrder::dcba, {0x7856, 0x3412}, {0x0807, 0x0605, 0x0403, 0x0201}},
    };
    for (const auto& [order, for32, for64] : rows) {
        SCOPED_TRACE(label(order));
        for (DataType type : {DataType::uint32, DataType::int32, DataType::float32}) {
            EXPECT_EQ(ValueCodec::registersFromBits(0x12345678, type, order), for32);
            EXPECT_EQ(ValueCodec::bitsFromRegisters(for32, type, order), 0x12345678U);
        }
        for (DataType type : {DataType::uint64, DataType::int64, DataType::float64}) {
            EXPECT_EQ(ValueCodec::registersFromBits(0x0102030405060708, type, order), for64);
            EXPECT_EQ(ValueCodec::bitsFromRegisters(for64, type, order), 0x0102030405060708U);
        }
        // A single register is never reordered, not even byte-swapped.
        EXPECT_EQ(ValueCodec::registersFromBits(0x1234, DataType::int16, order), Registers{0x1234});
        EXPECT_EQ(ValueCodec::bitsFromRegisters(Registers{0x1234}, DataType::uint16, order), 0x1234U);
    }
}

TEST(ValueCodec, ShortAndLongRegisterArrays) {
    // Only the first n registers count; fewer are combined as they are, unordered when single.
    EXPECT_EQ(ValueCodec::bitsFromRegisters(Registers{0xFFFF}, DataType::int32, WordOrder::dcba), 0xFFFFU);
    EXPECT_EQ(ValueCodec::bitsFromRegisters(Registers{}, DataType::float64, WordOrder::abcd), 0U);
    EXPECT_EQ(ValueCodec::bitsFromRegisters(Registers{1, 2, 3}, DataType::uint64, WordOrder::cdab),
              0x000300020001U);
    EXPECT_EQ(ValueCodec::bitsFromRegisters(Registers{0x0001, 0xFFFF}, DataType::uint16, WordOrder::abcd),
              1U);
}

TEST(ValueCodec, ScaleConvertsBothWaysAndZeroMeansUnscaled) {
    const auto read = [](Registers registers, DataType type, double scale) {
        return ValueCodec::valueFromRegisters(registers, type, WordOrder::abcd, scale);
    };
    EXPECT_DOUBLE_EQ(read({215}, DataType::uint16, 0.1), 21.5);
    EXPECT_EQ(read({215}, DataType::uint16, 0), 215.0);
    EXPECT_EQ(ValueCodec::registersFor(21.54, DataType::uint16, WordOrder::abcd, 0.1), Registers{215});
    EXPECT_EQ(ValueCodec::registersFor(-3, DataType::uint16, WordOrder::abcd, 0.1), Registers{0});
    EXPECT_EQ(ValueCodec::registersFor(215, DataType::uint16, WordOrder::abcd, 0), Registers{215});
    EXPECT_EQ(ValueCodec::registersFor(-50, DataType::int32, WordOrder::cdab, -10), (Registers{5, 0}));
}

}  // namespace
}  // namespace tessarin
