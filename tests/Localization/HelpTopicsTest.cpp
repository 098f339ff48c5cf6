#include "Localization/HelpTopics.hpp"

#include "support/HelpWrittenText.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {
namespace {

using test::writtenText;

using L10n::Help::topics;

const HelpTopic& topicById(Language language, std::string_view id) {
    const std::vector<HelpTopic>& all = topics(language);
    const auto found = std::ranges::find(all, id, &HelpTopic::id);
    if (found == all.end()) {
        ADD_FAILURE() << "no topic " << id;
        static const HelpTopic none;
        return none;
    }
    return *found;
}

std::vector<const HelpBlock*> blocksOfKind(const HelpTopic& topic, HelpBlockKind kind) {
    std::vector<const HelpBlock*> found;
    for (const HelpBlock& block : topic.blocks) {
        if (block.kind() == kind) found.push_back(&block);
    }
    return found;
}

const std::vector<HelpRow>& rows(const HelpBlock& block) {
    return std::get<HelpBlock::Table>(block.content).rows;
}

std::vector<std::string> keys(const HelpBlock& block) {
    std::vector<std::string> found;
    for (const HelpRow& row : rows(block)) found.push_back(row.key);
    return found;
}

std::string lowercased(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

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

class HelpTopicsInEveryLanguage : public ::testing::TestWithParam<Language> {};

INSTANTIATE_TEST_SUITE_P(Languages, HelpTopicsInEveryLanguage, ::testing::ValuesIn(allLanguages),
                         [](const auto& instance) { return std::string(rawValue(instance.param)); });

TEST_P(HelpTopicsInEveryLanguage, HasTheTenTopicsInOrderWithTheirSymbols) {
    const std::vector<std::pair<std::string_view, std::string_view>> expected{
        {"start", "play.circle"},
        {"polls", "square.stack"},
        {"datapoints", "tablecells"},
        {"writing", "pencil"},
        {"chart", "chart.xyaxis.line"},
        {"csv", "doc.text"},
        {"rtu-over-tcp", "arrow.left.arrow.right"},
        {"log", "text.alignleft"},
        {"troubleshooting", "wrench.and.screwdriver"},
        {"shortcuts", "keyboard"},
    };
    const std::vector<HelpTopic>& all = topics(GetParam());
    ASSERT_EQ(all.size(), expected.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].id, expected[i].first);
        EXPECT_EQ(all[i].symbol, expected[i].second) << all[i].id;
    }
}

// A translation that drops a bullet, a table row or a screenshot, or swaps two blocks, is
// caught here against the English shape.
TEST_P(HelpTopicsInEveryLanguage, MirrorsTheEnglishBlockByBlock) {
    const std::vector<HelpTopic>& english = topics(Language::en);
    const std::vector<HelpTopic>& translated = topics(GetParam());
    ASSERT_EQ(translated.size(), english.size());
    for (std::size_t t = 0; t < english.size(); ++t) {
        SCOPED_TRACE(english[t].id);
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
}

// Shortcuts, codes, word orders and the CSV file's own column titles are what the user types
// or reads on the device and in files, not words of a language.
TEST_P(HelpTopicsInEveryLanguage, KeepsLanguageIndependentTableKeys) {
    const std::vector<std::string> shortcuts{"⌘R", "⌘T", "⇧⌘D", "⌘⌫", "⇧⌘I / ⇧⌘E", "⌘N / ⌘O / ⇧⌘S",
                                             "⌘L", "⌘F", "⌘S",  "⌘K", "⌘?"};
    const std::vector<std::string> csvColumns{"Name",
                                              "Unit ID",
                                              "Table",
                                              "Address",
                                              "Data type",
                                              "Word order",
                                              "Scale, Unit, Format, Value, Description"};
    const Language language = GetParam();

    EXPECT_EQ(keys(*blocksOfKind(topicById(language, "shortcuts"), HelpBlockKind::table).at(0)), shortcuts);
    EXPECT_EQ(keys(*blocksOfKind(topicById(language, "csv"), HelpBlockKind::table).at(0)), csvColumns);
    EXPECT_EQ(keys(*blocksOfKind(topicById(language, "datapoints"), HelpBlockKind::table).at(1)),
              (std::vector<std::string>{"ABCD", "CDAB", "BADC", "DCBA"}));
    EXPECT_EQ(keys(*blocksOfKind(topicById(language, "log"), HelpBlockKind::table).at(1)),
              (std::vector<std::string>{"01", "02", "03", "04", "06"}));
    EXPECT_EQ(rows(*blocksOfKind(topicById(language, "log"), HelpBlockKind::table).at(0)).at(0).key,
              "OK · 24 ms");
}

TEST_P(HelpTopicsInEveryLanguage, EveryTextIsFilledAndTidy) {
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
            }
        }
    }
}

