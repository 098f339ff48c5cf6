#pragma once

#include "ModbusCore/Datapoint.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Datapoint lists as spreadsheet text: the export this program writes, and a tolerant reader for
// what spreadsheets and people produce (any column order, column names in any of the program's
// languages, a
// comma, semicolon or tab as separator, decimal commas, a byte order mark). Pure functions over
// UTF-8 text; reading and writing files is the caller's.
namespace tessarin::DatapointCSV {

// The columns of an export, in export order.
enum class Column : std::uint8_t {
    name,
    unitID,
    table,
    address,
    dataType,
    wordOrder,
    scale,
    engineeringUnit,
    format,
    value,
    notes,
};

struct ColumnFacts {
    Column column;
    std::string_view title;                     // header title of an export
    std::span<const std::string_view> aliases;  // header texts read as this column, matched by name key
};

namespace detail {
using namespace std::string_view_literals;
// The column titles people write in English, Dutch, German, French and Spanish, and those of
// other programs' exports. Written as people spell them; a header cell matches by name key.
// "datatyp" was the first spelling of the German "Datentyp"; files may carry it.
inline constexpr std::array nameAliases{"name"sv, "naam"sv, "tag"sv, "bezeichnung"sv, "nom"sv, "nombre"sv};
inline constexpr std::array unitIDAliases{
    "unit id"sv,     "slave"sv,         "slave id"sv, "slave address"sv, "device"sv,          "id"sv,
    "slave-adres"sv, "slave-adresse"sv, "id unité"sv, "id d'unité"sv,    "adresse esclave"sv, "esclave"sv,
    "id unidad"sv,   "id de unidad"sv,  "esclavo"sv};
inline constexpr std::array tableAliases{
    "table"sv,   "tabel"sv,       "register type"sv,    "area"sv,  "type"sv,
    "tabelle"sv, "registertyp"sv, "type de registre"sv, "tabla"sv, "tipo de registro"sv};
inline constexpr std::array addressAliases{"address"sv, "adres"sv,   "register"sv,
                                           "offset"sv,  "adresse"sv, "dirección"sv};
inline constexpr std::array dataTypeAliases{"data type"sv,     "datatyp"sv,         "datentyp"sv,
                                            "format (type)"sv, "type de données"sv, "tipo de datos"sv};
inline constexpr std::array wordOrderAliases{
    "word order"sv,     "byte order"sv,       "order"sv,           "woordvolgorde"sv,     "bytevolgorde"sv,
    "volgorde"sv,       "endianness"sv,       "wortreihenfolge"sv, "byte-reihenfolge"sv,  "reihenfolge"sv,
    "ordre des mots"sv, "ordre des octets"sv, "ordre"sv,           "orden de palabras"sv, "orden de bytes"sv,
    "orden"sv};
inline constexpr std::array scaleAliases{"scale"sv,      "schaal"sv,  "factor"sv,  "multiplier"sv, "faktor"sv,
                                         "skalierung"sv, "échelle"sv, "facteur"sv, "escala"sv};
inline constexpr std::array engineeringUnitAliases{"unit"sv,  "eenheid"sv, "einheit"sv,
                                                   "unité"sv, "unidad"sv,  "engineering unit"sv};
inline constexpr std::array formatAliases{"format"sv,  "display"sv,   "weergave"sv,
                                          "anzeige"sv, "affichage"sv, "formato"sv};
inline constexpr std::array valueAliases{"value"sv, "waarde"sv, "wert"sv, "valeur"sv, "valor"sv};
inline constexpr std::array notesAliases{"description"sv, "omschrijving"sv, "beschrijving"sv, "notes"sv,
                                         "comment"sv,     "opmerking"sv,    "beschreibung"sv, "kommentar"sv,
                                         "commentaire"sv, "descripción"sv,  "comentario"sv};
}  // namespace detail

inline constexpr std::array<ColumnFacts, 11> columnFacts{{
    {Column::name, "Name", detail::nameAliases},
    {Column::unitID, "Unit ID", detail::unitIDAliases},
    {Column::table, "Table", detail::tableAliases},
    {Column::address, "Address", detail::addressAliases},
    {Column::dataType, "Data type", detail::dataTypeAliases},
    {Column::wordOrder, "Word order", detail::wordOrderAliases},
    {Column::scale, "Scale", detail::scaleAliases},
    {Column::engineeringUnit, "Unit", detail::engineeringUnitAliases},
    {Column::format, "Format", detail::formatAliases},
    {Column::value, "Value", detail::valueAliases},
    {Column::notes, "Description", detail::notesAliases},
}};

// Every column, in export order.
inline constexpr std::array<Column, columnFacts.size()> allColumns = [] {
    std::array<Column, columnFacts.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = columnFacts[i].column;
    return out;
}();

[[nodiscard]] constexpr std::string_view title(Column column) {
    return columnFacts[std::to_underlying(column)].title;
}

// How a file separates cells and writes fractions.
struct Dialect {
    char separator = ',';
    bool decimalComma = false;  // numbers are written with a decimal comma

