#pragma once

#include <string>

namespace tessarin {

// One line of a two-column help table: a field, code or shortcut and what it means. Both
// cells may carry inline Markdown.
struct HelpRow {
    std::string key;
    std::string value;

    bool operator==(const HelpRow&) const = default;
};

}  // namespace tessarin
