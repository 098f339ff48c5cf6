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

namespace tessarin {
namespace {

using DatapointCSV::ImportIssue;
using DatapointCSV::Problem;
using DatapointCSV::ProblemKind;

// One key of the table, asked for in a given language, and the values it was given as they
// must show up in the text. Values are distinctive so that a text that drops or mangles one
// cannot match by chance.
struct Key {
    std::string name;
    std::function<std::string(Language)> text;
    std::vector<std::string> values;
};

#define FIXED_KEY(path)                                     \
    Key {                                                   \
#path, [](Language l) { return L10n::path(l); }, {} \
    }

std::vector<Key> allKeys() {
    std::vector<Key> keys{
        FIXED_KEY(appName),
        FIXED_KEY(Header::start),
        FIXED_KEY(Header::stop),
        FIXED_KEY(Header::startHelp),
        FIXED_KEY(Header::stopHelp),
        FIXED_KEY(Header::frameSettingsHelp),
        FIXED_KEY(Header::lockedWhileRunning),
        FIXED_KEY(TCP::host),
        FIXED_KEY(TCP::hostPlaceholder),
        FIXED_KEY(TCP::hostHelp),
        FIXED_KEY(TCP::port),
        FIXED_KEY(TCP::portHelp),
        FIXED_KEY(TCP::portInvalid),
        FIXED_KEY(TCP::framing),
        FIXED_KEY(TCP::rtuOverTCP),
        FIXED_KEY(TCP::framingHelp),
        FIXED_KEY(Settings::requests),
        FIXED_KEY(Settings::responseTimeout),
        FIXED_KEY(Settings::timeoutHelp),
        FIXED_KEY(Settings::combine),
        FIXED_KEY(Settings::combineHelp),
        FIXED_KEY(Settings::writeMode),
        FIXED_KEY(Settings::writeSingle),
        FIXED_KEY(Settings::writeMultiple),
        FIXED_KEY(Settings::writeModeHelp),
        FIXED_KEY(State::running),
        FIXED_KEY(State::connecting),
        FIXED_KEY(State::stopped),
        FIXED_KEY(Notice::emptyTitle),
        FIXED_KEY(Notice::emptySteps),
        FIXED_KEY(Notice::startPolling),
        FIXED_KEY(Notice::noResponse),
        FIXED_KEY(Notice::dismiss),
        FIXED_KEY(Notice::startFirst),
        FIXED_KEY(Footer::showLog),
        FIXED_KEY(Footer::showLogHelp),
        FIXED_KEY(Footer::showLogMenu),
        FIXED_KEY(Footer::options),
        FIXED_KEY(Footer::optionsHelp),
        FIXED_KEY(Footer::autoscroll),
        FIXED_KEY(Footer::timestamps),
        FIXED_KEY(Footer::rawFrames),
        FIXED_KEY(Footer::rawFramesHelp),
        FIXED_KEY(Footer::onlyProblems),
        FIXED_KEY(Footer::onlyProblemsHelp),
        FIXED_KEY(Footer::save),
        FIXED_KEY(Footer::saveHelp),
        FIXED_KEY(Footer::clear),
        FIXED_KEY(Footer::clearHelp),
        FIXED_KEY(Footer::outputAccessibility),
        FIXED_KEY(Menu::poller),
        FIXED_KEY(Menu::saveLog),
        FIXED_KEY(Menu::clearLog),
        FIXED_KEY(Menu::newProject),
        FIXED_KEY(Menu::openProject),
        FIXED_KEY(Menu::saveProject),
        FIXED_KEY(Menu::importCSV),
        FIXED_KEY(Menu::exportCSV),
        FIXED_KEY(Table::name),
        FIXED_KEY(Table::namePlaceholder),
        FIXED_KEY(Table::unitID),
        FIXED_KEY(Table::table),
        FIXED_KEY(Table::address),
        FIXED_KEY(Table::dataType),
        FIXED_KEY(Table::wordOrder),
        FIXED_KEY(Table::scale),
        FIXED_KEY(Table::value),
        FIXED_KEY(Table::unit),
        FIXED_KEY(Table::format),
        FIXED_KEY(Table::description),
        FIXED_KEY(Table::status),
        FIXED_KEY(Table::plot),
        FIXED_KEY(Table::add),
        FIXED_KEY(Table::addHelp),
        FIXED_KEY(Table::duplicate),
        FIXED_KEY(Table::delete_),
        FIXED_KEY(Table::csv),
        FIXED_KEY(Table::csvHelp),
        FIXED_KEY(Table::unitIDHelp),
        FIXED_KEY(Table::wordOrderHelp),
        FIXED_KEY(Table::scaleHelp),
        FIXED_KEY(Table::plotHelp),
        FIXED_KEY(Table::valueHelp),
        FIXED_KEY(Table::waiting),
        FIXED_KEY(Table::emptyTitle),
        FIXED_KEY(Table::emptyText),
        FIXED_KEY(Polls::add),
        FIXED_KEY(Polls::addHelp),
        FIXED_KEY(Polls::namePlaceholder),
        FIXED_KEY(Polls::interval),
        FIXED_KEY(Polls::intervalHelp),
        FIXED_KEY(Polls::active),
        FIXED_KEY(Polls::activeHelp),
        FIXED_KEY(Polls::removeTitle),
        FIXED_KEY(Polls::remove),
        FIXED_KEY(Polls::removeMessage),
        FIXED_KEY(Polls::unnamed),
        FIXED_KEY(Polls::duplicate),
        FIXED_KEY(Polls::tabHelp),
        FIXED_KEY(Write::help),
        FIXED_KEY(Write::off),
        FIXED_KEY(Write::on),
        FIXED_KEY(Write::placeholder),
        FIXED_KEY(Write::button),
        FIXED_KEY(Pane::title),
        FIXED_KEY(Pane::log),
        FIXED_KEY(Pane::chart),
        FIXED_KEY(Pane::clearHistory),
        FIXED_KEY(Pane::clearHistoryHelp),
        FIXED_KEY(Pane::exportHistory),
        FIXED_KEY(Pane::exportHistoryHelp),
        FIXED_KEY(Chart::emptyTitle),
        FIXED_KEY(Chart::emptyText),
        FIXED_KEY(Chart::time),
        FIXED_KEY(Chart::window),
        FIXED_KEY(Chart::windowHelp),
        FIXED_KEY(Log::disconnected),
        FIXED_KEY(Log::stopped),
        FIXED_KEY(Import::question),
        FIXED_KEY(Import::add),
        FIXED_KEY(Import::replace),
        FIXED_KEY(Import::cancel),
        FIXED_KEY(Project::menu),
        FIXED_KEY(Project::menuHelp),
        FIXED_KEY(Project::replaceTitle),
        FIXED_KEY(Project::replaceMessage),
        FIXED_KEY(Project::save),
        FIXED_KEY(Project::dontSave),
        FIXED_KEY(Errors::alertTitle),
        FIXED_KEY(Errors::enterHost),
        FIXED_KEY(Errors::invalidTCPPort),
        FIXED_KEY(Errors::csvMissingColumns),
        FIXED_KEY(Errors::timeout),
        FIXED_KEY(Errors::connectionClosed),
        FIXED_KEY(Errors::invalidResponse),
        FIXED_KEY(Help::menuItem),
        FIXED_KEY(Help::windowTitle),
        FIXED_KEY(Help::searchPrompt),
        FIXED_KEY(Help::noResults),
        FIXED_KEY(Help::tipLabel),
        FIXED_KEY(Example::pollName),
        FIXED_KEY(Example::meterPollName),
        FIXED_KEY(Example::temperature),
        FIXED_KEY(Example::pressure),
        FIXED_KEY(Example::runtime),
        FIXED_KEY(Example::setpoint),
        FIXED_KEY(Example::mode),
        FIXED_KEY(Example::pump),
        FIXED_KEY(Example::alarm),
        FIXED_KEY(Example::energy),

        {"Settings::milliseconds",
         [](Language l) { return L10n::Settings::milliseconds(48213, l); },
         {"48213"}},
        {"Settings::gapLabel(0)", [](Language l) { return L10n::Settings::gapLabel(0, l); }, {}},
        {"Settings::gapLabel", [](Language l) { return L10n::Settings::gapLabel(7351, l); }, {"7351"}},
        {"Notice::connectionProblem",
         [](Language l) { return L10n::Notice::connectionProblem("ZQproblemQZ", l); },
         {"ZQproblemQZ"}},
        {"Notice::writeFailed",
         [](Language l) { return L10n::Notice::writeFailed("ZQnameQZ", "ZQreasonQZ", l); },
         {"ZQnameQZ", "ZQreasonQZ"}},
        {"Footer::statistics",
         [](Language l) { return L10n::Footer::statistics(90001, 90002, 90003, 90004, 90005, l); },
         {"90001", "90002", "90003", "90004", "90005"}},
        {"Table::addressHelp",
         [](Language l) { return L10n::Table::addressHelp("ZQ40001QZ", l); },
         {"ZQ40001QZ"}},
        {"Table::valueInvalid",
         [](Language l) { return L10n::Table::valueInvalid(DataType::float64, l); },
         {"Float64"}},
        {"Table::rawHelp",
         [](Language l) {
             const std::array<std::uint16_t, 2> registers{0xBEEF, 0x0A0B};
             return L10n::Table::rawHelp(registers, l);
         },
         {"BEEF 0A0B"}},
        {"Table::updatedHelp",
         [](Language l) { return L10n::Table::updatedHelp("ZQtimeQZ", l); },
         {"ZQtimeQZ"}},
        {"Table::ok", [](Language l) { return L10n::Table::ok(48213, l); }, {"48213"}},
        {"Table::newName",
         [](Language l) { return L10n::Table::newName("ZQbaseQZ", 7351, l); },
         {"ZQbaseQZ", "7351"}},
        {"Polls::intervalLabel(ms)", [](Language l) { return L10n::Polls::intervalLabel(999, l); }, {"999"}},
        {"Polls::intervalLabel(s)", [](Language l) { return L10n::Polls::intervalLabel(45999, l); }, {"45"}},
        {"Polls::newName", [](Language l) { return L10n::Polls::newName(7351, l); }, {"7351"}},
        {"Polls::copyName", [](Language l) { return L10n::Polls::copyName("ZQnameQZ", l); }, {"ZQnameQZ"}},
        {"Write::title", [](Language l) { return L10n::Write::title("ZQnameQZ", l); }, {"ZQnameQZ"}},
        {"Chart::windowLabel(0)", [](Language l) { return L10n::Chart::windowLabel(0, l); }, {}},
        {"Chart::windowLabel(h)",
         [](Language l) { return L10n::Chart::windowLabel(7351 * 3600, l); },
         {"7351"}},
        {"Chart::windowLabel(min)",
         [](Language l) { return L10n::Chart::windowLabel(59 * 60 + 59, l); },
         {"59"}},
        {"Log::connecting",
         [](Language l) { return L10n::Log::connecting("ZQaddressQZ", l); },
         {"ZQaddressQZ"}},
        {"Log::connected",
         [](Language l) { return L10n::Log::connected("ZQaddressQZ", l); },
         {"ZQaddressQZ"}},
        {"Log::unit", [](Language l) { return L10n::Log::unit(217, l); }, {"217"}},
        {"Log::unitFunction",
         [](Language l) { return L10n::Log::unitFunction(217, 0xE7, l); },
         {"217", "E7"}},
        {"Log::range(1)",
         [](Language l) { return L10n::Log::range("ZQnameQZ", 4242, 1, l); },
         {"ZQnameQZ", "4242"}},
        {"Log::range(5)",
         [](Language l) { return L10n::Log::range("ZQnameQZ", 4242, 5, l); },
         {"ZQnameQZ", "4242", "4246"}},
        {"Log::writeFailed", [](Language l) { return L10n::Log::writeFailed("ZQnameQZ", l); }, {"ZQnameQZ"}},
        {"Import::title(1)", [](Language l) { return L10n::Import::title(1, l); }, {"1"}},
        {"Import::title(0)", [](Language l) { return L10n::Import::title(0, l); }, {"0"}},
        {"Import::title", [](Language l) { return L10n::Import::title(7351, l); }, {"7351"}},
        {"Import::skipped", [](Language l) { return L10n::Import::skipped(7351, l); }, {"7351"}},
        {"Errors::saveFailed",
         [](Language l) { return L10n::Errors::saveFailed("ZQreasonQZ", l); },
         {"ZQreasonQZ"}},
        {"Errors::fileOpenFailed",
         [](Language l) { return L10n::Errors::fileOpenFailed("ZQfileQZ", l); },
         {"ZQfileQZ"}},
        {"Errors::importNothing",
         [](Language l) { return L10n::Errors::importNothing("ZQdetailsQZ", l); },
         {"ZQdetailsQZ"}},
        {"Errors::importIssue",
         [](Language l) {
             return L10n::Errors::importIssue(
                 ImportIssue{7351, Problem{ProblemKind::invalidNumber, "ZQcellQZ"}}, l);
         },
         {"7351", "ZQcellQZ"}},
        {"Errors::csvInvalidTable",
         [](Language l) { return L10n::Errors::csvInvalidTable("ZQcellQZ", l); },
         {"ZQcellQZ"}},
        {"Errors::csvInvalidAddress",
         [](Language l) { return L10n::Errors::csvInvalidAddress("ZQcellQZ", l); },
         {"ZQcellQZ"}},
        {"Errors::csvInvalidUnit",
         [](Language l) { return L10n::Errors::csvInvalidUnit("ZQcellQZ", l); },
         {"ZQcellQZ"}},
        {"Errors::csvInvalidDataType",
         [](Language l) { return L10n::Errors::csvInvalidDataType("ZQcellQZ", l); },
         {"ZQcellQZ"}},
        {"Errors::csvInvalidNumber",
         [](Language l) { return L10n::Errors::csvInvalidNumber("ZQcellQZ", l); },
         {"ZQcellQZ"}},
        {"Errors::resolveFailed",
         [](Language l) { return L10n::Errors::resolveFailed("ZQhostQZ", l); },
         {"ZQhostQZ"}},
        {"Errors::connectFailed",
         [](Language l) { return L10n::Errors::connectFailed("ZQhostQZ", 50217, "ZQreasonQZ", l); },
         {"ZQhostQZ:50217", "ZQreasonQZ"}},
        {"Errors::connectTimeout",
         [](Language l) { return L10n::Errors::connectTimeout("ZQhostQZ", 50217, l); },
         {"ZQhostQZ:50217"}},
        {"Modbus::functionName(unknown)", [](Language l) { return L10n::Modbus::functionName(0xE7, l); }, {}},
        {"Modbus::exceptionName(unknown)",
         [](Language l) { return L10n::Modbus::exceptionName(0xE7, l); },
         {"(E7)"}},
    };

    for (const RegisterTable table : allRegisterTables) {
        keys.push_back({fmt::format("Table::tableName({})", rawValue(table)),
                        [table](Language l) { return L10n::Table::tableName(table, l); },
                        {}});
    }
    for (const DataType type : allDataTypes) {
        keys.push_back({fmt::format("Table::dataTypeName({})", rawValue(type)),
                        [type](Language l) { return L10n::Table::dataTypeName(type, l); },
                        {}});
    }
    for (const DisplayFormat format : allDisplayFormats) {
        keys.push_back({fmt::format("Table::formatName({})", rawValue(format)),
                        [format](Language l) { return L10n::Table::formatName(format, l); },
                        {}});
    }
    for (const FunctionCode code : allFunctionCodes) {
        keys.push_back({fmt::format("Modbus::functionName({})", name(code)),
                        [code](Language l) { return L10n::Modbus::functionName(code, l); },
                        {}});
    }
    keys.push_back(
        {"Modbus::functionName(43)", [](Language l) { return L10n::Modbus::functionName(43, l); }, {}});
    for (const ModbusException exception : allModbusExceptions) {
        keys.push_back(
            {fmt::format("Modbus::exceptionName({})", name(exception)),
             [exception](Language l) { return L10n::Modbus::exceptionName(rawValue(exception), l); },
             {fmt::format("({:02X})", rawValue(exception))}});
    }

    const std::vector<std::pair<PollFailure, std::vector<std::string>>> failures{
        {PollFailure::unexpectedUnit(217), {"217"}},
        {PollFailure::unexpectedFunction(0xE7), {"E7"}},
        {PollFailure::exception(0xE7), {"E7"}},
        {PollFailure::exception(0x03), {"03"}},
        {PollFailure::timeout(), {"48213"}},
        {PollFailure::crcMismatch(), {}},
        {PollFailure::malformed(), {}},
        {PollFailure::noConnection(), {}},
    };
    for (const auto& [failure, values] : failures) {
        keys.push_back({fmt::format("Log::failure({} {})", name(failure.kind), failure.value),
                        [failure](Language l) { return L10n::Log::failure(failure, 48213, l); }, values});
        std::vector<std::string> shortValues;
        if (failure.kind == PollFailure::Kind::exception) shortValues = values;
        keys.push_back({fmt::format("Log::shortFailure({} {})", name(failure.kind), failure.value),
                        [failure](Language l) { return L10n::Log::shortFailure(failure, l); }, shortValues});
    }

    for (const auto& facts : DatapointCSV::problemKindFacts) {
        const Problem problem{facts.kind, facts.kind == ProblemKind::missingColumns ? "" : "ZQcellQZ"};
        std::vector<std::string> values;
        if (!problem.text.empty()) values.push_back(problem.text);
        keys.push_back({fmt::format("Errors::csvProblem({})", facts.rawValue),
                        [problem](Language l) { return L10n::Errors::csvProblem(problem, l); }, values});
    }
    return keys;
}

#undef FIXED_KEY

TEST(L10n, EveryKeyHasACompleteTextInEveryLanguage) {
    for (const Key& key : allKeys()) {
        for (const Language language : allLanguages) {
            SCOPED_TRACE(fmt::format("{} in {}", key.name, rawValue(language)));
            const std::string text = key.text(language);
            EXPECT_FALSE(text.empty());
            for (const std::string& value : key.values)
                EXPECT_NE(text.find(value), std::string::npos) << text;
            // A marker left unfilled, or filled by the wrong name, shows as a brace.
            EXPECT_EQ(text.find_first_of("{}"), std::string::npos) << text;
            EXPECT_EQ(text.find("..."), std::string::npos) << "an ellipsis is one character: " << text;
            EXPECT_EQ(text.find("  "), std::string::npos) << text;
            EXPECT_EQ(text.front() == ' ' || text.back() == ' ', false) << text;
        }
    }
}

TEST(L10n, FrenchSeparatesHighPunctuationWithANoBreakSpace) {
    for (const Key& key : allKeys()) {
        SCOPED_TRACE(key.name);
        const std::string text = key.text(Language::fr);
        for (const std::string_view wrong : {" :", " ;", " ?", " !"}) {
            EXPECT_EQ(text.find(wrong), std::string::npos) << text;
        }
        // A colon between digits ("host:502", "14:03") is not punctuation.
        for (std::size_t at = text.find_first_of(":;?!"); at != std::string::npos;
             at = text.find_first_of(":;?!", at + 1)) {
            const bool betweenDigits =
                at + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 1]));
            if (text[at] == ':' && betweenDigits) continue;
            EXPECT_TRUE(at >= 2 && text.substr(at - 2, 2) == "\u00a0") << text;
        }
    }
}

