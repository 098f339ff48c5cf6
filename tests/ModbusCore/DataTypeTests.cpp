#include "ModbusCore/DataType.hpp"
#include "ModbusCore/DisplayFormat.hpp"
#include "ModbusCore/WordOrder.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace tessarin {
namespace {

// Raw values are what project files store, so they are exact: no other spelling is accepted.
TEST(DataType, RawValuesRoundTripForEveryEnumeration) {
    for (DataType type : allDataTypes) EXPECT_EQ(dataTypeFromRawValue(rawValue(type)), type);
    for (WordOrder order : allWordOrders) EXPECT_EQ(wordOrderFromRawValue(rawValue(order)), order);
    for (DisplayFormat format : allDisplayFormats)
        EXPECT_EQ(displayFormatFromRawValue(rawValue(format)), format);
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

// What people type in CSV files: any case, surrounding blanks, PLC names; never a prefix.
TEST(DataType, TextParsersAcceptNamesAndAliases) {
    const std::pair<std::string_view, std::optional<DataType>> types[] = {
        {"REAL", DataType::float32}, {" Bool\t", DataType::bool_}, {"DWord", DataType::uint32},
        {"S64", DataType::int64},    {"ulint", DataType::uint64},  {"u 16", std::nullopt},
        {"", std::nullopt},          {"uint8", std::nullopt},      {"floa", std::nullopt},
    };
    for (const auto& [text, expected] : types) EXPECT_EQ(dataTypeFromText(text), expected) << text;

    // The CSV import tests cover the fallbacks of word orders and formats; blanks and long names here.
    EXPECT_EQ(wordOrderFromText(" dcba "), WordOrder::dcba);
    EXPECT_EQ(displayFormatFromText("hexadecimal"), DisplayFormat::hex);
}

}  // namespace
}  // namespace tessarin