    // ";" with decimal commas where the locale's decimal separator is a comma, else ",".
    [[nodiscard]] static Dialect forDecimalSeparator(std::string_view decimalSeparator);
    // The dialect of the user's locale (LC_ALL, then LC_NUMERIC, then LANG).
    [[nodiscard]] static Dialect current();

    bool operator==(const Dialect&) const = default;
};

// One cell as read, with the 1-based file line on which its record begins.
struct Field {
    std::string text;
    int line = 0;

    bool operator==(const Field&) const = default;
};

// Why a record was skipped. The string table turns the kind into a text.
enum class ProblemKind : std::uint8_t {
    invalidTable,     // not a table name: "unknown table '…' (use CO, DI, HR or IR)"
    invalidAddress,   // not 0 to 65535
    invalidUnit,      // not 0 to 255
    invalidDataType,  // unknown, or not allowed in the record's table
    invalidNumber,    // Scale or Value is not a number, or Scale is 0
    missingColumns,   // the header names no Table or no Address column
};

struct ProblemKindFacts {
    ProblemKind kind;
    std::string_view rawValue;
};

inline constexpr std::array<ProblemKindFacts, 6> problemKindFacts{{
    {ProblemKind::invalidTable, "invalidTable"},
    {ProblemKind::invalidAddress, "invalidAddress"},
    {ProblemKind::invalidUnit, "invalidUnit"},
    {ProblemKind::invalidDataType, "invalidDataType"},
    {ProblemKind::invalidNumber, "invalidNumber"},
    {ProblemKind::missingColumns, "missingColumns"},
}};

[[nodiscard]] constexpr std::string_view rawValue(ProblemKind kind) {
    return problemKindFacts[std::to_underlying(kind)].rawValue;
}

struct Problem {
    ProblemKind kind = ProblemKind::missingColumns;
    std::string text;  // the offending cell, trimmed; empty for missingColumns

    bool operator==(const Problem&) const = default;
};

// A skipped record: the file line on which it begins, and why.
struct ImportIssue {
    int line = 0;
    Problem problem;

    bool operator==(const ImportIssue&) const = default;
};

struct ImportResult {
    std::vector<Datapoint> datapoints;  // in file order
    std::vector<ImportIssue> issues;    // in file order
};

// A text cell as exported: text that a spreadsheet would take for a formula (it begins with
// "=", "+", "-" or "@", after any apostrophes) gets an apostrophe in front, so that an imported
// "=HYPERLINK(…)" stays text. Numeric cells never pass through here.
[[nodiscard]] std::string textCell(std::string_view text);

// The inverse of textCell on import: one leading apostrophe goes when formula-like text
// follows it; any other cell is returned as it is.
[[nodiscard]] std::string_view withoutFormulaGuard(std::string_view cell);

// The cell as written: in double quotes, each inner quote doubled, when it holds the separator,
// a comma, a semicolon, a tab, a double quote, a line feed or a carriage return, or begins or
// ends with a space. Spreadsheets guess the separator, so the other dialect's separators and
// decimal commas are quoted too.
[[nodiscard]] std::string quotedCell(std::string_view cell, char separator);

// The export text of datapoints in list order: a byte order mark, the header of the eleven
// column titles and one line per datapoint, every line ended by CR LF. A value that is not
// finite is left empty; the texts go through textCell and every cell through quotedCell, so
// that parse gives the datapoints back (ids aside).
// (Named with a trailing underscore: `export` is a keyword.)
[[nodiscard]] std::string export_(std::span<const Datapoint> datapoints, Dialect dialect);

// Reads a whole file's text. Never fails as a whole: a header without Table or Address gives the
// single issue missingColumns on line 1; a record with a bad cell is skipped with one issue;
// every other record becomes a datapoint with a new random id. Cells are trimmed of spaces and
// tabs, except the name, unit and description when quoted, which are taken as written.
[[nodiscard]] ImportResult parse(std::string_view text);

}  // namespace tessarin::DatapointCSV
