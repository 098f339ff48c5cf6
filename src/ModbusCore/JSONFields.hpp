#pragma once

#include "ModbusCore/JSONDecodeError.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Typed reads of one key of a JSON object for the record decoders. Each returns the error to
// report, or no value when the key was read (or is absent, leaving out untouched). Only JSON
// type checks are used before a get<>(), so nlohmann never throws here.
namespace tessarin::JSONFields {

// The key's value, or nullptr when it is missing or null.
[[nodiscard]] inline const nlohmann::json* present(const nlohmann::json& object, std::string_view key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return nullptr;
    return &*found;
}

[[nodiscard]] inline std::optional<JSONDecodeError> readString(const nlohmann::json& object,
                                                               std::string_view key, std::string& out) {
    const nlohmann::json* value = present(object, key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_string()) return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
    out = value->get_ref<const std::string&>();
    return std::nullopt;
}

// Any JSON number that is finite (a parser may hand over 1e400 as infinity).
[[nodiscard]] inline std::optional<JSONDecodeError> readDouble(const nlohmann::json& object,
                                                               std::string_view key, double& out) {
    const nlohmann::json* value = present(object, key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_number()) return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
    const double number = value->get<double>();
    if (!std::isfinite(number)) return JSONDecodeError{JSONDecodeError::Reason::outOfRange, std::string(key)};
    out = number;
    return std::nullopt;
}

// A whole number within 0 ... max; a floating-point JSON number counts when it is whole.
template <typename Unsigned>
[[nodiscard]] std::optional<JSONDecodeError> readUnsigned(const nlohmann::json& object, std::string_view key,
                                                          Unsigned max, Unsigned& out) {
    const nlohmann::json* value = present(object, key);
    if (value == nullptr) return std::nullopt;
    const JSONDecodeError outOfRange{JSONDecodeError::Reason::outOfRange, std::string(key)};
    if (value->is_number_unsigned()) {
        const auto number = value->get<std::uint64_t>();
        if (number > max) return outOfRange;
        out = static_cast<Unsigned>(number);
        return std::nullopt;
    }
    if (value->is_number_integer()) return outOfRange;  // nlohmann keeps non-negative integers unsigned
    if (value->is_number_float()) {
        const double number = value->get<double>();
        if (!(number >= 0.0 && number <= static_cast<double>(max)) || std::trunc(number) != number) {
            return outOfRange;
        }
        out = static_cast<Unsigned>(number);
        return std::nullopt;
    }
    return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
}

// A string that fromRawValue knows.
template <typename Enum, typename FromRaw>
[[nodiscard]] std::optional<JSONDecodeError> readCase(const nlohmann::json& object, std::string_view key,
                                                      FromRaw fromRawValue, Enum& out) {
    const nlohmann::json* value = present(object, key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_string()) return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
    const std::optional<Enum> parsed = fromRawValue(value->get_ref<const std::string&>());
    if (!parsed) return JSONDecodeError{JSONDecodeError::Reason::unknownCase, std::string(key)};
    out = *parsed;
    return std::nullopt;
}

}  // namespace tessarin::JSONFields
