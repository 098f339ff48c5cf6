#include "ModbusCore/DatapointCSV.hpp"

#include "ModbusCore/Datapoint.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace tessarin {
namespace {

using DatapointCSV::Dialect;
using DatapointCSV::ImportIssue;
using DatapointCSV::Problem;
using DatapointCSV::ProblemKind;

constexpr std::string_view bom = "\xEF\xBB\xBF";
constexpr Dialect english{',', false};
constexpr Dialect german{';', true};

Datapoint point(std::string name, RegisterTable table, std::uint16_t address, DataType type = DataType::uint16) {
    Datapoint p;
    p.name = std::move(name);
    p.setTable(table);
    p.address = address;
    p.dataType = isBit(table) ? DataType::bool_ : type;
    return p;
}

// Everything but the id, which an import always makes new.
void expectSameExceptId(const Datapoint& actual, Datapoint expected) {
    expected.id = actual.id;
    EXPECT_EQ(actual, expected);
}

ImportIssue issue(int line, ProblemKind kind, std::string text) { return {line, Problem{kind, std::move(text)}}; }

// Splits export text into its lines (without the CR LF), checking every line ends with CR LF.
std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos) {
            ADD_FAILURE() << "line without CR LF: " << text;
            break;
        }
        out.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return out;
}

TEST(DatapointCSVDialect, FollowsTheDecimalSeparator) {
    EXPECT_EQ(Dialect::forDecimalSeparator(","), german);
    EXPECT_EQ(Dialect::forDecimalSeparator("."), english);
    EXPECT_EQ(Dialect::forDecimalSeparator(""), english);
    EXPECT_EQ(Dialect::forDecimalSeparator("٫"), english);
}

