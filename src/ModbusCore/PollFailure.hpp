#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tessarin {

// Why one read or write produced no data. The PDU checks yield exception and malformed, the
// transport and the engine the rest. The texts people see come from the string table; this
// carries the case and the byte that explains it.
struct PollFailure {
    enum class Kind : std::uint8_t {
        unexpectedUnit,      // value: the unit ID the response came from
        unexpectedFunction,  // value: the function-code byte received
        exception,           // value: the exception code, as received
        timeout,
        crcMismatch,
        malformed,
        noConnection,
        unitNotReadable,  // value: the unit ID, which the framing cannot address for a read
    };

    Kind kind = Kind::malformed;
    // The payload byte of the kinds that hasValue names; ignored by the others.
    std::uint8_t value = 0;

    [[nodiscard]] static constexpr PollFailure unexpectedUnit(std::uint8_t unit) {
        return {Kind::unexpectedUnit, unit};
    }
    [[nodiscard]] static constexpr PollFailure unexpectedFunction(std::uint8_t function) {
        return {Kind::unexpectedFunction, function};
    }
    [[nodiscard]] static constexpr PollFailure exception(std::uint8_t code) {
        return {Kind::exception, code};
    }
    [[nodiscard]] static constexpr PollFailure timeout() { return {Kind::timeout, 0}; }
    [[nodiscard]] static constexpr PollFailure crcMismatch() { return {Kind::crcMismatch, 0}; }
    [[nodiscard]] static constexpr PollFailure malformed() { return {Kind::malformed, 0}; }
    [[nodiscard]] static constexpr PollFailure noConnection() { return {Kind::noConnection, 0}; }
    [[nodiscard]] static constexpr PollFailure unitNotReadable(std::uint8_t unit) {
        return {Kind::unitNotReadable, unit};
    }

    // True for the kinds that carry a byte.
    [[nodiscard]] constexpr bool hasValue() const {
        return kind == Kind::unexpectedUnit || kind == Kind::unexpectedFunction || kind == Kind::exception ||
               kind == Kind::unitNotReadable;
    }

    // A stray byte in a kind without payload does not make two failures differ.
    [[nodiscard]] constexpr bool operator==(const PollFailure& other) const {
        return kind == other.kind && (!hasValue() || value == other.value);
    }
};

inline constexpr std::array<std::string_view, 8> pollFailureKindNames{
    "unexpectedUnit", "unexpectedFunction", "exception",    "timeout",
    "crcMismatch",    "malformed",          "noConnection", "unitNotReadable",
};

[[nodiscard]] constexpr std::string_view name(PollFailure::Kind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < pollFailureKindNames.size() ? pollFailureKindNames[index] : std::string_view{};
}

}  // namespace tessarin
