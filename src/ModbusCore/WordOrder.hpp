#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tessarin {

// How the bytes of a value that spans several registers arrive: the letters name the value's
// bytes from most significant (A) on, in arrival order.
enum class WordOrder : std::uint8_t { abcd, cdab, badc, dcba };

struct WordOrderFacts {
    WordOrder order;
    std::string_view rawValue;
    std::string_view label;  // the raw value in capitals, as shown to people
    bool reversesWords;      // the sequence of 16-bit words is reversed
    bool swapsBytes;         // the two bytes inside every word are swapped
};

inline constexpr std::array<WordOrderFacts, 4> wordOrderFacts{{
    {WordOrder::abcd, "abcd", "ABCD", false, false},
    {WordOrder::cdab, "cdab", "CDAB", true, false},
    {WordOrder::badc, "badc", "BADC", false, true},
    {WordOrder::dcba, "dcba", "DCBA", true, true},
}};

// Every case, in declaration order.
inline constexpr std::array<WordOrder, wordOrderFacts.size()> allWordOrders = [] {
    std::array<WordOrder, wordOrderFacts.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = wordOrderFacts[i].order;
    return out;
}();

[[nodiscard]] constexpr const WordOrderFacts& facts(WordOrder order) {
    return wordOrderFacts[std::to_underlying(order)];
}

[[nodiscard]] constexpr std::string_view rawValue(WordOrder order) {
    return facts(order).rawValue;
}
[[nodiscard]] constexpr std::string_view label(WordOrder order) {
    return facts(order).label;
}
[[nodiscard]] constexpr bool reversesWords(WordOrder order) {
    return facts(order).reversesWords;
}
[[nodiscard]] constexpr bool swapsBytes(WordOrder order) {
    return facts(order).swapsBytes;
}

// Exactly a case name ("cdab"), else no value.
[[nodiscard]] constexpr std::optional<WordOrder> wordOrderFromRawValue(std::string_view raw) {
    for (const WordOrderFacts& entry : wordOrderFacts) {
        if (entry.rawValue == raw) return entry.order;
    }
    return std::nullopt;
}

// A case name in any capitalisation ("CDAB", "Cdab"), surrounding spaces and tabs ignored.
[[nodiscard]] std::optional<WordOrder> wordOrderFromText(std::string_view text);

}  // namespace tessarin
