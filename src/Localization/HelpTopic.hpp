#pragma once

#include "Localization/HelpBlock.hpp"

#include <string>
#include <vector>

namespace tessarin {

// One page of the built-in help. The id is stable across languages and releases: the help
// window keeps its selection by it. The symbol names the icon shown beside the title.
struct HelpTopic {
    std::string id;
    std::string title;
    std::string symbol;
    std::vector<HelpBlock> blocks;

    // The title and every text a reader sees in the blocks, joined with single spaces; what the
    // help search matches against (case folding is the caller's, as it depends on the locale).
    // Inline Markdown markers are left out: the reader searches for what the window shows, and
    // "value column" must find "the **Value** column".
    [[nodiscard]] std::string searchableText() const;

    bool operator==(const HelpTopic&) const = default;
};

}  // namespace tessarin

template <>
struct std::hash<tessarin::HelpTopic> {
    std::size_t operator()(const tessarin::HelpTopic& topic) const noexcept;
};
