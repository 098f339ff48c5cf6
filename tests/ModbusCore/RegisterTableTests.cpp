#include "ModbusCore/RegisterTable.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace tessarin {
namespace {

TEST(RegisterTable, RawValuesRoundTripAndRejectNearMisses) {
    for (RegisterTable table : allRegisterTables) {
        SCOPED_TRACE(rawValue(table));
        EXPECT_EQ(registerTableFromRawValue(rawValue(table)), table);
    }
    for (std::string_view raw : {"Coil", "holdingregister", " coil", "", "HR"}) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(registerTableFromRawValue(raw), std::nullopt);
    }
}

TEST(RegisterTable, ReadFunctionFollowsTheTableOrder) {
    // The first four function codes are the four reads, in table order.
    for (RegisterTable table : allRegisterTables) {
        EXPECT_EQ(rawValue(readFunction(table)), std::to_underlying(table) + 1);
    }
}

TEST(RegisterTable, TextParserAcceptsWhatPeopleType) {
    struct Row {
        std::string_view text;
        std::optional<RegisterTable> expected;
    };
    const Row rows[] = {
        {" Holding Registers ", RegisterTable::holdingRegister},
        {"\tHR\t", RegisterTable::holdingRegister},
        {"4x", RegisterTable::holdingRegister},
        {"4", RegisterTable::holdingRegister},
        {"Holding", RegisterTable::holdingRegister},
        {"input", RegisterTable::discreteInput},  // the bare word is a discrete input
        {"Discrete Inputs", RegisterTable::discreteInput},
        {"1X", RegisterTable::discreteInput},
        {"3X", RegisterTable::inputRegister},
        {"Input registers", RegisterTable::inputRegister},
        {"i r", RegisterTable::inputRegister},  // inner spaces go before the lookup
        {"COILS", RegisterTable::coil},
        {"0", RegisterTable::coil},
        {"0x", RegisterTable::coil},
        {"2", std::nullopt},
        {"", std::nullopt},
        {"holdin", std::nullopt},  // no prefixes
        {"holdingregisterss", std::nullopt},
        {"40001", std::nullopt},
        {"\nHR", std::nullopt},  // only spaces and tabs are trimmed
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(registerTableFromText(row.text), row.expected);
    }
}

TEST(RegisterTable, ModiconAddressPadsToFourThenFiveDigits) {
    struct Row {
        RegisterTable table;
        std::uint16_t address;
        std::string_view expected;
    };
    const Row rows[] = {
        {RegisterTable::holdingRegister, 0, "40001"},
        {RegisterTable::inputRegister, 9, "30010"},
        {RegisterTable::coil, 0, "00001"},
        {RegisterTable::discreteInput, 99, "10100"},
        {RegisterTable::holdingRegister, 9998, "49999"},
        {RegisterTable::holdingRegister, 9999, "410000"},
        {RegisterTable::coil, 65535, "065536"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(modiconAddress(row.table, row.address), row.expected);
    }
}

}  // namespace
}  // namespace tessarin
