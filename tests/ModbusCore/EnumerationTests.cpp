#include "ModbusCore/DataType.hpp"
#include "ModbusCore/DisplayFormat.hpp"
#include "ModbusCore/FunctionCode.hpp"
#include "ModbusCore/ModbusException.hpp"
#include "ModbusCore/PollFailure.hpp"
#include "ModbusCore/RegisterTable.hpp"
#include "ModbusCore/WordOrder.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <tuple>

namespace tessarin {
namespace {

// Raw values are what project files store, so they are exact: no other spelling is accepted.
TEST(Enumerations, RawValuesRoundTripAndRejectNearMisses) {
    for (DataType type : allDataTypes) EXPECT_EQ(dataTypeFromRawValue(rawValue(type)), type);
    for (WordOrder order : allWordOrders) EXPECT_EQ(wordOrderFromRawValue(rawValue(order)), order);
    for (DisplayFormat format : allDisplayFormats)
        EXPECT_EQ(displayFormatFromRawValue(rawValue(format)), format);
    for (RegisterTable table : allRegisterTables) {
        EXPECT_EQ(registerTableFromRawValue(rawValue(table)), table);
        // The four reads are the first four function codes, in table order.
        EXPECT_EQ(rawValue(readFunction(table)), std::to_underlying(table) + 1);
    }
    EXPECT_EQ(dataTypeFromRawValue("Float32"), std::nullopt);
    EXPECT_EQ(wordOrderFromRawValue("CDAB"), std::nullopt);
    EXPECT_EQ(displayFormatFromRawValue(""), std::nullopt);  // the text parser's default only
    for (std::string_view raw : {"Coil", " coil", "HR"}) {
        EXPECT_EQ(registerTableFromRawValue(raw), std::nullopt) << raw;
    }
}

TEST(Enumerations, EveryProtocolByteMapsToItsCaseOrToNothing) {
    for (int byte = 0; byte < 256; ++byte) {
        const auto raw = static_cast<std::uint8_t>(byte);
        const std::optional<FunctionCode> function = functionCodeFromRawValue(raw);
        EXPECT_TRUE(!function || rawValue(*function) == raw) << byte;
        const std::optional<ModbusException> exception = modbusExceptionFromRawValue(raw);
        EXPECT_TRUE(!exception || rawValue(*exception) == raw) << byte;
    }
    for (const FunctionCode code : allFunctionCodes)
        EXPECT_EQ(functionCodeFromRawValue(rawValue(code)), code);
    for (const ModbusException code : allModbusExceptions)
        EXPECT_EQ(modbusExceptionFromRawValue(rawValue(code)), code);
    // The exception bit is never a function of its own.
    EXPECT_EQ(functionCodeFromRawValue(0x83), std::nullopt);
}

TEST(DataType, RangesHoldTheNearestDoublesOfTheLimits) {
    EXPECT_EQ(range(DataType::float64).upper, 1.7976931348623157e308);
    EXPECT_EQ(range(DataType::float32).lower, -3.4028234663852886e38);
    EXPECT_EQ(range(DataType::uint64).upper, 18446744073709551616.0);
    EXPECT_EQ(range(DataType::int64).lower, -9223372036854775808.0);
    EXPECT_EQ(range(DataType::int64).upper, 9223372036854775808.0);
}

// What people type in CSV files: any case, surrounding blanks, PLC names; never a prefix.
TEST(TextParsers, AcceptNamesAndAliasesButNoPrefixes) {
    const std::pair<std::string_view, std::optional<DataType>> types[] = {
        {"REAL", DataType::float32}, {" Bool\t", DataType::bool_}, {"DWord", DataType::uint32},
        {"S64", DataType::int64},    {"ulint", DataType::uint64},  {"u 16", std::nullopt},
        {"", std::nullopt},          {"uint8", std::nullopt},      {"floa", std::nullopt},
    };
    for (const auto& [text, expected] : types) EXPECT_EQ(dataTypeFromText(text), expected) << text;

    const std::pair<std::string_view, std::optional<RegisterTable>> tables[] = {
        {"4x", RegisterTable::holdingRegister},
        {"input", RegisterTable::discreteInput},  // the bare word is a discrete input
        {"i r", RegisterTable::inputRegister},    // inner spaces go before the lookup
        {"0", RegisterTable::coil},
        {"2", std::nullopt},
        {"holdin", std::nullopt},
        {"40001", std::nullopt},
        {"\nHR", std::nullopt},  // only spaces and tabs are trimmed
        // Hyphens, accents and apostrophes as people type the names in their language.
        {"Holding-Register", RegisterTable::holdingRegister},
        {"INPUT_REGISTERS", RegisterTable::inputRegister},
        {"Registre d’entrée", RegisterTable::inputRegister},
        {"registro de retencion", RegisterTable::holdingRegister},
        {"Entrées TOR", RegisterTable::discreteInput},
        {"Bobina", RegisterTable::coil},
        // A joiner at either end is not between two letters, so it is not dropped.
        {"-1", std::nullopt},
        {"holding-", std::nullopt},
    };
    for (const auto& [text, expected] : tables) EXPECT_EQ(registerTableFromText(text), expected) << text;

    // The CSV import tests cover the fallbacks of word orders and formats; blanks and long names here.
    EXPECT_EQ(wordOrderFromText(" dcba "), WordOrder::dcba);
    EXPECT_EQ(displayFormatFromText("hexadecimal"), DisplayFormat::hex);
}

TEST(RegisterTable, ModiconAddressPadsToFourThenFiveDigits) {
    const std::tuple<RegisterTable, std::uint16_t, std::string_view> rows[] = {
        {RegisterTable::inputRegister, 9, "30010"},      {RegisterTable::coil, 0, "00001"},
        {RegisterTable::holdingRegister, 9998, "49999"}, {RegisterTable::holdingRegister, 9999, "410000"},
        {RegisterTable::coil, 65535, "065536"},
    };
    for (const auto& [table, address, expected] : rows) EXPECT_EQ(modiconAddress(table, address), expected);
}

TEST(PollFailure, PayloadCountsOnlyForTheKindsThatCarryOne) {
    EXPECT_NE(PollFailure::exception(2), PollFailure::exception(12));
    EXPECT_NE(PollFailure::unexpectedUnit(2), PollFailure::unexpectedFunction(2));
    // A stray byte left in a payload-less failure must not split equal failures.
    EXPECT_EQ((PollFailure{PollFailure::Kind::timeout, 7}), PollFailure::timeout());
    EXPECT_EQ(name(static_cast<PollFailure::Kind>(200)), "");
}

}  // namespace
}  // namespace tessarin
