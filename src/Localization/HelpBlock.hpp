#pragma once

#include "Localization/HelpRow.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessarin {

// The kinds of help blocks, in the order of HelpBlock's alternatives.
enum class HelpBlockKind { paragraph, heading, bullets, table, tip, screenshot };

inline constexpr std::array<std::string_view, 6> helpBlockKindNames{"paragraph", "heading", "bullets",
                                                                    "table",     "tip",     "screenshot"};

[[nodiscard]] constexpr std::string_view name(HelpBlockKind kind) {
    return helpBlockKindNames[static_cast<std::size_t>(kind)];
}

// One typed piece of a help topic. Paragraphs, bullets, table cells and tips may carry inline
// Markdown (**bold**, *italic*, `code`); headings, screenshot names and captions are plain.
// A screenshot names its image; which file that is per language is the views' business.
struct HelpBlock {
    struct Paragraph {
        std::string text;
        bool operator==(const Paragraph&) const = default;
    };
    struct Heading {
        std::string text;
        bool operator==(const Heading&) const = default;
    };
    struct Bullets {
        std::vector<std::string> items;
        bool operator==(const Bullets&) const = default;
    };
    struct Table {
        std::vector<HelpRow> rows;
        bool operator==(const Table&) const = default;
    };
    struct Tip {
        std::string text;
        bool operator==(const Tip&) const = default;
    };
    struct Screenshot {
        std::string name;
        std::string caption;
        bool operator==(const Screenshot&) const = default;
    };

    std::variant<Paragraph, Heading, Bullets, Table, Tip, Screenshot> content;

    [[nodiscard]] static HelpBlock paragraph(std::string text);
    [[nodiscard]] static HelpBlock heading(std::string text);
    [[nodiscard]] static HelpBlock bullets(std::vector<std::string> items);
    [[nodiscard]] static HelpBlock table(std::vector<HelpRow> rows);
    [[nodiscard]] static HelpBlock tip(std::string text);
    [[nodiscard]] static HelpBlock screenshot(std::string name, std::string caption);

    [[nodiscard]] HelpBlockKind kind() const;

    // The texts a reader sees, in reading order: the text of a paragraph, heading or tip;
    // every bullet; key and value of every row; a screenshot's caption (never its name).
    [[nodiscard]] std::vector<std::string_view> texts() const;

    bool operator==(const HelpBlock&) const = default;
};

}  // namespace tessarin

// Over the kind and every field, so that blocks can key hash containers.
template <>
struct std::hash<tessarin::HelpBlock> {
    std::size_t operator()(const tessarin::HelpBlock& block) const noexcept;
};
