#include "ModbusCore/RegisterTable.hpp"

#include "ModbusCore/AsciiText.hpp"
#include "ModbusCore/NameKey.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <vector>

namespace tessarin {

namespace {

struct TableAlias {
    std::string_view text;
    RegisterTable table;
};

// Compared by their name keys, so capitals, accents, spaces and joining hyphens do not count
// ("Holding-Register", "Registro de retencion"). A bare "input" (or "ingang") is a discrete input:
// that is what the word means in most device manuals. Every name the program shows for a table,
// in every language, is here, so a list typed from the screen reads back; so are the names
// earlier versions showed ("Houdregister").
constexpr std::array<TableAlias, 53> tableAliases{{
    {"co", RegisterTable::coil},
    {"coil", RegisterTable::coil},
    {"coils", RegisterTable::coil},
    {"0x", RegisterTable::coil},
    {"0", RegisterTable::coil},
    {"bobine", RegisterTable::coil},
    {"bobines", RegisterTable::coil},
    {"bobina", RegisterTable::coil},
    {"bobinas", RegisterTable::coil},
    {"di", RegisterTable::discreteInput},
    {"discrete input", RegisterTable::discreteInput},
    {"discrete inputs", RegisterTable::discreteInput},
    {"discrete", RegisterTable::discreteInput},
    {"input", RegisterTable::discreteInput},
    {"1x", RegisterTable::discreteInput},
    {"1", RegisterTable::discreteInput},
    {"discrete ingang", RegisterTable::discreteInput},
    {"discrete ingangen", RegisterTable::discreteInput},
    {"ingang", RegisterTable::discreteInput},
    {"entrée discrète", RegisterTable::discreteInput},
    {"entrées discrètes", RegisterTable::discreteInput},
    {"entrée TOR", RegisterTable::discreteInput},
    {"entrées TOR", RegisterTable::discreteInput},
    {"entrada discreta", RegisterTable::discreteInput},
    {"entradas discretas", RegisterTable::discreteInput},
    {"digitaler eingang", RegisterTable::discreteInput},
    {"digitale eingänge", RegisterTable::discreteInput},
    {"hr", RegisterTable::holdingRegister},
    {"holding register", RegisterTable::holdingRegister},
    {"holding registers", RegisterTable::holdingRegister},
    {"holding", RegisterTable::holdingRegister},
    {"4x", RegisterTable::holdingRegister},
    {"4", RegisterTable::holdingRegister},
    {"houdregister", RegisterTable::holdingRegister},
    {"houdregisters", RegisterTable::holdingRegister},
    {"registre de maintien", RegisterTable::holdingRegister},
    {"registres de maintien", RegisterTable::holdingRegister},
    {"registro de retención", RegisterTable::holdingRegister},
    {"registros de retención", RegisterTable::holdingRegister},
    {"registro holding", RegisterTable::holdingRegister},
    {"registros holding", RegisterTable::holdingRegister},
    {"ir", RegisterTable::inputRegister},
    {"input register", RegisterTable::inputRegister},
    {"input registers", RegisterTable::inputRegister},
    {"3x", RegisterTable::inputRegister},
    {"3", RegisterTable::inputRegister},
    {"ingangsregister", RegisterTable::inputRegister},
    {"ingangsregisters", RegisterTable::inputRegister},
    {"registre d'entrée", RegisterTable::inputRegister},
    {"registres d'entrée", RegisterTable::inputRegister},
    {"registro de entrada", RegisterTable::inputRegister},
    {"registros de entrada", RegisterTable::inputRegister},
    {"eingangsregister", RegisterTable::inputRegister},
}};

struct KeyedAlias {
    std::string key;
    RegisterTable table;
};

// The aliases' keys, made once: folding takes the Unicode tables, and an import asks per row.
const std::vector<KeyedAlias>& keyedAliases() {
    static const std::vector<KeyedAlias> keyed = [] {
        std::vector<KeyedAlias> out;
        out.reserve(tableAliases.size());
        for (const TableAlias& alias : tableAliases) out.push_back({nameKey(alias.text), alias.table});
        return out;
    }();
    return keyed;
}

}  // namespace

std::optional<RegisterTable> registerTableFromText(std::string_view text) {
    const std::vector<KeyedAlias>& aliases = keyedAliases();
    const auto found =
        std::ranges::find(aliases, nameKey(AsciiText::trimSpacesAndTabs(text)), &KeyedAlias::key);
    if (found == aliases.end()) return std::nullopt;
    return found->table;
}

std::string modiconAddress(RegisterTable table, std::uint16_t address) {
    const int reference = address + 1;
    return reference < 10000 ? fmt::format("{}{:04}", modiconPrefix(table), reference)
                             : fmt::format("{}{:05}", modiconPrefix(table), reference);
}

}  // namespace tessarin
