#include "ModbusCore/RegisterTable.hpp"

#include "ModbusCore/AsciiText.hpp"

#include <fmt/format.h>

#include <algorithm>

namespace tessarin {

namespace {

struct TableAlias {
    std::string_view text;
    RegisterTable table;
};

// Spaces are removed before the lookup, so "holding registers" arrives as "holdingregisters".
// A bare "input" is a discrete input: that is what the word means in most device manuals.
constexpr std::array<TableAlias, 23> tableAliases{{
    {"co", RegisterTable::coil},
    {"coil", RegisterTable::coil},
    {"coils", RegisterTable::coil},
    {"0x", RegisterTable::coil},
    {"0", RegisterTable::coil},
    {"di", RegisterTable::discreteInput},
    {"discreteinput", RegisterTable::discreteInput},
    {"discreteinputs", RegisterTable::discreteInput},
    {"discrete", RegisterTable::discreteInput},
    {"input", RegisterTable::discreteInput},
    {"1x", RegisterTable::discreteInput},
    {"1", RegisterTable::discreteInput},
    {"hr", RegisterTable::holdingRegister},
    {"holdingregister", RegisterTable::holdingRegister},
    {"holdingregisters", RegisterTable::holdingRegister},
    {"holding", RegisterTable::holdingRegister},
    {"4x", RegisterTable::holdingRegister},
    {"4", RegisterTable::holdingRegister},
    {"ir", RegisterTable::inputRegister},
    {"inputregister", RegisterTable::inputRegister},
    {"inputregisters", RegisterTable::inputRegister},
    {"3x", RegisterTable::inputRegister},
    {"3", RegisterTable::inputRegister},
}};

}  // namespace

std::optional<RegisterTable> registerTableFromText(std::string_view text) {
    const std::string key =
        AsciiText::withoutSpaces(AsciiText::lowercased(AsciiText::trimSpacesAndTabs(text)));
    const auto* found = std::ranges::find(tableAliases, std::string_view(key), &TableAlias::text);
    if (found == tableAliases.end()) return std::nullopt;
    return found->table;
}

std::string modiconAddress(RegisterTable table, std::uint16_t address) {
    const int reference = address + 1;
    return reference < 10000 ? fmt::format("{}{:04}", modiconPrefix(table), reference)
                             : fmt::format("{}{:05}", modiconPrefix(table), reference);
}

}  // namespace tessarin
