#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tessarin {

// One line of a two-column help table: a field, code or shortcut and what it means. Both
// cells may carry inline Markdown.
struct HelpRow {
    std::string key;
    std::string value;

    bool operator==(const HelpRow&) const = default;
};

// Folds one more hash into a running one (the boost recipe); shared by the help types.
constexpr void combineHash(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace tessarin

template <>
struct std::hash<tessarin::HelpRow> {
    std::size_t operator()(const tessarin::HelpRow& row) const noexcept {
        std::size_t seed = std::hash<std::string>{}(row.key);
        tessarin::combineHash(seed, std::hash<std::string>{}(row.value));
        return seed;
    }
};
