#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tessarin {

// Why a JSON value could not be read as one of our records, and at which key ("" for the value
// itself). Missing keys are not errors where a default exists.
struct JSONDecodeError {
    enum class Reason : std::uint8_t {
        notAnObject,  // the value (or the key's value) is not a JSON object
        wrongType,    // a JSON type other than the one the key holds
        unknownCase,  // a string that is not an enumeration's case name
        outOfRange,   // a number beyond the field's range, not whole, or not finite
        invalidUuid,  // a string that is not a UUID
        missingKey,   // a key that has no default
    };

    Reason reason;
    std::string key;

    bool operator==(const JSONDecodeError&) const = default;
};

inline constexpr std::array<std::string_view, 6> jsonDecodeErrorReasonNames{
    "notAnObject", "wrongType", "unknownCase", "outOfRange", "invalidUuid", "missingKey",
};

[[nodiscard]] constexpr std::string_view rawValue(JSONDecodeError::Reason reason) {
    return jsonDecodeErrorReasonNames[std::to_underlying(reason)];
}

}  // namespace tessarin
