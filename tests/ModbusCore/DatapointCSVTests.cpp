#include "ModbusCore/DatapointCSV.hpp"

#include "ModbusCore/Datapoint.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

using DatapointCSV::Dialect;
using DatapointCSV::ImportIssue;
using DatapointCSV::ProblemKind;

constexpr std::string_view bom = "\xEF\xBB\xBF";
constexpr Dialect english{',', false};
constexpr Dialect german{';', true};

Datapoint point(std::string name, RegisterTable table, std::uint16_t address,
                DataType type = DataType::uint16) {
    Datapoint p;
    p.name = std::move(name);
    p.setTable(table);
    p.address = address;
    if (!isBit(table)) p.dataType = type;
    return p;
}

ImportIssue issue(int line, ProblemKind kind, std::string text) {
    return {line, {kind, std::move(text)}};
}

// The export's line n (0 is the header), without its CR LF.
std::string line(std::string_view text, std::size_t n) {
    for (; n > 0; --n) text.remove_prefix(text.find("\r\n") + 2);
    return std::string(text.substr(0, text.find("\r\n")));
}

TEST(DatapointCSVExport, CellsQuotesAndNumbers) {
    Datapoint temperature = point("Temp", RegisterTable::holdingRegister, 10);
    temperature.unitID = 7;
    temperature.scale = 0.1;
    temperature.engineeringUnit = "°C";
    temperature.value = 21.5;
    Datapoint flow = point("a;b", RegisterTable::inputRegister, 65534, DataType::float32);
    flow.wordOrder = WordOrder::cdab;
    flow.format = DisplayFormat::hex;
    flow.scale = 1e-05;
    flow.value = 1e15;
    flow.engineeringUnit = " lead";
    flow.notes = "say \"hi\"";
    Datapoint pump = point("Pump\r\n", RegisterTable::coil, 0);
    pump.value = -123456789012345;  // whole numbers below 10^15 keep all their digits
    const std::vector<Datapoint> points{temperature, flow, pump};

    const std::string text = DatapointCSV::export_(points, german);
    EXPECT_EQ(line(text, 0),
              std::string(bom) +
                  "Name;Unit ID;Table;Address;Data type;Word order;Scale;Unit;Format;Value;Description");
    EXPECT_EQ(line(text, 1), "Temp;7;HR;10;uint16;ABCD;\"0,1\";°C;;\"21,5\";");
    EXPECT_EQ(line(text, 2), "\"a;b\";1;IR;65534;float32;CDAB;1e-05;\" lead\";hex;1e+15;\"say \"\"hi\"\"\"");
    EXPECT_TRUE(text.ends_with("\"Pump\r\n\";1;CO;0;bool;ABCD;1;;;-123456789012345;\r\n"));
    EXPECT_EQ(line(DatapointCSV::export_(points, english), 2),
              "\"a;b\",1,IR,65534,float32,CDAB,1e-05,\" lead\",hex,1e+15,\"say \"\"hi\"\"\"");
}