// current() reads the environment once per process, so every locale gets a fresh one.
TEST(DatapointCSVDialect, CurrentFollowsTheUserLocale) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Row {
        const char* lcAll;
        const char* lcNumeric;
        const char* lang;
        std::string_view header;
    };
    const Row rows[] = {
        {"de_DE.UTF-8", nullptr, nullptr, "Name;Unit ID;Table;Address;Data type;Word order;Scale;Unit;Format;Value;"},
        {nullptr, "nl_NL.UTF-8", "en_US.UTF-8", "Name;Unit ID;"},
        {nullptr, nullptr, "en_GB.UTF-8", "Name,Unit ID,"},
        {"C", nullptr, "de_DE.UTF-8", "Name,Unit ID,"},
        {"", "", "", "Name,Unit ID,"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.header);
        EXPECT_EXIT(
            {
                const auto set = [](const char* name, const char* value) {
                    value == nullptr ? ::unsetenv(name) : ::setenv(name, value, 1);
                };
                set("LC_ALL", row.lcAll);
                set("LC_NUMERIC", row.lcNumeric);
                set("LANG", row.lang);
                const std::string text = DatapointCSV::export_({}, Dialect::current());
                std::exit(text.starts_with(std::string(bom) + std::string(row.header)) ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
    }
}

// An alias with a capital or a space could never match, and one shared by two columns would
// silently go to the first.
TEST(DatapointCSVColumns, AliasesAreMatchableAndBelongToOneColumn) {
    std::set<std::string_view> seen;
    for (const DatapointCSV::ColumnFacts& facts : DatapointCSV::columnFacts) {
        for (const std::string_view alias : facts.aliases) {
            SCOPED_TRACE(alias);
            EXPECT_FALSE(std::ranges::any_of(alias, [](char c) { return c == ' ' || (c >= 'A' && c <= 'Z'); }));
            EXPECT_TRUE(seen.insert(alias).second);
        }
    }
}

TEST(DatapointCSVExport, EmptyListIsMarkAndHeader) {
    EXPECT_EQ(DatapointCSV::export_({}, english),
              std::string(bom) + "Name,Unit ID,Table,Address,Data type,Word order,Scale,Unit,Format,Value,Description\r\n");
    EXPECT_EQ(DatapointCSV::export_({}, german),
              std::string(bom) + "Name;Unit ID;Table;Address;Data type;Word order;Scale;Unit;Format;Value;Description\r\n");
}

TEST(DatapointCSVExport, WritesEveryCellInColumnOrder) {
    Datapoint temperature = point("Temp", RegisterTable::holdingRegister, 10);
    temperature.unitID = 7;
    temperature.scale = 0.1;
    temperature.engineeringUnit = "°C";
    temperature.value = 21.5;
    temperature.notes = "boiler";
    Datapoint flow = point("Flow", RegisterTable::inputRegister, 65534, DataType::float32);
    flow.wordOrder = WordOrder::cdab;
    flow.format = DisplayFormat::hex;
    flow.value = -5;
    const Datapoint pump = point("Pump", RegisterTable::coil, 0);
    const std::vector<Datapoint> points{temperature, flow, pump};

    const auto german_ = lines(DatapointCSV::export_(points, german).substr(bom.size()));
    ASSERT_EQ(german_.size(), 4U);
    EXPECT_EQ(german_[1], "Temp;7;HR;10;uint16;ABCD;0,1;°C;;21,5;boiler");
    EXPECT_EQ(german_[2], "Flow;1;IR;65534;float32;CDAB;1;;hex;-5;");
    EXPECT_EQ(german_[3], "Pump;1;CO;0;bool;ABCD;1;;;0;");

    const auto english_ = lines(DatapointCSV::export_(points, english).substr(bom.size()));
    ASSERT_EQ(english_.size(), 4U);
    EXPECT_EQ(english_[1], "Temp,7,HR,10,uint16,ABCD,0.1,°C,,21.5,boiler");
}

TEST(DatapointCSVExport, NumbersAreIntegersOrShortestText) {
    struct Row {
        double number;
        std::string_view english;
        std::string_view german;
    };
    const Row rows[] = {
        {1, "1", "1"},
        {-5, "-5", "-5"},
        {100, "100", "100"},
        {-0.0, "0", "0"},
        {0.1, "0.1", "0,1"},
        {21.5, "21.5", "21,5"},
        {1e-05, "1e-05", "1e-05"},
        {1e15, "1e+15", "1e+15"},
        {999999999999999, "999999999999999", "999999999999999"},
        {-1.25e-7, "-1.25e-07", "-1,25e-07"},
        {1.0 / 3.0, "0.3333333333333333", "0,3333333333333333"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.english);
        Datapoint p = point("", RegisterTable::holdingRegister, 0);
        p.value = row.number;
        EXPECT_EQ(lines(DatapointCSV::export_(std::span(&p, 1), english))[1],
                  fmt::format(",1,HR,0,uint16,ABCD,1,,,{},", row.english));
        EXPECT_EQ(lines(DatapointCSV::export_(std::span(&p, 1), german))[1],
                  fmt::format(";1;HR;0;uint16;ABCD;1;;;{};", row.german));
    }
}

TEST(DatapointCSVExport, QuotesOnlyWhereNeeded) {
    struct Row {
        std::string_view name;
        std::string_view english;  // the Name cell with a comma separator
        std::string_view german;   // and with a semicolon separator
    };
    const Row rows[] = {
        {"plain", "plain", "plain"},
        {"a;b", "a;b", "\"a;b\""},
        {"a,b", "\"a,b\"", "a,b"},
        {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\"", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\"", "\"cr\rhere\""},
        {" lead", "\" lead\"", "\" lead\""},
        {"trail ", "\"trail \"", "\"trail \""},
        {"in side", "in side", "in side"},
        {"tab\tin", "tab\tin", "tab\tin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Datapoint p = point(std::string(row.name), RegisterTable::holdingRegister, 0);
        const std::string englishText = DatapointCSV::export_(std::span(&p, 1), english);
        const std::string germanText = DatapointCSV::export_(std::span(&p, 1), german);
        EXPECT_TRUE(englishText.ends_with(fmt::format("\r\n{},1,HR,0,uint16,ABCD,1,,,0,\r\n", row.english)));
        EXPECT_TRUE(germanText.ends_with(fmt::format("\r\n{};1;HR;0;uint16;ABCD;1;;;0;\r\n", row.german)));
    }
}

TEST(DatapointCSVRoundTrip, EveryFieldSurvivesBothDialects) {
    std::vector<Datapoint> points;
    for (const RegisterTable table : allRegisterTables) {
        for (const DataType type : allowedDataTypes(table)) {
            Datapoint p = point(fmt::format("{} {}", rawValue(table), rawValue(type)), table,
                                static_cast<std::uint16_t>(points.size() * 7), type);
            p.unitID = static_cast<std::uint8_t>(1 + points.size() * 13 % 247);
            p.wordOrder = allWordOrders[points.size() % allWordOrders.size()];
            p.format = allDisplayFormats[points.size() % allDisplayFormats.size()];
            p.scale = points.size() % 2 == 0 ? 0.001 : -2.5;
            p.value = 1.0 / (1.0 + static_cast<double>(points.size()));
            p.engineeringUnit = "m³/h";
            p.notes = "note, with; \"all\"\tkinds\r\nof text";
            points.push_back(p);
        }
    }
    Datapoint extremes = point("extremes", RegisterTable::holdingRegister, 65535);
    extremes.unitID = 247;
    extremes.scale = 1e-300;
    extremes.value = -std::numeric_limits<double>::max();
    points.push_back(extremes);

    for (const Dialect dialect : {english, german, Dialect{'\t', false}}) {
        SCOPED_TRACE(dialect.separator);
        const auto result = DatapointCSV::parse(DatapointCSV::export_(points, dialect));
        EXPECT_TRUE(result.issues.empty());
        ASSERT_EQ(result.datapoints.size(), points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            SCOPED_TRACE(points[i].name);
            expectSameExceptId(result.datapoints[i], points[i]);
            EXPECT_NE(result.datapoints[i].id, points[i].id);
        }
    }
}

TEST(DatapointCSVRoundTrip, SurroundingSpacesAreTrimmedOnReading) {
    const Datapoint p = point(" padded ", RegisterTable::holdingRegister, 1);
    const std::string text = DatapointCSV::export_(std::span(&p, 1), german);
    EXPECT_NE(text.find("\" padded \""), std::string::npos);
    const auto result = DatapointCSV::parse(text);
    ASSERT_EQ(result.datapoints.size(), 1U);
    EXPECT_EQ(result.datapoints[0].name, "padded");
}

TEST(DatapointCSVImport, HeaderAliasesInAnyOrder) {
    const auto result = DatapointCSV::parse("Adres;Tabel;Naam\n5;HR;Druk\n");
    EXPECT_TRUE(result.issues.empty());
    ASSERT_EQ(result.datapoints.size(), 1U);
    const Datapoint& p = result.datapoints[0];
    expectSameExceptId(p, point("Druk", RegisterTable::holdingRegister, 5));
    EXPECT_EQ(p.unitID, 1);
    EXPECT_EQ(p.scale, 1.0);
    EXPECT_EQ(p.simulation, Simulation{});
}

TEST(DatapointCSVImport, HeaderTitlesWinOverAliases) {
    // "Unit" is the engineering unit's title although it could be read as a unit ID; "Type" is
    // an alias of Table; "Register" of Address; spacing and capitals never matter.
    const auto result = DatapointCSV::parse(
        "Slave,Type,Register,Unit,DATA  type,woord volgorde,UNITÉ,Comment\n"
        "3,IR,4,bar,float32,cdab,ignored,note\n");
    EXPECT_TRUE(result.issues.empty());
    ASSERT_EQ(result.datapoints.size(), 1U);
    const Datapoint& p = result.datapoints[0];
    EXPECT_EQ(p.unitID, 3);
    EXPECT_EQ(p.table, RegisterTable::inputRegister);
    EXPECT_EQ(p.address, 4);
    EXPECT_EQ(p.engineeringUnit, "bar");
    EXPECT_EQ(p.dataType, DataType::float32);
    EXPECT_EQ(p.wordOrder, WordOrder::cdab);
    EXPECT_EQ(p.notes, "note");
}

TEST(DatapointCSVImport, FirstOfTwoMatchingHeaderCellsCounts) {
    const auto result = DatapointCSV::parse("Address;Table;Offset;Unit ID;Slave\n1;HR;2;3;4\n");
    ASSERT_EQ(result.datapoints.size(), 1U);
    EXPECT_EQ(result.datapoints[0].address, 1);
    EXPECT_EQ(result.datapoints[0].unitID, 3);
}

TEST(DatapointCSVImport, SeparatorDetection) {
    struct Row {
        std::string_view text;
        std::size_t datapoints;
    };
    // Each file has one datapoint only when its header's separator is the one detected.
    const Row rows[] = {
        {"Table,Address\nHR,1\n", 1},
        {"Table\tAddress\nHR\t1\n", 1},
        {"Table;Address\nHR;1\n", 1},
        {"Table;Address;\tName\t\nHR;1;\tx\t\n", 1},  // two semicolons beat two tabs
        {"Table;Address;Name,1,2\nHR;1;x\n", 1},         // two semicolons beat two commas
        {"Table\tAddress\tx,y,z\nHR\t1\tx\n", 1},      // two tabs beat two commas
        {"Table,Address,x;y\nHR,1,x\n", 1},              // more commas than semicolons
        {"Table,Address;x\nHR,1\n", 0},                  // one each: the semicolon
        {"Table;Address\n\tHR,1\n", 0},                 // the first line decides alone
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(DatapointCSV::parse(row.text).datapoints.size(), row.datapoints);
    }
}

TEST(DatapointCSVImport, BadRecordsAreReportedWithTheirLineAndNothingElseIsLost) {
    const std::string text = std::string(bom) +
                             "Name;Unit ID;Table;Address;Data type;Scale;Value\r\n"
                             "ok1;;HR;0;;;\r\n"
                             "badTable;;XX;0;;;\r\n"
                             "badAddress;;HR;65536;;;\r\n"
                             "negative;;HR;-1;;;\r\n"
                             "unit0;0;HR;1;;;\r\n"
                             "unit255;255;HR;1;;;\r\n"
                             "coilWord;;CO;1;uint16;;\r\n"
                             "unknownType;;HR;1;u 16;;\r\n"
                             "scaleZero;;HR;1;;0;\r\n"
                             "scaleGrouped;;HR;1;;1.000,5;\r\n"
                             "scaleNaN;;HR;1;;nan;\r\n"
                             "valueText;;HR;1;;;abc\r\n"
                             "valueInf;;HR;1;;;inf\r\n"
                             "emptyTable;;;1;;;\r\n"
                             "emptyAddress;;HR;;;;\r\n"
                             ";;;;;;\r\n"
                             "\r\n"
                             "ok2;  247 ;  Holding Registers ;+65535;REAL;0,25;-1.5\r\n"
                             "ok3;-0;coil;-0;;0.25;1,5";
    const auto result = DatapointCSV::parse(text);
    const std::vector<ImportIssue> expected{
        issue(3, ProblemKind::invalidTable, "XX"),
        issue(4, ProblemKind::invalidAddress, "65536"),
        issue(5, ProblemKind::invalidAddress, "-1"),
        issue(6, ProblemKind::invalidUnit, "0"),
        issue(7, ProblemKind::invalidUnit, "255"),
        issue(8, ProblemKind::invalidDataType, "uint16"),
        issue(9, ProblemKind::invalidDataType, "u 16"),
        issue(10, ProblemKind::invalidNumber, "0"),
        issue(11, ProblemKind::invalidNumber, "1.000,5"),
        issue(12, ProblemKind::invalidNumber, "nan"),
        issue(13, ProblemKind::invalidNumber, "abc"),
        issue(14, ProblemKind::invalidNumber, "inf"),
        issue(15, ProblemKind::invalidTable, ""),
        issue(16, ProblemKind::invalidAddress, ""),
        issue(20, ProblemKind::invalidUnit, "-0"),
    };
    EXPECT_EQ(result.issues, expected);
    ASSERT_EQ(result.datapoints.size(), 2U);
    EXPECT_EQ(result.datapoints[0].name, "ok1");
    const Datapoint& ok2 = result.datapoints[1];
    EXPECT_EQ(ok2.name, "ok2");
    EXPECT_EQ(ok2.unitID, 247);
    EXPECT_EQ(ok2.table, RegisterTable::holdingRegister);
    EXPECT_EQ(ok2.address, 65535);
    EXPECT_EQ(ok2.dataType, DataType::float32);
    EXPECT_EQ(ok2.scale, 0.25);
    EXPECT_EQ(ok2.value, -1.5);
}

TEST(DatapointCSVImport, OptionalCellsFallBackToDefaults) {
    const auto result = DatapointCSV::parse(
        "Table,Address,Word order,Format,Data type\n"
        "coil,1,CDAB,HEX,\n"
        "HR,2,abdc,b,\n"
        "DI,3\n");
    ASSERT_EQ(result.datapoints.size(), 3U);
    EXPECT_TRUE(result.issues.empty());
    EXPECT_EQ(result.datapoints[0].dataType, DataType::bool_);
    EXPECT_EQ(result.datapoints[0].wordOrder, WordOrder::cdab);
    EXPECT_EQ(result.datapoints[0].format, DisplayFormat::hex);
    EXPECT_EQ(result.datapoints[1].dataType, DataType::uint16);
    EXPECT_EQ(result.datapoints[1].wordOrder, WordOrder::abcd);
    EXPECT_EQ(result.datapoints[1].format, DisplayFormat::decimal);
    EXPECT_EQ(result.datapoints[2].table, RegisterTable::discreteInput);
    EXPECT_EQ(result.datapoints[2].dataType, DataType::bool_);
}

TEST(DatapointCSVImport, QuotedCellsAndLineNumbers) {
    const auto result = DatapointCSV::parse(
        "Name,Table,Address\r\n"                     // line 1
        "\"two\r\nlines\",HR,1\r\n"                  // lines 2-3
        "\"three\nline\ncell\",HR,bad\n"             // lines 4-6
        "\"lone\rreturn\",XX,1\r"                    // line 7: a lone CR in quotes is no line
        "x\"y\"\"z,HR,2\n"                           // line 8: quotes after the start are text
        "\"a\"\"b\"tail,HR,3\n"                      // line 9: text after the closing quote
        "\"\",HR,\"4\"\n"                            // line 10
        "\"never closed,HR,5\nstill,HR,6\n");        // line 11 to the end
    const std::vector<ImportIssue> expected{
        issue(4, ProblemKind::invalidAddress, "bad"),
        issue(7, ProblemKind::invalidTable, "XX"),
        issue(11, ProblemKind::invalidTable, ""),  // the open quote swallowed the rest
    };
    EXPECT_EQ(result.issues, expected);
    ASSERT_EQ(result.datapoints.size(), 4U);
    EXPECT_EQ(result.datapoints[0].name, "two\r\nlines");
    EXPECT_EQ(result.datapoints[1].name, "x\"y\"\"z");
    EXPECT_EQ(result.datapoints[2].name, "a\"btail");
    EXPECT_EQ(result.datapoints[3].name, "");
    EXPECT_EQ(result.datapoints[3].address, 4);
}

TEST(DatapointCSVImport, UnclosedQuoteRunsToTheEnd) {
    const auto result = DatapointCSV::parse("Table;Address;Name\nHR;1;\"open;HR;2\nHR;3");
    ASSERT_EQ(result.datapoints.size(), 1U);
    EXPECT_EQ(result.datapoints[0].name, "open;HR;2\nHR;3");
}

TEST(DatapointCSVImport, FilesWithoutDatapoints) {
    struct Row {
        std::string_view name;
        std::string_view text;
        std::vector<ImportIssue> issues;
    };
    const std::vector<ImportIssue> none;
    const std::vector<ImportIssue> missing{issue(1, ProblemKind::missingColumns, "")};
    const Row rows[] = {
        {"empty", "", none},
        {"mark only", bom, none},
        {"blank lines", "\r\n\n\r", none},
        {"header only", "Table;Address\r\n", none},
        {"header without line end", "Table;Address", none},
        {"no address", "Name;Table\r\nx;HR\r\n", missing},
        {"no table", "Address\n1\n", missing},
        {"blank first line", "\nTable,Address\nHR,1\n", missing},  // no separator on line 1: ";"
        {"quoted header", "\"Table;Address\"\nHR;1\n", missing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = DatapointCSV::parse(row.text);
        EXPECT_TRUE(result.datapoints.empty());
        EXPECT_EQ(result.issues, row.issues);
    }
}

TEST(DatapointCSVImport, InvalidUTF8BecomesReplacementCharacters) {
    const auto result = DatapointCSV::parse("Table,Address,Name,Unit\nHR,1,Temp\xE9rature,\xC2\xB0\x43\xFF\n");
    ASSERT_EQ(result.datapoints.size(), 1U);
    EXPECT_EQ(result.datapoints[0].name, "Temp\xEF\xBF\xBDrature");
    EXPECT_EQ(result.datapoints[0].engineeringUnit, "\xC2\xB0\x43\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tessarin
