#pragma once

#include "ModbusCore/Require.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace tessarin {

// The words one datapoint was decoded from: its registers (one to four), or for a bit the
// single word 0 or 1. Held inline, so the live status of a datapoint changes without
// allocating on every read.
class RawWords {
public:
    static constexpr std::size_t capacity = 4;

    RawWords() = default;
    explicit RawWords(std::span<const std::uint16_t> words) : m_size(words.size()) {
        TESSARIN_REQUIRE(words.size() <= capacity, "a datapoint spans at most four registers");
        std::ranges::copy(words, m_words.begin());
    }
    RawWords(std::initializer_list<std::uint16_t> words)
        : RawWords(std::span<const std::uint16_t>(words.begin(), words.size())) {}

    [[nodiscard]] std::span<const std::uint16_t> words() const { return {m_words.data(), m_size}; }
    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] bool empty() const { return m_size == 0; }
    [[nodiscard]] const std::uint16_t* begin() const { return m_words.data(); }
    [[nodiscard]] const std::uint16_t* end() const { return m_words.data() + m_size; }

    friend bool operator==(const RawWords& a, const RawWords& b) {
        return std::ranges::equal(a.words(), b.words());
    }

private:
    std::array<std::uint16_t, capacity> m_words{};
    std::size_t m_size = 0;
};

}  // namespace tessarin
