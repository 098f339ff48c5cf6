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

std::vector<std::string> tableKeys(Language language, std::string_view id, std::size_t which) {
    std::vector<std::string> found;
    std::size_t seen = 0;
    for (const HelpBlock& block : topicById(language, id).blocks) {
        if (const auto* table = std::get_if<HelpBlock::Table>(&block.content); table && seen++ == which) {
            for (const HelpRow& row : table->rows) found.push_back(row.key);
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
    using namespace L10n;
    const auto table = [](RegisterTable which) {
        return [which](Language l) { return Table::tableName(which, l); };
    };
    const std::vector<std::pair<std::string_view, std::vector<Label>>> cases{
        {"start", {&Header::start, &Table::value, &Table::status, &Project::menu}},
        {"polls", {&Polls::active}},
        {"datapoints",
         {table(RegisterTable::coil), table(RegisterTable::discreteInput),
          table(RegisterTable::holdingRegister), table(RegisterTable::inputRegister)}},
        {"writing",
         {&Table::value, &Write::button, [](Language l) { return withoutValueSuffix(Write::on(l)); },
          [](Language l) { return withoutValueSuffix(Write::off(l)); }, &Settings::writeMultiple}},
        {"chart", {&Table::plot, &Pane::log, &Pane::chart, &Pane::exportHistory}},
        {"csv", {[](Language l) { return Table::csv(l) + " ▸ " + withoutCsvSuffix(Menu::exportCSV(l)); }}},
        {"rtu-over-tcp",
         {&TCP::rtuOverTCP, [](Language l) { return Log::shortFailure(PollFailure::crcMismatch(), l); }}},
        {"log", {&Footer::showLog}},
    };
    const Language language = GetParam();
    for (const auto& [topic, labels] : cases) {
        const std::string text = writtenText(topicById(language, topic));
        for (const Label& label : labels) {
            const std::string bold = "**" + label(language) + "**";
            SCOPED_TRACE(::testing::Message() << topic << ": " << bold);
            EXPECT_NE(text.find(bold), std::string::npos);
        }
    }
}

// The datapoint fields are explained under the column titles, the log's statuses under the
// texts of the status column, and the protocol topic is titled with the protocol's name.
TEST_P(HelpLabels, KeysAndTitlesAreTheScreenTexts) {
    using namespace L10n;
    const Language l = GetParam();
    EXPECT_EQ(tableKeys(l, "datapoints", 0),
              (std::vector{Table::unitID(l), Table::table(l), Table::address(l), Table::dataType(l),
                           Table::wordOrder(l), Table::scale(l), Table::format(l)}));
    EXPECT_EQ(tableKeys(l, "log", 0),
              (std::vector{Table::ok(24, l), Log::shortFailure(PollFailure::timeout(), l),
                           Log::shortFailure(PollFailure::exception(0x02), l),
                           Log::shortFailure(PollFailure::noConnection(), l)}));
    EXPECT_EQ(topicById(l, "rtu-over-tcp").title, TCP::rtuOverTCP(l));
}

}  // namespace
}  // namespace tessarin