TEST(L10n, KeysThatAreTheSameInEveryLanguageAre) {
    const std::vector<Key> same{
        {"appName", [](Language l) { return L10n::appName(l); }, {}},
        {"Table::csv", [](Language l) { return L10n::Table::csv(l); }, {}},
        {"Table::ok", [](Language l) { return L10n::Table::ok(12, l); }, {}},
        {"Table::newName", [](Language l) { return L10n::Table::newName("HR", 12, l); }, {}},
        {"Table::tableName(coil)",
         [](Language l) { return L10n::Table::tableName(RegisterTable::coil, l); },
         {}},
        {"Polls::newName", [](Language l) { return L10n::Polls::newName(3, l); }, {}},
        {"Settings::milliseconds", [](Language l) { return L10n::Settings::milliseconds(500, l); }, {}},
        {"Polls::intervalLabel",
         [](Language l) { return L10n::Polls::intervalLabel(1500, l) + L10n::Polls::intervalLabel(250, l); },
         {}},
        {"Chart::windowLabel",
         [](Language l) { return L10n::Chart::windowLabel(300, l) + L10n::Chart::windowLabel(3600, l); },
         {}},
        {"Log::range", [](Language l) { return L10n::Log::range("IR", 10, 4, l); }, {}},
    };
    for (const Key& key : same) {
        const std::string english = key.text(Language::en);
        for (const Language language : allLanguages) {
            SCOPED_TRACE(fmt::format("{} in {}", key.name, rawValue(language)));
            EXPECT_EQ(key.text(language), english);
        }
    }
    for (const DataType type : allDataTypes) {
        for (const Language language : allLanguages) {
            SCOPED_TRACE(fmt::format("{} in {}", rawValue(type), rawValue(language)));
            EXPECT_EQ(L10n::Table::dataTypeName(type, language),
                      L10n::Table::dataTypeName(type, Language::en));
        }
    }
}

