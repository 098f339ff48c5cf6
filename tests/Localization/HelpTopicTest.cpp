#include "Localization/HelpTopic.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessarin {
namespace {

HelpTopic everyKind() {
    return {"id-never-searched",
            "Title",
            "symbol.never.searched",
            {
                HelpBlock::paragraph("para"),
                HelpBlock::heading("head"),
                HelpBlock::bullets({"b1", "b2"}),
                HelpBlock::table({{"k1", "v1"}, {"k2", "v2"}}),
                HelpBlock::tip("tip"),
                HelpBlock::screenshot("image-name", "caption"),
            }};
}

TEST(HelpTopic, SearchableTextIsTitleThenEveryVisibleTextInOrder) {
    // Ids, symbols and image names are not shown, so a search must not find them.
    EXPECT_EQ(everyKind().searchableText(), "Title para head b1 b2 k1 v1 k2 v2 tip caption");
}

TEST(HelpTopic, SearchableTextDropsMarkdownAndEmptyBlocks) {
    const HelpTopic topic{"id",
                          "Title",
                          "symbol",
                          {HelpBlock::paragraph("the **Value** column"), HelpBlock::bullets({}),
                           HelpBlock::table({}), HelpBlock::tip("*RTU* at `502`")}};
    EXPECT_EQ(topic.searchableText(), "Title the Value column RTU at 502");
    EXPECT_EQ((HelpTopic{"id", "Title", "symbol", {}}).searchableText(), "Title");
}

TEST(HelpTopic, HashFollowsEveryField) {
    const HelpTopic base = everyKind();
    const std::hash<HelpTopic> hash;
    EXPECT_EQ(hash(base), hash(everyKind()));

    std::vector<HelpTopic> changed(6, base);
    changed[0].id = "other";
    changed[1].title = "Other";
    changed[2].symbol = "other";
    changed[3].blocks.pop_back();
    changed[4].blocks[5] = HelpBlock::screenshot("other-image", "caption");
    changed[5].blocks[0] = HelpBlock::tip("para");
    for (std::size_t i = 0; i < changed.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(changed[i], base);
        EXPECT_NE(hash(changed[i]), hash(base));
    }
}

TEST(HelpBlock, EqualityTellsKindsWithTheSameTextApart) {
    EXPECT_EQ(HelpBlock::paragraph("x"), HelpBlock::paragraph("x"));
    EXPECT_NE(HelpBlock::paragraph("x"), HelpBlock::tip("x"));
    EXPECT_NE(HelpBlock::paragraph("x"), HelpBlock::heading("x"));
    EXPECT_NE(HelpBlock::screenshot("a", "x"), HelpBlock::screenshot("b", "x"));
    EXPECT_NE(HelpBlock::table({{"k", "v"}}), HelpBlock::table({{"v", "k"}}));
}

}  // namespace
}  // namespace tessarin
