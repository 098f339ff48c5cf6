#include "ModbusCore/RegisterTable.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <tuple>

namespace tessarin {
namespace {

TEST(RegisterTable, RawValuesRoundTripAndRejectNearMisses) {
    for (RegisterTable table : allRegisterTables) {
        EXPECT_EQ(registerTableFromRawValue(rawValue(table)), table);
        // The four reads are the first four function codes, in table order.
        EXPECT_EQ(rawValue(readFunction(table)), std::to_underlying(table) + 1);
    }
    for (std::string_view raw : {"Coil", "holdingregister", " coil", "", "HR"}) {
        EXPECT_EQ(registerTableFromRawValue(raw), std::nullopt) << raw;
    }
}

TEST(RegisterTable, TextParserAcceptsWhatPeopleType) {
    const std::pair<std::string_view, std::optional<RegisterTable>> rows[] = {
        {"4x", RegisterTable::holdingRegister},
        {"input", RegisterTable::discreteInput},  // the bare word is a discrete input
        {"i r", RegisterTable::inputRegister},    // inner spaces go before the lookup
        {"0", RegisterTable::coil},
        {"2", std::nullopt},
        {"holdin", std::nullopt},  // no prefixes
        {"40001", std::nullopt},
        {"\nHR", std::nullopt},  // only spaces and tabs are trimmed
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(registerTableFromText(text), expected) << text;
}

TEST(RegisterTable, ModiconAddressPadsToFourThenFiveDigits) {
    const std::tuple<RegisterTable, std::uint16_t, std::string_view> rows[] = {
        {RegisterTable::inputRegister, 9, "30010"},      {RegisterTable::coil, 0, "00001"},
        {RegisterTable::holdingRegister, 9998, "49999"}, {RegisterTable::holdingRegister, 9999, "410000"},
        {RegisterTable::coil, 65535, "065536"},
    };
    for (const auto& [table, address, expected] : rows) EXPECT_EQ(modiconAddress(table, address), expected);
}

}  // namespace
}  // namespace tessarin