struct Expected {
    std::string actual;
    std::string_view expected;
};

void expectAll(const std::vector<Expected>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(fmt::format("row {}: {}", i, rows[i].expected));
        EXPECT_EQ(rows[i].actual, rows[i].expected);
    }
}

constexpr Language en = Language::en;

TEST(L10n, EnglishEdgeCasesOfTheTemplates) {
    expectAll({
        {L10n::Settings::gapLabel(0, en), "Adjacent only"},
        {L10n::Settings::gapLabel(8, en), "Gaps up to 8 addresses"},
        {L10n::Polls::intervalLabel(999, en), "999 ms"},
        {L10n::Polls::intervalLabel(1000, en), "1 s"},
        {L10n::Polls::intervalLabel(1500, en), "1 s"},
        {L10n::Polls::intervalLabel(60000, en), "60 s"},
        {L10n::Chart::windowLabel(0, en), "All"},
        {L10n::Chart::windowLabel(60, en), "1 min"},
        {L10n::Chart::windowLabel(300, en), "5 min"},
        {L10n::Chart::windowLabel(3599, en), "59 min"},
        {L10n::Chart::windowLabel(3600, en), "1 h"},
        {L10n::Chart::windowLabel(7199, en), "1 h"},
        {L10n::Log::range("HR", 10, 1, en), "HR 10"},
        {L10n::Log::range("HR", 10, 4, en), "HR 10–13"},
        {L10n::Log::range("IR", 65534, 2, en), "IR 65534–65535"},
        {L10n::Log::range("CO", 65535, 1, en), "CO 65535"},
        {L10n::Modbus::exceptionName(2, en), "Illegal data address (02)"},
        {L10n::Modbus::exceptionName(0x0C, en), "Exception (0C)"},
        {L10n::Modbus::exceptionName(11, en), "Gateway target failed to respond (0B)"},
        {L10n::Modbus::exceptionName(7, en), "Exception (07)"},
        {L10n::Modbus::exceptionName(0, en), "Exception (00)"},
        {L10n::Import::title(1, en), "1 datapoint found"},
        {L10n::Import::title(0, en), "0 datapoints found"},
        {L10n::Import::title(2, en), "2 datapoints found"},
        {L10n::Import::skipped(1, en), "1 line(s) skipped:"},
    });
}