TEST(DatapointCSVRoundTrip, EveryFieldSurvivesEveryDialect) {
    std::vector<Datapoint> points;
    for (const RegisterTable table : allRegisterTables) {
        for (const DataType type : allowedDataTypes(table)) {
            const auto i = points.size();
            Datapoint p = point(fmt::format(" {} {}", rawValue(table), rawValue(type)), table,
                                static_cast<std::uint16_t>(i * 7), type);
            p.unitID = static_cast<std::uint8_t>(1 + i * 13 % 247);
            p.wordOrder = allWordOrders[i % allWordOrders.size()];
            p.format = allDisplayFormats[i % allDisplayFormats.size()];
            p.scale = i % 2 == 0 ? 0.001 : -2.5;
            p.value = i == 0 ? -std::numeric_limits<double>::max() : 1.0 / static_cast<double>(i);
            p.engineeringUnit = "m³/h";
            p.notes = "note, with; \"all\"\tkinds\r\nof text";
            points.push_back(p);
        }
    }
    // Texts a spreadsheet would run as formulas, padded and apostrophed texts, and live values
    // no file can hold.
    const std::vector<std::string> texts{"=HYPERLINK(\"http://x\")",
                                         "+31 6",
                                         "-12,3",
                                         "@SUM(A1)",
                                         "'=kept",
                                         "'plain",
                                         "\tpadded\t",
                                         "",
                                         "tab\tinside",
                                         "€ 5"};
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i].name = texts[i % texts.size()];
        points[i].engineeringUnit = texts[(i + 3) % texts.size()];
    }
    points[1].value = std::numeric_limits<double>::quiet_NaN();
    points[2].value = -std::numeric_limits<double>::infinity();
    for (const Dialect dialect : {english, german, Dialect{'\t', false}}) {
        SCOPED_TRACE(dialect.separator);
        const auto result = DatapointCSV::parse(DatapointCSV::export_(points, dialect));
        EXPECT_TRUE(result.issues.empty());
        ASSERT_EQ(result.datapoints.size(), points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            SCOPED_TRACE(i);
            Datapoint expected = points[i];
            if (!std::isfinite(expected.value)) expected.value = 0;  // written as no value
            expected.id = result.datapoints[i].id;
            EXPECT_NE(expected.id, points[i].id);
            EXPECT_EQ(result.datapoints[i], expected);
        }
    }
}

TEST(DatapointCSVExport, SpreadsheetsSeeTextAsTextAndEveryDecimalCommaInItsCell) {
    Datapoint link = point("=HYPERLINK(\"http://x\")", RegisterTable::holdingRegister, 1, DataType::int16);
    link.engineeringUnit = "-";
    link.notes = "@risk";
    link.scale = -0.5;
    link.value = -12.3;
    EXPECT_EQ(line(DatapointCSV::export_(std::vector{link}, german), 1),
              "\"'=HYPERLINK(\"\"http://x\"\")\";1;HR;1;int16;ABCD;\"-0,5\";'-;;\"-12,3\";'@risk");
    // A file from elsewhere keeps an apostrophe that guards nothing.
    const auto result = DatapointCSV::parse("Name,Table,Address\n'Tank,HR,1\n''=x,HR,2\n");
    ASSERT_EQ(result.datapoints.size(), 2U);
    EXPECT_EQ(result.datapoints[0].name, "'Tank");
    EXPECT_EQ(result.datapoints[1].name, "'=x");
}

TEST(DatapointCSVImport, HeaderTitlesAndAliases) {
    // Titles are tried before aliases: "Unit" is the engineering unit, not the unit ID. "Type"
    // is the table, "Register" the address; spacing and capitals never matter, and of two cells
    // for one column the first counts. Unknown word orders and formats fall back silently.
    const auto mixed = DatapointCSV::parse(
        "Slave,Type,Register,Unit,DATA  type,woord volgorde,UNITÉ,Comment,Offset,Unit ID,Weergave\n"
        "3,IR,4,bar,float32,CDAB,ignored,note,5,6,HEX\n"
        "3,IR,4,bar,float32,abdc,ignored,note,5,6,b\n");
    EXPECT_TRUE(mixed.issues.empty());
    ASSERT_EQ(mixed.datapoints.size(), 2U);
    const Datapoint& p = mixed.datapoints[0];
    EXPECT_EQ(std::tuple(p.unitID, p.table, p.address, p.engineeringUnit, p.dataType, p.wordOrder, p.notes,
                         p.format),
              std::tuple(3, RegisterTable::inputRegister, 4, "bar", DataType::float32, WordOrder::cdab,
                         "note", DisplayFormat::hex));
    EXPECT_EQ(std::pair(mixed.datapoints[1].wordOrder, mixed.datapoints[1].format),
              std::pair(WordOrder::abcd, DisplayFormat::decimal));
}

