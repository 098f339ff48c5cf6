#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// A 128-bit identifier in the standard 8-4-4-4-12 text form.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    // A fresh version-4 (random) identifier from a per-thread generator seeded from the
    // operating system's random source; any thread may ask.
    [[nodiscard]] static Uuid random();

    // Exactly 36 characters: hexadecimal digits in either case, hyphens at 8, 13, 18 and 23.
    // No value for anything else (no braces, no surrounding spaces, no "urn:uuid:").
    [[nodiscard]] static std::optional<Uuid> parse(std::string_view text);

    // The 36-character form with upper-case digits, as stored in files.
    [[nodiscard]] std::string text() const;

    auto operator<=>(const Uuid&) const = default;
    // Two word compares rather than the byte array's call to memcmp: ids are looked up for
    // every datapoint of every read.
    friend bool operator==(const Uuid& a, const Uuid& b) noexcept {
        const auto [aLow, aHigh] = a.halves();
        const auto [bLow, bHigh] = b.halves();
        return aLow == bLow && aHigh == bHigh;
    }

    [[nodiscard]] std::array<std::uint64_t, 2> halves() const noexcept {
        std::array<std::uint64_t, 2> words{};
        std::memcpy(words.data(), bytes.data(), bytes.size());
        return words;
    }
};

}  // namespace tessarin

template <>
struct std::hash<tessarin::Uuid> {
    std::size_t operator()(const tessarin::Uuid& uuid) const noexcept {
        // The bytes are random already: folding them is as good as any mixing.
        const auto [low, high] = uuid.halves();
        return static_cast<std::size_t>(low ^ high);
    }
};
