#include "Localization/HelpBlock.hpp"

#include <type_traits>
#include <utility>

namespace tessarin {

namespace {

template <class Alternative, HelpBlockKind kind>
constexpr bool sitsAt =
    std::is_same_v<std::variant_alternative_t<static_cast<std::size_t>(kind), decltype(HelpBlock::content)>,
                   Alternative>;

static_assert(sitsAt<HelpBlock::Paragraph, HelpBlockKind::paragraph>);
static_assert(sitsAt<HelpBlock::Heading, HelpBlockKind::heading>);
static_assert(sitsAt<HelpBlock::Bullets, HelpBlockKind::bullets>);
static_assert(sitsAt<HelpBlock::Table, HelpBlockKind::table>);
static_assert(sitsAt<HelpBlock::Tip, HelpBlockKind::tip>);
static_assert(sitsAt<HelpBlock::Screenshot, HelpBlockKind::screenshot>);
static_assert(std::variant_size_v<decltype(HelpBlock::content)> == helpBlockKindNames.size());

template <class... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
// Clang before 17 does not deduce aggregate template arguments by itself.
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

}  // namespace

HelpBlock HelpBlock::paragraph(std::string text) {
    return {Paragraph{std::move(text)}};
}
HelpBlock HelpBlock::heading(std::string text) {
    return {Heading{std::move(text)}};
}
HelpBlock HelpBlock::bullets(std::vector<std::string> items) {
    return {Bullets{std::move(items)}};
}
HelpBlock HelpBlock::table(std::vector<HelpRow> rows) {
    return {Table{std::move(rows)}};
}
HelpBlock HelpBlock::tip(std::string text) {
    return {Tip{std::move(text)}};
}

HelpBlock HelpBlock::screenshot(std::string name, std::string caption) {
    return {Screenshot{std::move(name), std::move(caption)}};
}

HelpBlockKind HelpBlock::kind() const {
    return static_cast<HelpBlockKind>(content.index());
}

std::vector<std::string_view> HelpBlock::texts() const {
    return std::visit(
        Overloaded{
            [](const Paragraph& block) { return std::vector<std::string_view>{block.text}; },
            [](const Heading& block) { return std::vector<std::string_view>{block.text}; },
            [](const Tip& block) { return std::vector<std::string_view>{block.text}; },
            [](const Screenshot& block) { return std::vector<std::string_view>{block.caption}; },
            [](const Bullets& block) {
                return std::vector<std::string_view>(block.items.begin(), block.items.end());
            },
            [](const Table& block) {
                std::vector<std::string_view> cells;
                cells.reserve(block.rows.size() * 2);
                for (const HelpRow& row : block.rows) {
                    cells.emplace_back(row.key);
                    cells.emplace_back(row.value);
                }
                return cells;
            },
        },
        content);
}

}  // namespace tessarin

std::size_t std::hash<tessarin::HelpBlock>::operator()(const tessarin::HelpBlock& block) const noexcept {
    std::size_t seed = block.content.index();
    // texts() leaves out a screenshot's name, which tells two screenshots apart all the same.
    if (const auto* shot = std::get_if<tessarin::HelpBlock::Screenshot>(&block.content)) {
        tessarin::combineHash(seed, std::hash<std::string>{}(shot->name));
    }
    for (std::string_view text : block.texts())
        tessarin::combineHash(seed, std::hash<std::string_view>{}(text));
    return seed;
}