TEST(L10n, EnglishTextsOfEveryGroup) {
    const std::array<std::uint16_t, 2> registers{0x00D7, 0x0001};
    expectAll({
        {L10n::appName(en), "Tessarin"},
        {L10n::Header::startHelp(en), "Start reading (⌘R)"},
        {L10n::Header::frameSettingsHelp(en),
         "Protocol, response timeout, combining requests and write method"},
        {L10n::TCP::portInvalid(en), "Invalid port (1–65535)"},
        {L10n::TCP::framingHelp(en),
         "Modbus TCP: messages with an MBAP header, the standard. RTU over TCP: RTU frames with CRC, as "
         "Ethernet "
         "and WiFi to RS-485 converters pass them on in transparent mode."},
        {L10n::Settings::milliseconds(100, en), "100 ms"},
        {L10n::Settings::writeSingle(en), "FC05/06 for one value"},
        {L10n::State::running(en), "Reading"},
        {L10n::Notice::connectionProblem("No response from the device.", en),
         "No response from the device. The app tries again every few seconds."},
        {L10n::Notice::writeFailed("Setpoint", "Illegal data value (03)", en),
         "Writing Setpoint failed: Illegal data value (03)."},
        {L10n::Notice::emptySteps(en),
         "Enter the IP address and port of your Modbus TCP device at the top, enter the datapoints in the "
         "table "
         "(unit, table, address and type), and click Start (⌘R)."},
        {L10n::Footer::statistics(1, 2, 3, 4, 5, en),
         "Requests 1 · Responses 2 · No response 3 · Exceptions 4 · Invalid 5"},
        {L10n::Footer::save(en), "Save…"},
        {L10n::Menu::importCSV(en), "Import Datapoints (CSV)…"},
        {L10n::Table::unitID(en), "Unit"},
        {L10n::Table::unit(en), "Unit"},
        {L10n::Table::addHelp(en), "Add a datapoint at the next free address (⇧⌘D)"},
        {L10n::Table::addressHelp("40001", en),
         "Protocol address, starting at 0. In Modicon notation: 40001."},
        {L10n::Table::scaleHelp(en),
         "Value = raw register value × scale. For example 0.1 when the device sends 215 for 21.5."},
        {L10n::Table::valueInvalid(DataType::int16, en), "This value does not fit in Int16."},
        {L10n::Table::rawHelp(registers, en), "Raw registers: 00D7 0001"},
        {L10n::Table::updatedHelp("14:03:07", en), "Last read at 14:03:07"},
        {L10n::Table::ok(12, en), "OK · 12 ms"},
        {L10n::Table::newName("HR", 12, en), "HR 12"},
        {L10n::Table::tableName(RegisterTable::discreteInput, en), "Discrete input"},
        {L10n::Table::tableName(RegisterTable::holdingRegister, en), "Holding register"},
        {L10n::Table::dataTypeName(DataType::bool_, en), "Bit"},
        {L10n::Table::dataTypeName(DataType::float32, en), "Float32"},
        {L10n::Table::formatName(DisplayFormat::hex, en), "Hex"},
        {L10n::Polls::newName(3, en), "Poll 3"},
        {L10n::Polls::copyName("Meter", en), "Meter (copy)"},
        {L10n::Polls::removeTitle(en), "Remove poll?"},
        {L10n::Write::title("Setpoint", en), "Write Setpoint"},
        {L10n::Write::off(en), "Off (0)"},
        {L10n::Pane::exportHistory(en), "Export History (CSV)…"},
        {L10n::Chart::window(en), "Period"},
        {L10n::Log::connecting("192.168.1.20:502", en), "Connecting to 192.168.1.20:502…"},
        {L10n::Log::disconnected(en), "Connection lost; reconnecting…"},
        {L10n::Log::unit(255, en), "Unit 255"},
        {L10n::Log::unitFunction(1, 3, en), "Unit 1 · FC 03"},
        {L10n::Log::writeFailed("HR 12", en), "Writing HR 12 failed"},
        {L10n::Import::question(en), "Do you want to add them to the current list, or replace the list?"},
        {L10n::Project::dontSave(en), "Don't Save"},
        {L10n::Errors::importNothing("", en),
         "No datapoints found in this file. The first line must hold column names, with at least Table and "
         "Address. "},
        {L10n::Errors::fileOpenFailed("plant.json", en), "Cannot read plant.json. Is it a file of this app?"},
        {L10n::Errors::resolveFailed("plc.local", en),
         "Cannot find 'plc.local'. Check the IP address or name."},
        {L10n::Errors::connectFailed("fe80::1", 502, "Connection refused", en),
         "Connecting to fe80::1:502 failed: Connection refused."},
        {L10n::Errors::connectTimeout("10.0.0.9", 1502, en),
         "10.0.0.9:1502 does not answer. Is the device on and is the address right?"},
        {L10n::Errors::invalidResponse(en), "The response is not valid Modbus TCP."},
        {L10n::Help::windowTitle(en), "Tessarin Help"},
        {L10n::Example::runtime(en), "Run time"},
    });
}