// The help window shows unbalanced Markdown literally, so a lost marker would show stray
// asterisks or backticks to every reader of that language.
TEST_P(HelpTopicsInEveryLanguage, MarkdownMarkersArePaired) {
    for (const HelpTopic& topic : topics(GetParam())) {
        SCOPED_TRACE(topic.id);
        for (const HelpBlock& block : topic.blocks) {
            for (std::string_view text : block.texts()) {
                SCOPED_TRACE(text);
                EXPECT_EQ(occurrences(text, "`") % 2, 0U);
                const std::size_t bold = occurrences(text, "**");
                EXPECT_EQ(bold % 2, 0U);
                EXPECT_EQ((occurrences(text, "*") - 2 * bold) % 2, 0U);
            }
        }
    }
}

TEST_P(HelpTopicsInEveryLanguage, UsesTheTypographicCharacters) {
    for (const HelpTopic& topic : topics(GetParam())) {
        SCOPED_TRACE(topic.id);
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

TEST_P(HelpTopicsInEveryLanguage, StartsWithTheProductName) {
    const HelpTopic& start = topicById(GetParam(), "start");
    EXPECT_TRUE(std::get<HelpBlock::Paragraph>(start.blocks.at(0).content).text.starts_with("Tessarin "));
}

TEST_P(HelpTopicsInEveryLanguage, TopicsAreBuiltOnceAndShared) {
    EXPECT_EQ(&topics(GetParam()), &topics(GetParam()));
}

TEST(HelpTopicsInEnglish, TitlesHeadingsAndCaptionsAreExact) {
    std::vector<std::string> titles;
    for (const HelpTopic& topic : topics(Language::en)) titles.push_back(topic.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Getting started", "Polls", "Datapoints", "Writing values",
                                                "Chart and export", "Excel and CSV", "RTU over TCP",
                                                "Status and log", "Troubleshooting", "Keyboard shortcuts"}));

    std::vector<std::string> headings;
    std::vector<std::string> captions;
    for (const HelpTopic& topic : topics(Language::en)) {
        for (const HelpBlock* block : blocksOfKind(topic, HelpBlockKind::heading)) {
            headings.push_back(std::get<HelpBlock::Heading>(block->content).text);
        }
        for (const HelpBlock* block : blocksOfKind(topic, HelpBlockKind::screenshot)) {
            const auto& shot = std::get<HelpBlock::Screenshot>(block->content);
            captions.push_back(shot.name + ": " + shot.caption);
        }
    }
    EXPECT_EQ(headings,
              (std::vector<std::string>{"In four steps", "Word order", "Differences from Modbus TCP",
                                        "Exception codes", "No response", "Odd values"}));
    EXPECT_EQ(
        captions,
        (std::vector<std::string>{
            "overview: A poll with live values and the status per datapoint, with the communication below.",
            "chart: The temperature over the last minutes."}));
}

