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

TEST(HelpTopic, EqualTopicsHashAlikeAndBlockKindsAndPlacesCount) {
    const HelpTopic base = everyKind();
    const std::hash<HelpTopic> hash;
    EXPECT_EQ(hash(base), hash(everyKind()));
    std::vector<HelpTopic> changed(2, base);
    changed[0].blocks[0] = HelpBlock::tip("para");
    changed[1].blocks[3] = HelpBlock::table({{"v1", "k1"}, {"k2", "v2"}});
    for (const HelpTopic& topic : changed) EXPECT_NE(hash(topic), hash(base));
}

}  // namespace
}  // namespace tessarin
