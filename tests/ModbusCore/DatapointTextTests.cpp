#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/NumberLocale.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <tuple>

namespace tessarin {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

Datapoint point(DataType type, double scale = 1, DisplayFormat format = DisplayFormat::decimal,
                RegisterTable table = RegisterTable::holdingRegister) {
    Datapoint fields;
    fields.table = table;
    fields.dataType = type;
    fields.scale = scale;
    fields.format = format;
    return Datapoint::make(fields);
}

TEST(NumberLocale, ChoosesTheFirstSetVariableAndMapsCToPosix) {
    const std::tuple<const char*, const char*, const char*, std::string_view> rows[] = {
        {"C", "de_DE.UTF-8", "nl_NL.UTF-8", "en_US_POSIX"},  // LC_ALL wins even when it is C
        {"", "de_DE.UTF-8", "nl_NL.UTF-8", "de_DE"},         // an empty one counts as unset
    };
    for (const auto& [lcAll, lcNumeric, lang, expected] : rows) {
        EXPECT_EQ(NumberLocale::identifierFromEnvironment(lcAll, lcNumeric, lang), expected);
    }
}

TEST(NumberLocale, SeparatorsWithoutGrouping) {
    const NumberLocale english("en_US");
    const NumberLocale german("de_DE");
    EXPECT_EQ(NumberLocale("en_US_POSIX").decimalSeparator(), ".");
    // Never grouping separators, even where the locale groups by default.
    EXPECT_EQ(german.fixed(1234567.891, 2), "1234567,89");
    EXPECT_EQ(english.significant(1234567.0), "1234567");
    EXPECT_EQ(english.fixed(3, 99), "3.000000");  // clamped to six
}

TEST(DatapointFormatted, DecimalTextInTwoLocales) {
    const NumberLocale english("en_US");
    const NumberLocale german("de_DE");
    const std::tuple<Datapoint, double, std::string_view, std::string_view> rows[] = {
        {point(DataType::uint16, 0.01), 12.34, "12.34", "12,34"},
        {point(DataType::int16, 0.1), -3.0, "-3.0", "-3,0"},
        {point(DataType::int32, 0.25), 1.75, "1.8", "1,8"},        // 0.25 asks for one digit
        {point(DataType::int16, -0.1), 0.0 * -0.1, "0.0", "0,0"},  // no "-0.0" from a negative scale
        {point(DataType::uint64), 18446744073709551616.0, "18446744073709551616", "18446744073709551616"},
        {point(DataType::float32), static_cast<float>(0.1), "0.1", "0,1"},
        {point(DataType::float32), 123456789, "123456800", "123456800"},
        {point(DataType::float64, 0.1, DisplayFormat::hex), 2.5, "2.5", "2,5"},  // floats ignore hex
        {point(DataType::float32), -inf, "-∞", "-∞"},
        {point(DataType::int16), nan, "NaN", "NaN"},
    };
    for (const auto& [p, value, inEnglish, inGerman] : rows) {
        SCOPED_TRACE(testing::Message() << rawValue(p.dataType) << " scale " << p.scale << " " << value);
        EXPECT_EQ(p.formatted(value, english), inEnglish);
        EXPECT_EQ(p.formatted(value, german), inGerman);
    }
}

TEST(DatapointFormatted, HexBinaryAndBits) {
    const NumberLocale english("en_US");
    const std::tuple<Datapoint, double, std::string_view> rows[] = {
        {point(DataType::uint16, 0.01, DisplayFormat::hex), 12.34, "0x04D2"},
        {point(DataType::uint16, 0.01, DisplayFormat::binary), 12.34, "0000 0100 1101 0010"},
        {point(DataType::int32, 1, DisplayFormat::hex), -2, "0xFFFFFFFE"},
        {point(DataType::uint16, 1, DisplayFormat::hex), 70000, "0xFFFF"},  // clamped like a write
        {point(DataType::bool_), -2.0, "1"},
        {point(DataType::uint16, 1, DisplayFormat::decimal, RegisterTable::discreteInput), 0.0, "0"},
    };
    for (const auto& [p, value, expected] : rows) EXPECT_EQ(p.formatted(value, english), expected);
    EXPECT_EQ(point(DataType::uint64, 1, DisplayFormat::binary).formatted(3, english).size(), 64U + 15U);
}

TEST(DatapointParse, TypedInputChecksTheRawRange) {
    const Datapoint coil = point(DataType::bool_, 1, DisplayFormat::decimal, RegisterTable::coil);
    const std::tuple<Datapoint, std::string_view, std::optional<double>> rows[] = {
        {point(DataType::uint16, 0.1), "21,5", 21.5},
        {point(DataType::uint16, 0.1), "6553.6", std::nullopt},  // raw 65536
        {point(DataType::uint16, 0.1), "6553.54", 6553.54},      // rounds to 65535
        {point(DataType::uint16), " 1 2 ", 12.0},                // inner spaces go
        {point(DataType::uint16), "-0.4", -0.4},                 // rounds to 0, inside the range
        {point(DataType::uint16), "-0.5", std::nullopt},
        {point(DataType::float32), "3.5e38", std::nullopt},
        {point(DataType::uint64), "18446744073709551616", 18446744073709551616.0},
        {point(DataType::int64), "-9223372036854775808", -9223372036854775808.0},
        {coil, " Ein ", 1.0},
        {point(DataType::int16), "0xFFFF", -1.0},
        {point(DataType::float32), "0x3F800000", 1.0},
        {point(DataType::uint16, 0.1), "0b101", 0.5},
        {point(DataType::uint64), "0xFFFFFFFFFFFFFFFF", 18446744073709551616.0},
        {point(DataType::int32), "0x ff ff ff ff", -1.0},
    };
    for (const auto& [p, text, expected] : rows) {
        EXPECT_EQ(p.parse(text), expected) << rawValue(p.dataType) << " \"" << text << "\"";
    }
}

TEST(DatapointParse, PlainNumbers) {
    const std::pair<std::string_view, std::optional<double>> rows[] = {
        {" 2,5\t", 2.5},
        {"-0", -0.0},
        {".5", 0.5},
        {"1 000", std::nullopt},
        {"1,000.5", std::nullopt},
        {"1e", std::nullopt},
        {"0x10", std::nullopt},
        {"Infinity", std::nullopt},
        {"1E+2", 100.0},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(Datapoint::parseNumber(text), expected) << text;
}

TEST(DatapointParse, FormattedDecimalsParseBack) {
    // What the table shows must be accepted by the write editor in the same locale.
    for (const char* id : {"en_US", "de_DE", "nl_NL"}) {
        const NumberLocale locale(id);
        for (const Datapoint& p : {point(DataType::int16, 0.1), point(DataType::int32, 0.001),
                                   point(DataType::float32), point(DataType::float64)}) {
            SCOPED_TRACE(testing::Message() << id << " " << rawValue(p.dataType));
            const std::string text = p.formatted(-12.5, locale);
            const std::optional<double> parsed = p.parse(text);
            ASSERT_TRUE(parsed.has_value()) << text;
            EXPECT_DOUBLE_EQ(*parsed, -12.5);
        }
    }
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

TEST(DatapointFormatted, SixtyFourBitIntegersFromTheirRegistersAreExact) {
    const NumberLocale english("en_US");
    const std::vector<std::uint16_t> counting{0x0123, 0x4567, 0x89AB, 0xCDEF};
    const std::vector<std::uint16_t> lowest{0x8000, 0, 0, 0};
    const auto with = [](DataType type, WordOrder order, DisplayFormat format = DisplayFormat::decimal,
                         double scale = 1) {
        Datapoint p = point(type, scale, format);
        p.wordOrder = order;
        return p;
    };
    const std::tuple<Datapoint, std::vector<std::uint16_t>, std::string_view> rows[] = {
        // As doubles these read 14839230665905864704 and 0xCDEF89AB45670000.
        {with(DataType::uint64, WordOrder::cdab), counting, "14839230665905864995"},
        {with(DataType::uint64, WordOrder::cdab, DisplayFormat::hex), counting, "0xCDEF89AB45670123"},
        {with(DataType::uint64, WordOrder::abcd), counting, "81985529216486895"},
        {with(DataType::int64, WordOrder::cdab), counting, "-3607513407803686621"},
        {with(DataType::int64, WordOrder::abcd), lowest, "-9223372036854775808"},
        {with(DataType::int64, WordOrder::abcd, DisplayFormat::binary),
         {0, 0, 0, 0x000F},
         "0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 1111"},
        // A scale makes a number of it, which may round; so do the narrower types.
        {with(DataType::uint64, WordOrder::abcd, DisplayFormat::decimal, 2), counting, "163971058432973792"},
        {with(DataType::uint32, WordOrder::abcd), {0xFFFF, 0xFFFF}, "4294967295"},
        // Too few registers read as the codec reads them.
        {with(DataType::uint64, WordOrder::abcd), {0x0001}, "1"},
    };
    for (const auto& [p, registers, expected] : rows) {
        SCOPED_TRACE(testing::Message() << rawValue(p.dataType) << " " << rawValue(p.wordOrder) << " "
                                        << rawValue(p.format) << " scale " << p.scale);
        EXPECT_EQ(p.formattedRegisters(registers, english), expected);
    }
}

}  // namespace
}  // namespace tessarin
