#pragma once

#include "ModbusCore/FunctionCode.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tessarin {

// The four Modbus data tables. The raw value (the case name) is the persisted form in project
// files and datapoint JSON, and the id that lists use.
enum class RegisterTable : std::uint8_t { coil, discreteInput, holdingRegister, inputRegister };

struct RegisterTableFacts {
    RegisterTable table;
    std::string_view rawValue;
    std::string_view code;  // two-letter short name of the CSV export
    bool isBit;             // one address holds one bit rather than a 16-bit register
    bool isWritable;        // coils (5, 15) and holding registers (6, 16)
    int maxReadCount;       // addresses one read request may cover
    int modiconPrefix;      // leading digit in Modicon notation
    FunctionCode readFunction;
};

inline constexpr std::array<RegisterTableFacts, 4> registerTableFacts{{
    {RegisterTable::coil, "coil", "CO", true, true, maxReadBits, 0, FunctionCode::readCoils},
    {RegisterTable::discreteInput, "discreteInput", "DI", true, false, maxReadBits, 1,
     FunctionCode::readDiscreteInputs},
    {RegisterTable::holdingRegister, "holdingRegister", "HR", false, true, maxReadRegisters, 4,
     FunctionCode::readHoldingRegisters},
    {RegisterTable::inputRegister, "inputRegister", "IR", false, false, maxReadRegisters, 3,
     FunctionCode::readInputRegisters},
}};

// Every case, in declaration order.
inline constexpr std::array<RegisterTable, registerTableFacts.size()> allRegisterTables = [] {
    std::array<RegisterTable, registerTableFacts.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = registerTableFacts[i].table;
    return out;
}();

[[nodiscard]] constexpr const RegisterTableFacts& facts(RegisterTable table) {
    return registerTableFacts[std::to_underlying(table)];
}

[[nodiscard]] constexpr std::string_view rawValue(RegisterTable table) {
    return facts(table).rawValue;
}
[[nodiscard]] constexpr std::string_view code(RegisterTable table) {
    return facts(table).code;
}
[[nodiscard]] constexpr bool isBit(RegisterTable table) {
    return facts(table).isBit;
}
[[nodiscard]] constexpr bool isWritable(RegisterTable table) {
    return facts(table).isWritable;
}
[[nodiscard]] constexpr int maxReadCount(RegisterTable table) {
    return facts(table).maxReadCount;
}
[[nodiscard]] constexpr int modiconPrefix(RegisterTable table) {
    return facts(table).modiconPrefix;
}
[[nodiscard]] constexpr FunctionCode readFunction(RegisterTable table) {
    return facts(table).readFunction;
}

// Exactly a case name ("holdingRegister"), else no value.
[[nodiscard]] constexpr std::optional<RegisterTable> registerTableFromRawValue(std::string_view raw) {
    for (const RegisterTableFacts& entry : registerTableFacts) {
        if (entry.rawValue == raw) return entry.table;
    }
    return std::nullopt;
}

// What people type in spreadsheets: "HR", "Holding Registers", "4x", "4", "input" (a discrete
// input), the names the program shows in any of its languages ("Holding-Register", "Registre
// d'entrée") and so on, compared by their name keys (capitals, accents, spaces and joining
// hyphens do not count). Surrounding spaces and tabs are trimmed. No value for anything else.
[[nodiscard]] std::optional<RegisterTable> registerTableFromText(std::string_view text);

// The reference a device manual gives: prefix digit, then address + 1 padded to four digits
// (five from address 9999 on). Holding register 0 is "40001", input register 9 is "30010".
[[nodiscard]] std::string modiconAddress(RegisterTable table, std::uint16_t address);

}  // namespace tessarin
