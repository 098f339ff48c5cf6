#include "Localization/L10n.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "ModbusCore/ModbusException.hpp"
#include "ModbusCore/NameKey.hpp"
#include "ModbusCore/RegisterTable.hpp"

#include <cerrno>

namespace tessarin {
namespace {

using DatapointCSV::Problem;
using DatapointCSV::ProblemKind;

// One key of the table and the values it was given, as they must show up in its text. Values
// are distinctive so that a text that drops or mangles one cannot match by chance.
struct Key {
    std::function<std::string(Language)> text;
    std::vector<std::string> values;
};

// Every key, each template key with every branch it has.
std::vector<Key> allKeys() {
    using namespace L10n;
    // A key without values is, through its default argument, a plain function of the language.
    // clang-format off
    const std::vector<std::string (*)(Language)> fixedKeys{
        &appName, &Header::start, &Header::stop, &Header::startHelp, &Header::stopHelp,
        &Header::frameSettingsHelp, &Header::lockedWhileRunning, &TCP::host, &TCP::hostPlaceholder,
        &TCP::hostHelp, &TCP::port, &TCP::portHelp, &TCP::portInvalid, &TCP::framing, &TCP::modbusTCP, &TCP::rtuOverTCP,
        &TCP::framingHelp, &Settings::requests, &Settings::responseTimeout, &Settings::timeoutHelp,
        &Settings::combine, &Settings::combineHelp, &Settings::writeMode, &Settings::writeSingle,
        &Settings::writeMultiple, &Settings::writeModeHelp, &State::running, &State::connecting,
        &State::stopped, &Notice::emptyTitle, &Notice::emptySteps, &Notice::startPolling, &Notice::noResponse,
        &Notice::dismiss, &Notice::startFirst, &Footer::showLog, &Footer::showLogHelp, &Footer::showLogMenu,
        &Footer::options, &Footer::optionsHelp, &Footer::autoscroll, &Footer::timestamps, &Footer::rawFrames,
        &Footer::rawFramesHelp, &Footer::onlyProblems, &Footer::onlyProblemsHelp, &Footer::save,
        &Footer::saveHelp, &Footer::clear, &Footer::clearHelp, &Footer::outputAccessibility, &Menu::file, &Menu::poller, &Menu::help, &Menu::quit,
        &Menu::ok, &Menu::cancel,
        &Menu::saveLog, &Menu::clearLog, &Menu::newProject, &Menu::openProject, &Menu::saveProject,
        &Menu::importCSV, &Menu::exportCSV, &Menu::demoDevice, &Simulator::usage, &Simulator::stopped,
        &Table::name, &Table::namePlaceholder, &Table::unitID,
        &Table::table, &Table::address, &Table::dataType, &Table::wordOrder, &Table::scale, &Table::value,
        &Table::unit, &Table::format, &Table::description, &Table::status, &Table::plot, &Table::add,
        &Table::addHelp, &Table::duplicate, &Table::delete_, &Table::csv, &Table::csvHelp, &Table::unitIDHelp,
        &Table::wordOrderHelp, &Table::scaleHelp, &Table::plotHelp, &Table::valueHelp, &Table::waiting,
        &Table::emptyTitle, &Table::emptyText, &Polls::add, &Polls::addHelp, &Polls::namePlaceholder,
        &Polls::interval, &Polls::intervalHelp, &Polls::active, &Polls::activeHelp, &Polls::removeTitle,
        &Polls::remove, &Polls::removeMessage, &Polls::unnamed, &Polls::duplicate, &Polls::tabHelp,
        &Write::help, &Write::off, &Write::on, &Write::placeholder, &Write::button, &Pane::title, &Pane::log,
        &Pane::chart, &Pane::clearHistory, &Pane::clearHistoryHelp, &Pane::exportHistory,
        &Pane::exportHistoryHelp, &Chart::emptyTitle, &Chart::emptyText, &Chart::time, &Chart::window,
        &Chart::windowHelp, &Log::disconnected, &Log::stopped, &Import::question, &Import::add,
        &Import::replace, &Import::cancel, &Project::menu, &Project::menuHelp, &Project::replaceTitle,
        &Project::replaceMessage, &Project::save, &Project::dontSave, &Errors::alertTitle, &Errors::enterHost,
        &Errors::invalidTCPPort, &Errors::csvMissingColumns, &Errors::timeout, &Errors::connectionClosed,
        &Errors::invalidResponse, &Help::menuItem, &Help::windowTitle, &Help::searchPrompt, &Help::noResults,
        &Help::tipLabel, &Example::pollName, &Example::meterPollName, &Example::temperature,
        &Example::pressure, &Example::runtime, &Example::setpoint, &Example::mode, &Example::pump,
        &Example::alarm, &Example::energy};
    // clang-format on
    const std::array<std::uint16_t, 2> registers{0xBEEF, 0x0A0B};
    std::vector<Key> keys{
        {[](Language l) { return Settings::milliseconds(48213, l); }, {"48213"}},
        {[](Language l) { return Settings::gapLabel(0, l); }, {}},
        {[](Language l) { return Settings::gapLabel(7351, l); }, {"7351"}},
        {[](Language l) { return Notice::connectionProblem("ZQproblemQZ", l); }, {"ZQproblemQZ"}},
        {[](Language l) { return Notice::writeFailed("ZQnameQZ", "ZQreasonQZ", l); },
         {"ZQnameQZ", "ZQreasonQZ"}},
        {[](Language l) { return Footer::statistics(90001, 90002, 90003, 90004, 90005, l); },
         {"90001", "90002", "90003", "90004", "90005"}},
        {[](Language l) { return Table::addressHelp("ZQ40001QZ", l); }, {"ZQ40001QZ"}},
        {[](Language l) { return Table::valueInvalid(DataType::float64, l); }, {"Float64"}},
        {[registers](Language l) { return Table::rawHelp(registers, l); }, {"BEEF 0A0B"}},
        {[](Language l) { return Table::updatedHelp("ZQtimeQZ", l); }, {"ZQtimeQZ"}},
        {[](Language l) { return Table::ok(48213, l); }, {"48213"}},
        {[](Language l) { return Table::newName("ZQbaseQZ", 7351, l); }, {"ZQbaseQZ", "7351"}},
        {[](Language l) { return Polls::intervalLabel(999, l); }, {"999"}},
        {[](Language l) { return Polls::intervalLabel(45999, l); }, {"45"}},
        {[](Language l) { return Polls::newName(7351, l); }, {"7351"}},
        {[](Language l) { return Polls::copyName("ZQnameQZ", l); }, {"ZQnameQZ"}},
        {[](Language l) { return Write::title("ZQnameQZ", l); }, {"ZQnameQZ"}},
        {[](Language l) { return Chart::windowLabel(0, l); }, {}},
        {[](Language l) { return Chart::windowLabel(7351 * 3600, l); }, {"7351"}},
        {[](Language l) { return Chart::windowLabel(59 * 60 + 59, l); }, {"59"}},
        {[](Language l) { return Log::connecting("ZQaddressQZ", l); }, {"ZQaddressQZ"}},
        {[](Language l) { return Log::connected("ZQaddressQZ", l); }, {"ZQaddressQZ"}},
        {[](Language l) { return Log::unit(217, l); }, {"217"}},
        {[](Language l) { return Log::unitFunction(217, 0xE7, l); }, {"217", "E7"}},
        {[](Language l) { return Log::range("ZQnameQZ", 4242, 1, l); }, {"ZQnameQZ", "4242"}},
        {[](Language l) { return Log::range("ZQnameQZ", 4242, 5, l); }, {"ZQnameQZ", "4242", "4246"}},
        {[](Language l) { return Log::writeFailed("ZQnameQZ", l); }, {"ZQnameQZ"}},
        {[](Language l) { return Import::title(1, l); }, {"1"}},
        {[](Language l) { return Import::title(0, l); }, {"0"}},
        {[](Language l) { return Import::title(7351, l); }, {"7351"}},
        {[](Language l) { return Import::skipped(7351, l); }, {"7351"}},
        {[](Language l) { return Import::skipped(1, l); }, {"1"}},
        {[](Language l) { return Log::framesDropped(7351, l); }, {"7351"}},
        {[](Language l) { return Log::framesDropped(1, l); }, {"1"}},
        {[](Language l) { return Errors::saveFailed("ZQreasonQZ", l); }, {"ZQreasonQZ"}},
        {[](Language l) { return Errors::fileOpenFailed("ZQfileQZ", l); }, {"ZQfileQZ"}},
        {[](Language l) { return Errors::importNothing("ZQdetailsQZ", l); }, {"ZQdetailsQZ"}},
        {[](Language l) {
             return Errors::importIssue({7351, {ProblemKind::invalidNumber, "ZQcellQZ"}}, l);
         },
         {"7351", "ZQcellQZ"}},
        {[](Language l) { return Errors::resolveFailed("ZQhostQZ", l); }, {"ZQhostQZ"}},
        {[](Language l) { return Errors::connectFailed("ZQhostQZ", 50217, "ZQreasonQZ", l); },
         {"ZQhostQZ:50217", "ZQreasonQZ"}},
        {[](Language l) { return Errors::connectTimeout("ZQhostQZ", 50217, l); }, {"ZQhostQZ:50217"}},
        {[](Language l) { return Simulator::unknownOption("--ZQoptionQZ", l); }, {"--ZQoptionQZ"}},
        {[](Language l) { return Simulator::missingValue("--ZQoptionQZ", l); }, {"--ZQoptionQZ"}},
        {[](Language l) { return Simulator::invalidValue("--ZQoptionQZ", "ZQvalueQZ", l); },
         {"--ZQoptionQZ", "ZQvalueQZ"}},
        {[](Language l) { return Simulator::oneProjectOnly("ZQfileQZ", l); }, {"ZQfileQZ"}},
        {[](Language l) { return Simulator::listenFailed("ZQhostQZ:50217", "ZQreasonQZ", l); },
         {"ZQhostQZ:50217", "ZQreasonQZ"}},
        {[](Language l) { return Simulator::portFallback(502, 1502, l); }, {"502", "1502"}},
        {[](Language l) { return Simulator::serving("ZQprojectQZ", "ZQhostQZ:50217", "rtuOverTCP", l); },
         {"ZQprojectQZ", "ZQhostQZ:50217", "rtuOverTCP"}},
        {[](Language l) { return Simulator::clientConnected("ZQclientQZ", l); }, {"ZQclientQZ"}},
        {[](Language l) { return Simulator::clientDisconnected("ZQclientQZ", l); }, {"ZQclientQZ"}},
        {[](Language l) { return Simulator::clientDropped("ZQclientQZ", l); }, {"ZQclientQZ"}},
        {[](Language l) { return Modbus::functionName(0xE7, l); }, {}},
        {[](Language l) { return Modbus::functionName(43, l); }, {}},
        {[](Language l) { return Modbus::exceptionName(0xE7, l); }, {"(E7)"}},
    };
    for (const auto key : fixedKeys) keys.push_back({key, {}});
    for (const int errorNumber : {ECONNREFUSED, EHOSTUNREACH, ENETUNREACH, ETIMEDOUT, ECONNRESET}) {
        keys.push_back(
            {[errorNumber](Language l) { return Errors::connectReason(errorNumber, l).value_or(""); }, {}});
    }
    for (const RegisterTable table : allRegisterTables)
        keys.push_back({[table](Language l) { return Table::tableName(table, l); }, {}});
    for (const DataType type : allDataTypes)
        keys.push_back({[type](Language l) { return Table::dataTypeName(type, l); }, {}});
    for (const DisplayFormat format : allDisplayFormats)
        keys.push_back({[format](Language l) { return Table::formatName(format, l); }, {}});
    for (const FunctionCode code : allFunctionCodes)
        keys.push_back({[code](Language l) { return Modbus::functionName(code, l); }, {}});
    for (const ModbusException exception : allModbusExceptions) {
        keys.push_back({[exception](Language l) { return Modbus::exceptionName(rawValue(exception), l); },
                        {fmt::format("({:02X})", rawValue(exception))}});
    }
    // An empty value is found in any text, so keys without one need no special case.
    const std::vector<std::pair<PollFailure, std::string>> failures{
        {PollFailure::unexpectedUnit(217), "217"},
        {PollFailure::unexpectedFunction(0xE7), "E7"},
        {PollFailure::exception(0xE7), "E7"},
        {PollFailure::exception(0x03), "03"},
        {PollFailure::timeout(), "48213"},
        {PollFailure::crcMismatch(), ""},
        {PollFailure::malformed(), ""},
        {PollFailure::noConnection(), ""}};
    for (const auto& [failure, value] : failures) {
        keys.push_back({[failure](Language l) { return Log::failure(failure, 48213, l); }, {value}});
        // The short label names only an exception's code.
        const bool named = failure.kind == PollFailure::Kind::exception;
        keys.push_back(
            {[failure](Language l) { return Log::shortFailure(failure, l); }, {named ? value : ""}});
    }
    for (const auto& facts : DatapointCSV::problemKindFacts) {
        const Problem problem{facts.kind, facts.kind == ProblemKind::missingColumns ? "" : "ZQcellQZ"};
        keys.push_back({[problem](Language l) { return Errors::csvProblem(problem, l); }, {problem.text}});
    }
    return keys;
}

TEST(L10n, EveryKeyHasACompleteTextInEveryLanguage) {
    for (const Key& key : allKeys()) {
        for (const Language language : allLanguages) {
            const std::string text = key.text(language);
            SCOPED_TRACE(fmt::format("{} in {}", key.text(Language::en), rawValue(language)));
            ASSERT_FALSE(text.empty());
            for (const std::string& value : key.values)
                EXPECT_NE(text.find(value), std::string::npos) << text;
            // A marker left unfilled, or filled by the wrong name, shows as a brace.
            EXPECT_EQ(text.find_first_of("{}"), std::string::npos) << text;
            EXPECT_EQ(text.find("..."), std::string::npos) << "an ellipsis is one character: " << text;
            EXPECT_EQ(text.find("  "), std::string::npos) << text;
            EXPECT_FALSE(text.front() == ' ' || text.back() == ' ') << text;
        }
    }
}

TEST(L10n, FrenchSeparatesHighPunctuationWithANoBreakSpace) {
    for (const Key& key : allKeys()) {
        const std::string text = key.text(Language::fr);
        SCOPED_TRACE(text);
        for (const std::string_view wrong : {" :", " ;", " ?", " !"})
            EXPECT_EQ(text.find(wrong), std::string::npos);
        // A colon before a digit ("host:502", "14:03") is not punctuation.
        for (std::size_t at = text.find_first_of(":;?!"); at != std::string::npos;
             at = text.find_first_of(":;?!", at + 1)) {
            if (text[at] == ':' && at + 1 < text.size() &&
                std::isdigit(static_cast<unsigned char>(text[at + 1])))
                continue;
            EXPECT_TRUE(at >= 2 && text.substr(at - 2, 2) == "\u00a0") << at;
        }
    }
}

// A value quoted in a sentence takes the language's quotation marks; straight quotes around it
// read as a typing slip in German, French and Spanish (Dutch may use its single quotes).
TEST(L10n, ValuesAreQuotedTheLanguagesWay) {
    for (const Key& key : allKeys()) {
        for (const Language language : {Language::nl, Language::de, Language::fr, Language::es}) {
            const std::string text = key.text(language);
            SCOPED_TRACE(text);
            for (const std::string& value : key.values) {
                if (value.empty()) continue;
                EXPECT_EQ(text.find("'" + value), std::string::npos);
                EXPECT_EQ(text.find(value + "'"), std::string::npos);
            }
        }
    }
}

// What the table picker shows must be what a CSV may say: a user who types the table names from
// the screen into a spreadsheet would otherwise have every line rejected as an unknown table.
TEST(L10n, EveryTableNameOnScreenReadsBackThroughTheImport) {
    for (const Language language : allLanguages) {
        for (const RegisterTable table : allRegisterTables) {
            const std::string name = L10n::Table::tableName(table, language);
            SCOPED_TRACE(fmt::format("{} in {}", name, rawValue(language)));
            EXPECT_EQ(registerTableFromText(name), table);
        }
    }
}

// One word per concept: the log's word names nothing of the protocol (no table, no function),
// and no text about the log uses the word of the protocol choice. Where they collide, "Clear
// log" reads as "clear register" and the log's label as "communication protocol".
TEST(L10n, TheLogAndTheProtocolKeepTheirOwnWords) {
    using namespace L10n;
    for (const Language l : allLanguages) {
        SCOPED_TRACE(rawValue(l));
        const std::string logTerm = nameKey(Pane::log(l));
        EXPECT_EQ(nameKey(Footer::showLog(l)), logTerm);
        std::vector<std::string> protocolNames;
        for (const RegisterTable table : allRegisterTables)
            protocolNames.push_back(Table::tableName(table, l));
        for (int code = 0; code <= 0xFF; ++code) {
            protocolNames.push_back(Modbus::functionName(static_cast<std::uint8_t>(code), l));
        }
        for (const std::string& name : protocolNames) {
            EXPECT_EQ(nameKey(name).find(logTerm), std::string::npos) << name;
        }
        const std::string protocolTerm = nameKey(TCP::framing(l));
        for (const auto& logText :
             {Footer::showLogMenu(l), Footer::options(l), Footer::onlyProblems(l),
              Footer::onlyProblemsHelp(l), Footer::saveHelp(l), Footer::clear(l), Footer::clearHelp(l),
              Footer::outputAccessibility(l), Menu::saveLog(l), Menu::clearLog(l)}) {
            EXPECT_EQ(nameKey(logText).find(protocolTerm), std::string::npos) << logText;
        }
    }
}

// A column of the table swapped with another one shows as the wrong language throughout.
TEST(L10n, TableColumnsFollowTheLanguageOrder) {
    const std::array<std::string_view, 5> expected{"Clear History", "Wis historie", "Verlauf löschen",
                                                   "Effacer l'historique", "Borrar historial"};
    for (const Language language : allLanguages) {
        EXPECT_EQ(L10n::Pane::clearHistory(language), expected[static_cast<std::size_t>(language)]);
    }
}

struct Expected {
    std::string actual;
    std::string_view expected;
};

void expectAll(const std::vector<Expected>& rows) {
    for (const Expected& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(row.actual, row.expected);
    }
}

constexpr Language en = Language::en;

TEST(L10n, EnglishEdgesOfTheTemplates) {
    const std::array<std::uint16_t, 2> registers{0x00D7, 0x0001};
    expectAll({
        {L10n::Settings::gapLabel(0, en), "Adjacent only"},
        {L10n::Polls::intervalLabel(999, en), "999 ms"},
        {L10n::Polls::intervalLabel(1500, en), "1 s"},
        {L10n::Chart::windowLabel(0, en), "All"},
        {L10n::Chart::windowLabel(3599, en), "59 min"},
        {L10n::Chart::windowLabel(7199, en), "1 h"},
        {L10n::Log::range("HR", 10, 1, en), "HR 10"},
        {L10n::Log::range("HR", 10, 4, en), "HR 10–13"},
        {L10n::Log::range("IR", 65534, 2, en), "IR 65534–65535"},
        {L10n::Log::unitFunction(1, 3, en), "Unit 1 · FC 03"},
        {L10n::Modbus::exceptionName(7, en), "Exception (07)"},
        {L10n::Modbus::functionName(0x83, en), "Function"},
        {L10n::Import::title(1, en), "1 datapoint found"},
        {L10n::Import::skipped(1, en), "1 line skipped:"},
        {L10n::Import::skipped(0, en), "0 lines skipped:"},
        {L10n::Import::skipped(0, Language::fr), "0 ligne ignorée\u00a0:"},
        {L10n::Import::skipped(2, Language::fr), "2 lignes ignorées\u00a0:"},
        {L10n::Log::framesDropped(1, en), "1 late or unrequested response dropped:"},
        {L10n::Log::framesDropped(0, en), "0 late or unrequested responses dropped:"},
        {L10n::Log::framesDropped(2, en), "2 late or unrequested responses dropped:"},
        // The long failure texts show in the model's log lines; the short ones label the table.
        {L10n::Log::shortFailure(PollFailure::exception(0x0C), en), "Exception 0C"},
        {L10n::Log::shortFailure(PollFailure::malformed(), en), "Invalid response"},
        {L10n::Log::shortFailure(PollFailure::unexpectedUnit(17), en), "Invalid response"},
        {L10n::Log::shortFailure(PollFailure::timeout(), en), "No response"},
        {L10n::Log::shortFailure(PollFailure::crcMismatch(), en), "CRC error"},
        {L10n::Log::shortFailure(PollFailure::noConnection(), en), "No connection"},
        {L10n::Table::rawHelp(registers, en), "Raw registers: 00D7 0001"},
        {L10n::Footer::statistics(1, 2, 3, 4, 5, en),
         "Requests 1 · Responses 2 · No response 3 · Exceptions 4 · Invalid 5"},
        {L10n::Errors::connectTimeout("10.0.0.9", 1502, en),
         "10.0.0.9:1502 does not answer. Is the device on and is the address right?"},
        {L10n::Errors::connectFailed("fe80::1", 502, "Connection refused", en),
         "Connecting to [fe80::1]:502 failed: Connection refused."},
        {L10n::Errors::connectReason(ETIMEDOUT, en).value_or("none"), "connection timed out"},
        // Rare reasons are left to the system's text.
        {L10n::Errors::connectReason(EACCES, en).value_or("none"), "none"},
        {L10n::Errors::importIssue({3, {ProblemKind::invalidAddress, "65536"}}, en),
         "Line 3: invalid address '65536' (0 to 65535)"},
        {L10n::Errors::importIssue({1, {ProblemKind::missingColumns, ""}}, en),
         "Line 1: the columns Table and Address are missing"},
    });
}

TEST(L10n, FrenchCountsZeroAsSingular) {
    EXPECT_EQ(L10n::Import::title(0, Language::fr), "0 point de données trouvé");
    EXPECT_EQ(L10n::Import::title(2, Language::fr), "2 points de données trouvés");
    EXPECT_EQ(L10n::Import::title(0, Language::de), "0 Datenpunkte gefunden");
    EXPECT_EQ(L10n::Log::framesDropped(0, Language::fr), "0 réponse tardive ou non demandée ignorée\u00a0:");
    EXPECT_EQ(L10n::Log::framesDropped(2, Language::fr),
              "2 réponses tardives ou non demandées ignorées\u00a0:");
    EXPECT_EQ(L10n::Log::framesDropped(0, Language::nl), "0 te late of ongevraagde antwoorden genegeerd:");
}

}  // namespace
}  // namespace tessarin