TEST(HelpTopicsInEnglish, TablesAreExact) {
    struct Case {
        std::string_view topic;
        std::size_t table;
        std::vector<HelpRow> rows;
    };
    const std::vector<Case> cases{
        {"datapoints",
         0,
         {{"Unit", "the unit ID of the device (1–247; with Modbus TCP often 1 or 255)"},
          {"Table",
           "**Coil** (bit, read and write), **Discrete input** (bit, read only), **Holding register** (16 "
           "bit, "
           "read and write) or **Input register** (16 bit, read only)"},
          {"Address",
           "the protocol address, starting at `0`. Manuals often use Modicon notation: holding register "
           "`40001` "
           "is address `0`, input register `30010` is address `9`. Hover over the address to see the Modicon "
           "notation."},
          {"Type",
           "`UInt16`/`Int16` use one register, `UInt32`/`Int32`/`Float32` two and the 64-bit types four "
           "consecutive registers"},
          {"Order", "the byte order of values that span several registers, see below"},
          {"Scale", "value = raw value × scale; with `0.1`, `215` becomes `21.5`"},
          {"Display", "decimal, hex (`0x00FF`) or binary; hex and binary show the raw register bits"}}},
        {"datapoints",
         1,
         {{"ABCD", "high word first: the Modbus standard"},
          {"CDAB", "words swapped, common in PLCs and energy meters"},
          {"BADC", "bytes swapped within each word"},
          {"DCBA", "fully reversed (little-endian)"}}},
        {"csv",
         0,
         {{"Name", "name of the datapoint"},
          {"Unit ID", "unit ID, 1 if empty"},
          {"Table", "`CO`, `DI`, `HR` or `IR` (also `coil`, `holding`, `4x` …)"},
          {"Address", "address from 0"},
          {"Data type", "`uint16`, `int16`, `float32` … (also `float`, `real`, `dint`)"},
          {"Word order", "`ABCD`, `CDAB`, `BADC` or `DCBA`"},
          {"Scale, Unit, Format, Value, Description", "optional"}}},
        {"log",
         0,
         {{"OK · 24 ms", "read, with the response time"},
          {"No response", "no answer within the response timeout"},
          {"Exception 02", "the device refuses the request, see below"},
          {"No connection", "the connection to the device is gone; the app reconnects by itself"}}},
        {"log",
         1,
         {{"01", "the device does not support this function code"},
          {"02", "this address does not exist (note: addresses start at 0)"},
          {"03", "invalid value or quantity"},
          {"04", "failure in the device"},
          {"06", "device busy, try again later"}}},
        {"shortcuts",
         0,
         {{"⌘R", "Start / stop reading"},
          {"⌘T", "New poll"},
          {"⇧⌘D", "Add datapoint"},
          {"⌘⌫", "Delete selected datapoints"},
          {"⇧⌘I / ⇧⌘E", "Import / export datapoints (CSV)"},
          {"⌘N / ⌘O / ⇧⌘S", "New project / open / save as"},
          {"⌘L", "Show or hide the log"},
          {"⌘F", "Find in the log"},
          {"⌘S", "Save log"},
          {"⌘K", "Clear log"},
          {"⌘?", "Open this help"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.topic << " table " << c.table);
        const auto tables = blocksOfKind(topicById(Language::en, c.topic), HelpBlockKind::table);
        ASSERT_LT(c.table, tables.size());
        EXPECT_EQ(rows(*tables[c.table]), c.rows);
    }
}

// What the help window does with the search field: a case-insensitive substring match.
std::vector<std::string> search(Language language, const std::string& query) {
    std::vector<std::string> found;
    for (const HelpTopic& topic : topics(language)) {
        if (lowercased(topic.searchableText()).find(lowercased(query)) != std::string::npos) {
            found.push_back(topic.id);
        }
    }
    return found;
}

TEST(HelpTopicsInEnglish, SearchFindsWhatTheReaderSees) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"save log", "shortcuts"}, {"crc error", "rtu-over-tcp"},
        {"value column", "start"},  // across the bold markers of "the **Value** column"
        {"start (⌘r)", "start"},   {"address 9", "datapoints"},  // across the code markers of "address `9`"
    };
    for (const auto& [query, topic] : cases) {
        SCOPED_TRACE(query);
        const std::vector<std::string> found = search(Language::en, query);
        EXPECT_NE(std::ranges::find(found, topic), found.end());
    }
}

TEST(HelpTopicsInEnglish, SearchIgnoresIdsSymbolsAndImageNames) {
    for (const std::string query : {"rtu-over-tcp", "tablecells", "chart.xyaxis", "overview", "**"}) {
        SCOPED_TRACE(query);
        EXPECT_TRUE(search(Language::en, query).empty());
    }
}

TEST_P(HelpTopicsInEveryLanguage, SearchForCrcListsTheRtuTopic) {
    const std::vector<std::string> found = search(GetParam(), "crc");
    EXPECT_NE(std::ranges::find(found, "rtu-over-tcp"), found.end());
}

}  // namespace
}  // namespace tessarin
