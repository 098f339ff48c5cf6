#include "Localization/HelpTopics.hpp"
#include "Localization/L10n.hpp"

#include "support/HelpWrittenText.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The help names buttons, columns, table kinds and status texts that the string table shows
// on screen. When one side is reworded and the other is not, the help sends the reader
// looking for a label that does not exist; these tests tie the two together per language.
namespace tessarin {
namespace {

using test::writtenText;

using Label = std::function<std::string(Language)>;

const HelpTopic& topicById(Language language, std::string_view id) {
    const std::vector<HelpTopic>& all = L10n::Help::topics(language);
    const auto found = std::ranges::find(all, id, &HelpTopic::id);
    EXPECT_NE(found, all.end()) << id;
    return found == all.end() ? all.front() : *found;
}

std::vector<HelpRow> tableRows(Language language, std::string_view id, std::size_t which) {
    std::vector<HelpRow> found;
    std::size_t seen = 0;
    for (const HelpBlock& block : topicById(language, id).blocks) {
        if (const auto* table = std::get_if<HelpBlock::Table>(&block.content); table && seen++ == which) {
            found = table->rows;
        }
    }
    return found;
}

// "On (1)" → "On": the help names the button without the value it writes.
std::string withoutValueSuffix(std::string text) {
    if (const auto at = text.rfind(" ("); at != std::string::npos) text.erase(at);
    return text;
}

// "Export Datapoints (CSV)…" → "Export Datapoints": the item as it sits under the CSV button.
std::string withoutCsvSuffix(std::string text) {
    const std::string suffix = " (CSV)…";
    if (text.ends_with(suffix)) text.erase(text.size() - suffix.size());
    return text;
}

class HelpLabels : public ::testing::TestWithParam<Language> {};

INSTANTIATE_TEST_SUITE_P(Languages, HelpLabels, ::testing::ValuesIn(allLanguages),
                         [](const auto& instance) { return std::string(rawValue(instance.param)); });

TEST_P(HelpLabels, BoldLabelsAreTheScreenLabels) {
    struct Case {
        std::string_view topic;
        Label label;
    };
    const auto table = [](RegisterTable which) {
        return [which](Language l) { return L10n::Table::tableName(which, l); };
    };
    const std::vector<Case> cases{
        {"start", [](Language l) { return L10n::Header::start(l); }},
        {"start", [](Language l) { return L10n::Table::value(l); }},
        {"start", [](Language l) { return L10n::Table::status(l); }},
        {"start", [](Language l) { return L10n::Project::menu(l); }},
        {"polls", [](Language l) { return L10n::Polls::active(l); }},
        {"datapoints", table(RegisterTable::coil)},
        {"datapoints", table(RegisterTable::discreteInput)},
        {"datapoints", table(RegisterTable::holdingRegister)},
        {"datapoints", table(RegisterTable::inputRegister)},
        {"writing", [](Language l) { return L10n::Table::value(l); }},
        {"writing", [](Language l) { return L10n::Write::button(l); }},
        {"writing", [](Language l) { return withoutValueSuffix(L10n::Write::on(l)); }},
        {"writing", [](Language l) { return withoutValueSuffix(L10n::Write::off(l)); }},
        {"writing", [](Language l) { return L10n::Settings::writeMultiple(l); }},
        {"chart", [](Language l) { return L10n::Table::plot(l); }},
        {"chart", [](Language l) { return L10n::Pane::log(l); }},
        {"chart", [](Language l) { return L10n::Pane::chart(l); }},
        {"chart", [](Language l) { return L10n::Pane::exportHistory(l); }},
        {"csv",
         [](Language l) { return L10n::Table::csv(l) + " ▸ " + withoutCsvSuffix(L10n::Menu::exportCSV(l)); }},
        {"rtu-over-tcp", [](Language l) { return L10n::TCP::rtuOverTCP(l); }},
        {"rtu-over-tcp", [](Language l) { return L10n::Log::shortFailure(PollFailure::crcMismatch(), l); }},
        {"log", [](Language l) { return L10n::Footer::showLog(l); }},
    };
    const Language language = GetParam();
    for (const Case& c : cases) {
        const std::string bold = "**" + c.label(language) + "**";
        SCOPED_TRACE(::testing::Message() << c.topic << ": " << bold);
        EXPECT_NE(writtenText(topicById(language, c.topic)).find(bold), std::string::npos);
    }
}

TEST_P(HelpLabels, DatapointFieldsAreTheColumnTitles) {
    const Language l = GetParam();
    const std::vector<std::string> columns{
        L10n::Table::unitID(l),    L10n::Table::table(l), L10n::Table::address(l), L10n::Table::dataType(l),
        L10n::Table::wordOrder(l), L10n::Table::scale(l), L10n::Table::format(l)};
    std::vector<std::string> keys;
    for (const HelpRow& row : tableRows(l, "datapoints", 0)) keys.push_back(row.key);
    EXPECT_EQ(keys, columns);
}

TEST_P(HelpLabels, StatusRowsAreTheStatusTexts) {
    const Language l = GetParam();
    const std::vector<std::string> statuses{
        L10n::Table::ok(24, l),
        L10n::Log::shortFailure(PollFailure::timeout(), l),
        L10n::Log::shortFailure(PollFailure::exception(0x02), l),
        L10n::Log::shortFailure(PollFailure::noConnection(), l),
    };
    std::vector<std::string> keys;
    for (const HelpRow& row : tableRows(l, "log", 0)) keys.push_back(row.key);
    EXPECT_EQ(keys, statuses);
}

TEST_P(HelpLabels, ProtocolTopicIsTitledWithTheProtocolName) {
    EXPECT_EQ(topicById(GetParam(), "rtu-over-tcp").title, L10n::TCP::rtuOverTCP(GetParam()));
}

}  // namespace
}  // namespace tessarin
