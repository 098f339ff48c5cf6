#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tessarin {

// How an integer value is shown; floating-point values are always shown in decimal.
enum class DisplayFormat : std::uint8_t { decimal, hex, binary };

struct DisplayFormatFacts {
    DisplayFormat format;
    std::string_view rawValue;
};

inline constexpr std::array<DisplayFormatFacts, 3> displayFormatFacts{{
    {DisplayFormat::decimal, "decimal"},
    {DisplayFormat::hex, "hex"},
    {DisplayFormat::binary, "binary"},
}};

// Every case, in declaration order.
inline constexpr std::array<DisplayFormat, displayFormatFacts.size()> allDisplayFormats = [] {
    std::array<DisplayFormat, displayFormatFacts.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = displayFormatFacts[i].format;
    return out;
}();

[[nodiscard]] constexpr std::string_view rawValue(DisplayFormat format) {
    return displayFormatFacts[std::to_underlying(format)].rawValue;
}

// Exactly a case name ("hex"), else no value.
[[nodiscard]] constexpr std::optional<DisplayFormat> displayFormatFromRawValue(std::string_view raw) {
    for (const DisplayFormatFacts& entry : displayFormatFacts) {
        if (entry.rawValue == raw) return entry.format;
    }
    return std::nullopt;
}

// "decimal", "dec" or an empty cell; "hex", "hexadecimal"; "binary", "bin"; any capitalisation,
// surrounding spaces and tabs ignored. No value for anything else.
[[nodiscard]] std::optional<DisplayFormat> displayFormatFromText(std::string_view text);

}  // namespace tessarin
