#pragma once

#include "Localization/HelpTopic.hpp"

#include <string>
#include <string_view>

namespace tessarin::test {

// Every text of a topic as written, Markdown markers included.
inline std::string writtenText(const HelpTopic& topic) {
    std::string text = topic.title;
    for (const HelpBlock& block : topic.blocks) {
        for (std::string_view piece : block.texts()) text.append(" ").append(piece);
    }
    return text;
}

}  // namespace tessarin::test
