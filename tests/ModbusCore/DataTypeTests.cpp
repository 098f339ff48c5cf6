#include "ModbusCore/DataType.hpp"
#include "ModbusCore/DisplayFormat.hpp"
#include "ModbusCore/WordOrder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace tessarin {
namespace {

TEST(DataType, RawValuesRoundTripForEveryEnumeration) {
    for (DataType type : allDataTypes) {
        SCOPED_TRACE(rawValue(type));
        EXPECT_EQ(dataTypeFromRawValue(rawValue(type)), type);
    }
    for (WordOrder order : allWordOrders) {
        SCOPED_TRACE(rawValue(order));
        EXPECT_EQ(wordOrderFromRawValue(rawValue(order)), order);
    }
    for (DisplayFormat format : allDisplayFormats) {
        SCOPED_TRACE(rawValue(format));
        EXPECT_EQ(displayFormatFromRawValue(rawValue(format)), format);
    }
    EXPECT_EQ(rawValue(DataType::bool_), "bool");
    EXPECT_EQ(dataTypeFromRawValue("Float32"), std::nullopt);
    EXPECT_EQ(wordOrderFromRawValue("CDAB"), std::nullopt);
    EXPECT_EQ(displayFormatFromRawValue(""), std::nullopt);  // the text parser's default only
}

TEST(DataType, RangesHoldTheNearestDoublesOfTheLimits) {
    EXPECT_EQ(range(DataType::float64).upper, 1.7976931348623157e308);
    EXPECT_EQ(range(DataType::float32).lower, -3.4028234663852886e38);
    EXPECT_EQ(range(DataType::uint64).upper, 18446744073709551616.0);
    EXPECT_EQ(range(DataType::int64).lower, -9223372036854775808.0);
    EXPECT_EQ(range(DataType::int64).upper, 9223372036854775808.0);
}

TEST(DataType, AllowedTypesDependOnTheTable) {
    for (RegisterTable table : {RegisterTable::coil, RegisterTable::discreteInput}) {
        const auto allowed = allowedDataTypes(table);
        ASSERT_EQ(allowed.size(), 1U);
        EXPECT_EQ(allowed[0], DataType::bool_);
    }
    for (RegisterTable table : {RegisterTable::holdingRegister, RegisterTable::inputRegister}) {
        EXPECT_TRUE(std::ranges::equal(allowedDataTypes(table), allDataTypes));
    }
}

TEST(DataType, TextParserAcceptsNamesAndAliases) {
    struct Row {
        std::string_view text;
        std::optional<DataType> expected;
    };
    const Row rows[] = {
        {"REAL", DataType::float32},  {"UInt16", DataType::uint16}, {"word", DataType::uint16},
        {" Bool\t", DataType::bool_}, {"BIT", DataType::bool_},     {"int", DataType::int16},
        {"DWord", DataType::uint32},  {"long", DataType::int32},    {"lreal", DataType::float64},
        {"S64", DataType::int64},     {"ulint", DataType::uint64},  {"Float64", DataType::float64},
        {"u 16", std::nullopt},       {"", std::nullopt},           {"uint8", std::nullopt},
        {"floa", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(dataTypeFromText(row.text), row.expected);
    }
}

TEST(DataType, WordOrderAndDisplayFormatParsers) {
    EXPECT_EQ(wordOrderFromText("CDAB"), WordOrder::cdab);
    EXPECT_EQ(wordOrderFromText(" dcba "), WordOrder::dcba);
    EXPECT_EQ(wordOrderFromText("AB CD"), std::nullopt);
    EXPECT_EQ(wordOrderFromText("big"), std::nullopt);
    EXPECT_EQ(label(WordOrder::badc), "BADC");

    struct Row {
        std::string_view text;
        std::optional<DisplayFormat> expected;
    };
    const Row rows[] = {
        {"", DisplayFormat::decimal},
        {"  ", DisplayFormat::decimal},
        {"Dec", DisplayFormat::decimal},
        {"HEX", DisplayFormat::hex},
        {"hexadecimal", DisplayFormat::hex},
        {"bin", DisplayFormat::binary},
        {"b", std::nullopt},
        {"he x", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(displayFormatFromText(row.text), row.expected);
    }
}

}  // namespace
}  // namespace tessarin