TEST(L10n, EnglishFailureTexts) {
    struct Row {
        PollFailure failure;
        std::string_view text;
        std::string_view shortText;
    };
    const std::vector<Row> rows{
        {PollFailure::unexpectedUnit(17), "response from unit 17", "Invalid response"},
        {PollFailure::unexpectedFunction(4), "response with function code 04", "Invalid response"},
        {PollFailure::exception(2), "Illegal data address (02)", "Exception 02"},
        {PollFailure::exception(0x0C), "Exception (0C)", "Exception 0C"},
        {PollFailure::timeout(), "no response within 1000 ms", "No response"},
        {PollFailure::crcMismatch(), "CRC error in the response", "CRC error"},
        {PollFailure::malformed(), "response with the wrong length", "Invalid response"},
        {PollFailure::noConnection(), "no connection to the device", "No connection"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(L10n::Log::failure(row.failure, 1000, en), row.text);
        EXPECT_EQ(L10n::Log::shortFailure(row.failure, en), row.shortText);
    }
}

TEST(L10n, EnglishFunctionAndCsvProblemTexts) {
    const std::vector<std::pair<std::uint8_t, std::string_view>> functions{
        {1, "Read coils"},
        {2, "Read discrete inputs"},
        {3, "Read holding registers"},
        {4, "Read input registers"},
        {5, "Write single coil"},
        {6, "Write single register"},
        {8, "Diagnostics"},
        {15, "Write multiple coils"},
        {16, "Write multiple registers"},
        {22, "Mask write register"},
        {23, "Read/write multiple registers"},
        {43, "Device identification"},
        {7, "Function"},
        {0x83, "Function"},
    };
    for (const auto& [code, text] : functions) {
        SCOPED_TRACE(code);
        EXPECT_EQ(L10n::Modbus::functionName(code, en), text);
    }
    EXPECT_EQ(L10n::Modbus::functionName(FunctionCode::maskWriteRegister, en), "Mask write register");

    expectAll({
        {L10n::Errors::csvProblem({ProblemKind::invalidTable, "XX"}, en),
         "unknown table 'XX' (use CO, DI, HR or IR)"},
        {L10n::Errors::csvProblem({ProblemKind::invalidAddress, "-1"}, en),
         "invalid address '-1' (0 to 65535)"},
        {L10n::Errors::csvProblem({ProblemKind::invalidUnit, "255"}, en), "invalid unit ID '255' (1 to 247)"},
        {L10n::Errors::csvProblem({ProblemKind::invalidDataType, "u 16"}, en), "unknown data type 'u 16'"},
        {L10n::Errors::csvProblem({ProblemKind::invalidNumber, "1.000,5"}, en), "invalid number '1.000,5'"},
        {L10n::Errors::csvProblem({ProblemKind::missingColumns, ""}, en),
         "the columns Table and Address are missing"},
        {L10n::Errors::importIssue({3, {ProblemKind::invalidAddress, "65536"}}, en),
         "Line 3: invalid address '65536' (0 to 65535)"},
        {L10n::Errors::importIssue({1, {ProblemKind::missingColumns, ""}}, en),
         "Line 1: the columns Table and Address are missing"},
    });
}

TEST(L10n, TranslationsGivenWithTheTable) {
    const std::vector<std::pair<std::function<std::string(Language)>, std::array<std::string_view, 5>>> rows{
        {[](Language l) { return L10n::State::connecting(l); },
         {"Connecting…", "Verbinden…", "Verbinden…", "Connexion…", "Conectando…"}},
        {[](Language l) { return L10n::Pane::clearHistory(l); },
         {"Clear History", "Wis historie", "Verlauf löschen", "Effacer l'historique", "Borrar historial"}},
        {[](Language l) { return L10n::Write::title("Setpoint", l).substr(0, 8); },
         {"Write Se", "Setpoint", "Setpoint", "Écrire ", "Escribir"}},
    };
    for (const auto& [text, expected] : rows) {
        for (const Language language : allLanguages) {
            SCOPED_TRACE(fmt::format("{} in {}", expected[0], rawValue(language)));
            EXPECT_EQ(text(language), expected[static_cast<std::size_t>(language)]);
        }
    }
}

TEST(L10n, FrenchCountsZeroAsSingular) {
    EXPECT_EQ(L10n::Import::title(0, Language::fr), "0 point de données trouvé");
    EXPECT_EQ(L10n::Import::title(2, Language::fr), "2 points de données trouvés");
    EXPECT_EQ(L10n::Import::title(0, Language::de), "0 Datenpunkte gefunden");
}

TEST(L10n, KeysWithoutAnExplicitLanguageUseTheCurrentOne) {
    EXPECT_EQ(L10n::State::connecting(), L10n::State::connecting(currentLanguage()));
    EXPECT_EQ(L10n::Log::failure(PollFailure::timeout(), 500),
              L10n::Log::failure(PollFailure::timeout(), 500, currentLanguage()));
}

}  // namespace
}  // namespace tessarin
