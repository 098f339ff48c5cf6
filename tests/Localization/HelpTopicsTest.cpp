#include "Localization/HelpTopics.hpp"
#include "Localization/L10n.hpp"

#include "support/HelpWrittenText.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Every translation is held to the English topics' shape and to the house typography, and
// every language's help to the labels its string table shows on screen: when one side is
// reworded and the other is not, the help sends the reader looking for a label that is not there.
namespace tessarin {
namespace {

using test::writtenText;

using L10n::Help::topics;

std::size_t occurrences(std::string_view text, std::string_view piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, at + piece.size())) {
        ++count;
    }
    return count;
}

// "1-247" where "1–247" belongs; "4.6e-41" and "RS-485" are not ranges.
bool hasHyphenRange(std::string_view text) {
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '-' && std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
            return true;
        }
    }
    return false;
}

const HelpTopic& topicById(Language language, std::string_view id) {
    const std::vector<HelpTopic>& all = topics(language);
    const auto found = std::ranges::find(all, id, &HelpTopic::id);
    EXPECT_NE(found, all.end()) << id;
    return found == all.end() ? all.front() : *found;
}

// The keys of a topic's which-th table.
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

class HelpTopicsInEveryLanguage : public ::testing::TestWithParam<Language> {};

INSTANTIATE_TEST_SUITE_P(Languages, HelpTopicsInEveryLanguage, ::testing::ValuesIn(allLanguages),
                         [](const auto& instance) { return std::string(rawValue(instance.param)); });

// A translation that drops a bullet, a table row or a screenshot, swaps two blocks, or
// translates a key that is typed or read on the device (a shortcut, a word order, an
// exception code, a CSV column title) is caught here against the English.
TEST_P(HelpTopicsInEveryLanguage, MirrorsTheEnglishBlockByBlock) {
    const std::vector<HelpTopic>& english = topics(Language::en);
    const std::vector<HelpTopic>& translated = topics(GetParam());
    ASSERT_EQ(translated.size(), english.size());
    for (std::size_t t = 0; t < english.size(); ++t) {
        SCOPED_TRACE(english[t].id);
        EXPECT_EQ(translated[t].id, english[t].id);
        EXPECT_EQ(translated[t].symbol, english[t].symbol);
        ASSERT_EQ(translated[t].blocks.size(), english[t].blocks.size());
        for (std::size_t b = 0; b < english[t].blocks.size(); ++b) {
            SCOPED_TRACE(b);
            const HelpBlock& source = english[t].blocks[b];
            const HelpBlock& block = translated[t].blocks[b];
            ASSERT_EQ(name(block.kind()), name(source.kind()));
            EXPECT_EQ(block.texts().size(), source.texts().size());
            if (const auto* shot = std::get_if<HelpBlock::Screenshot>(&block.content)) {
                EXPECT_EQ(shot->name, std::get<HelpBlock::Screenshot>(source.content).name);
            }
        }
    }
    const std::vector<std::pair<std::string_view, std::size_t>> keptKeys{
        {"shortcuts", 0}, {"csv", 0}, {"datapoints", 1}, {"log", 1}};
    for (const auto& [id, which] : keptKeys) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(tableKeys(Language::en, id, which).empty());
        EXPECT_EQ(tableKeys(GetParam(), id, which), tableKeys(Language::en, id, which));
    }
}

// The help window shows unbalanced Markdown literally, so a lost marker would show stray
// asterisks or backticks to every reader of that language.
TEST_P(HelpTopicsInEveryLanguage, EveryTextIsFilledTidyAndBalanced) {
    for (const HelpTopic& topic : topics(GetParam())) {
        SCOPED_TRACE(topic.id);
        EXPECT_FALSE(topic.title.empty());
        EXPECT_FALSE(topic.blocks.empty());
        for (const HelpBlock& block : topic.blocks) {
            EXPECT_FALSE(block.texts().empty()) << name(block.kind());
            for (std::string_view text : block.texts()) {
                SCOPED_TRACE(text);
                ASSERT_FALSE(text.empty());
                EXPECT_NE(text.front(), ' ');
                EXPECT_NE(text.back(), ' ');
                EXPECT_EQ(text.find("  "), std::string_view::npos);
                EXPECT_EQ(text.find('\n'), std::string_view::npos);
                EXPECT_EQ(occurrences(text, "`") % 2, 0U);
                const std::size_t bold = occurrences(text, "**");
                EXPECT_EQ(bold % 2, 0U);
                EXPECT_EQ((occurrences(text, "*") - 2 * bold) % 2, 0U);
            }
        }
        const std::string text = topic.searchableText();
        EXPECT_EQ(text.find("..."), std::string::npos) << "an ellipsis is one character";
        EXPECT_FALSE(hasHyphenRange(text)) << "ranges take an en dash";
        EXPECT_EQ(text.find("Cmd"), std::string::npos);
        EXPECT_EQ(text.find("Ctrl"), std::string::npos);
    }
}

// Every shortcut a topic mentions in English is mentioned in the translation, as often, so
// that no translation loses or garbles one.
TEST_P(HelpTopicsInEveryLanguage, MentionsTheSameShortcutsAndSymbolsAsEnglish) {
    const std::vector<std::string_view> marks{"⌘R", "⌘T", "⌘L", "⇧⌘D", "⌘⌫", "⌘?",   "×",
                                              "–",  "←",  "✎",  "✕",   "▸",  "`502`"};
    for (std::size_t t = 0; t < topics(Language::en).size(); ++t) {
        const HelpTopic& english = topics(Language::en)[t];
        const HelpTopic& translated = topics(GetParam())[t];
        SCOPED_TRACE(english.id);
        for (std::string_view mark : marks) {
            EXPECT_EQ(occurrences(writtenText(translated), mark), occurrences(writtenText(english), mark))
                << mark;
        }
    }
}

TEST_P(HelpTopicsInEveryLanguage, BoldLabelsAreTheScreenLabels) {
    using namespace L10n;
    const auto table = [](RegisterTable which) {
        return [which](Language l) { return Table::tableName(which, l); };
    };
    using Label = std::function<std::string(Language)>;
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
TEST_P(HelpTopicsInEveryLanguage, KeysAndTitlesAreTheScreenTexts) {
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