// A list typed by a German, French or Spanish engineer names its columns in that language, and an
// earlier version's typo ("Datatyp") must keep reading. Each header below maps every cell to the
// column the same position has in the English row; a cell read as another column would move a
// value into the wrong field.
TEST(DatapointCSVImport, ColumnTitlesInEveryLanguage) {
    const std::pair<std::string_view, std::string_view> headers[] = {
        {"en", "Name;Unit ID;Table;Address;Data type;Word order;Scale;Unit;Format;Value;Description"},
        {"nl", "Naam;Slave-adres;Tabel;Adres;Datatype;Volgorde;Schaal;Eenheid;Weergave;Waarde;Omschrijving"},
        {"de",
         "Bezeichnung;Unit-ID;Tabelle;Adresse;Datentyp;Byte-Reihenfolge;Faktor;Einheit;Anzeige;Wert;"
         "Beschreibung"},
        {"de (old)",
         "Name;Slave-Adresse;Registertyp;Adresse;Datatyp;Reihenfolge;Skalierung;Einheit;Format;"
         "Wert;Kommentar"},
        {"fr",
         "Nom;ID d’unité;Table;Adresse;Type de données;Ordre des mots;Échelle;Unité;Affichage;Valeur;"
         "Commentaire"},
        {"es",
         "Nombre;ID de unidad;Tabla;Dirección;Tipo de datos;Orden de palabras;Escala;Unidad;Formato;"
         "Valor;Descripción"},
        {"es (plain)",
         "NOMBRE;id unidad;TABLA;DIRECCION;tipo de datos;orden;escala;unidad;formato;valor;"
         "descripcion"},
    };
    for (const auto& [language, header] : headers) {
        SCOPED_TRACE(language);
        const auto result =
            DatapointCSV::parse(fmt::format("{}\nFlow;7;IR;12;float32;CDAB;0,5;m³/h;hex;2,5;note\n", header));
        EXPECT_TRUE(result.issues.empty());
        ASSERT_EQ(result.datapoints.size(), 1U);
        const Datapoint& p = result.datapoints[0];
        EXPECT_EQ(std::tuple(p.name, p.unitID, p.table, p.address, p.dataType, p.wordOrder, p.scale,
                             p.engineeringUnit, p.format, p.value, p.notes),
                  std::tuple("Flow", 7, RegisterTable::inputRegister, 12, DataType::float32, WordOrder::cdab,
                             0.5, "m³/h", DisplayFormat::hex, 2.5, "note"));
    }
}

TEST(DatapointCSVImport, SeparatorDetection) {
    // Each file has one datapoint only when its first line's separator is the one detected.
    const std::pair<std::string_view, std::size_t> rows[] = {
        {"Table;Address;\tName\t\nHR;1;\tx\t\n", 1},  // two semicolons beat two tabs
        {"Table,Address;x\nHR,1\n", 0},               // one each: the semicolon
    };
    for (const auto& [text, datapoints] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(DatapointCSV::parse(text).datapoints.size(), datapoints);
    }
}

TEST(DatapointCSVImport, BadRecordsAreReportedWithTheirLineAndNothingElseIsLost) {
    const std::string text = std::string(bom) +
                             "Name;Unit ID;Table;Address;Data type;Scale;Value\r\n"
                             "ok1;;HR;0;;;\r\n"
                             "badTable;;XX;0;;;\r\n"
                             "badAddress;;HR;65536;;;\r\n"
                             "unit256;256;HR;1;;;\r\n"
                             "unitMinus1;-1;HR;1;;;\r\n"
                             "coilWord;;CO;1;uint16;;\r\n"
                             "unknownType;;HR;1;u 16;;\r\n"
                             "scaleZero;;HR;1;;0;\r\n"
                             "scaleGrouped;;HR;1;;1.000,5;\r\n"
                             "valueInf;;HR;1;;;inf\r\n"
                             "emptyTable;;;1;;;\r\n"
                             "emptyAddress;;HR;;;;\r\n"
                             ";;;;;;\r\n"
                             "\r\n"
                             "ok2;  255 ;  Holding Registers ;+65535;REAL;0,25;-1.5\r\n"
                             "ok3;0;coil;7;;0.25;1,5\r\n"
                             "unit1000;1000;HR;1;;;";
    const auto result = DatapointCSV::parse(text);
    const std::vector<ImportIssue> expected{
        issue(3, ProblemKind::invalidTable, "XX"),        issue(4, ProblemKind::invalidAddress, "65536"),
        issue(5, ProblemKind::invalidUnit, "256"),        issue(6, ProblemKind::invalidUnit, "-1"),
        issue(7, ProblemKind::invalidDataType, "uint16"), issue(8, ProblemKind::invalidDataType, "u 16"),
        issue(9, ProblemKind::invalidNumber, "0"),        issue(10, ProblemKind::invalidNumber, "1.000,5"),
        issue(11, ProblemKind::invalidNumber, "inf"),     issue(12, ProblemKind::invalidTable, ""),
        issue(13, ProblemKind::invalidAddress, ""),       issue(18, ProblemKind::invalidUnit, "1000"),
    };
    EXPECT_EQ(result.issues, expected);
    ASSERT_EQ(result.datapoints.size(), 3U);
    const Datapoint& ok2 = result.datapoints[1];
    EXPECT_EQ(std::tuple(ok2.name, ok2.unitID, ok2.table, ok2.address, ok2.dataType, ok2.scale, ok2.value),
              std::tuple("ok2", 255, RegisterTable::holdingRegister, 65535, DataType::float32, 0.25, -1.5));
    const Datapoint& ok3 = result.datapoints[2];
    EXPECT_EQ(std::tuple(ok3.unitID, ok3.dataType, ok3.scale, ok3.value),
              std::tuple(0, DataType::bool_, 0.25, 1.5));
}

TEST(DatapointCSVImport, QuotedCellsAndLineNumbers) {
    const auto result = DatapointCSV::parse(
        "Name,Table,Address\r\n"               // line 1
        "\"two\r\nlines\",HR,1\r\n"            // lines 2-3
        "\"three\nline\ncell\",HR,bad\n"       // lines 4-6
        "\"lone\rreturn\",XX,1\r"              // line 7: a lone CR in quotes is no line
        "x\"y\"\"z,HR,2\n"                     // line 8: quotes after the start are text
        "\"a\"\"b\"tail,HR,3\n"                // line 9: text after the closing quote
        "\"\",HR,\"4\"\n"                      // line 10
        "\"never closed,HR,5\nstill,HR,6\n");  // line 11 to the end: one cell
    const std::vector<ImportIssue> expected{
        issue(4, ProblemKind::invalidAddress, "bad"),
        issue(7, ProblemKind::invalidTable, "XX"),
        issue(11, ProblemKind::invalidTable, ""),
    };
    EXPECT_EQ(result.issues, expected);
    ASSERT_EQ(result.datapoints.size(), 4U);
    EXPECT_EQ(result.datapoints[0].name, "two\r\nlines");
    EXPECT_EQ(result.datapoints[1].name, "x\"y\"\"z");
    EXPECT_EQ(result.datapoints[2].name, "a\"btail");
    EXPECT_EQ(std::tuple(result.datapoints[3].name, result.datapoints[3].address), std::tuple("", 4));
}

TEST(DatapointCSVImport, FilesWithoutDatapoints) {
    const std::vector<ImportIssue> none;
    const std::vector<ImportIssue> missing{issue(1, ProblemKind::missingColumns, "")};
    const std::tuple<std::string_view, std::string_view, const std::vector<ImportIssue>&> rows[] = {
        {"empty", "", none},
        {"header only", "Table;Address", none},
        {"no address", "Name;Table\r\nx;HR\r\n", missing},
        {"quoted header", "\"Table;Address\"\nHR;1\n", missing},
    };
    for (const auto& [name, text, issues] : rows) {
        SCOPED_TRACE(name);
        const auto result = DatapointCSV::parse(text);
        EXPECT_TRUE(result.datapoints.empty());
        EXPECT_EQ(result.issues, issues);
    }
}

// Legacy code pages must not reach the project file, whose JSON requires UTF-8.
TEST(DatapointCSVImport, InvalidUTF8BecomesReplacementCharacters) {
    const auto result =
        DatapointCSV::parse("Table,Address,Name,Unit\nHR,1,Temp\xE9rature,\xC2\xB0\x43\xFF\n");
    ASSERT_EQ(result.datapoints.size(), 1U);
    EXPECT_EQ(result.datapoints[0].name, "Temp\xEF\xBF\xBDrature");
    EXPECT_EQ(result.datapoints[0].engineeringUnit, "\xC2\xB0\x43\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tessarin
