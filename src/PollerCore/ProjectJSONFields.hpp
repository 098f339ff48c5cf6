#pragma once

#include "ModbusCore/JSONDecodeError.hpp"
#include "ModbusCore/JSONFields.hpp"
#include "ModbusCore/Uuid.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The typed reads the project document needs beyond those of the datapoint record. Same
// contract as JSONFields: the error to report, or no value when the key was read or is absent.
namespace tessarin::ProjectJSONFields {

// A whole number within int; a floating-point JSON number counts when it is whole.
[[nodiscard]] inline std::optional<JSONDecodeError> readInt(const nlohmann::json& object,
                                                            std::string_view key, int& out) {
    const nlohmann::json* value = JSONFields::present(object, key);
    if (value == nullptr) return std::nullopt;
    const JSONDecodeError outOfRange{JSONDecodeError::Reason::outOfRange, std::string(key)};
    constexpr auto lowest = std::numeric_limits<int>::min();
    constexpr auto highest = std::numeric_limits<int>::max();
    if (value->is_number_unsigned()) {
        const auto number = value->get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(highest)) return outOfRange;
        out = static_cast<int>(number);
        return std::nullopt;
    }
    if (value->is_number_integer()) {
        const auto number = value->get<std::int64_t>();
        if (number < lowest || number > highest) return outOfRange;
        out = static_cast<int>(number);
        return std::nullopt;
    }
    if (value->is_number_float()) {
        const double number = value->get<double>();
        if (!(number >= lowest && number <= highest) || std::trunc(number) != number) return outOfRange;
        out = static_cast<int>(number);
        return std::nullopt;
    }
    return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
}

// true or false only: 0 and 1 are numbers, not booleans.
[[nodiscard]] inline std::optional<JSONDecodeError> readBool(const nlohmann::json& object,
                                                             std::string_view key, bool& out) {
    const nlohmann::json* value = JSONFields::present(object, key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_boolean()) return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
    out = value->get<bool>();
    return std::nullopt;
}

// A UUID string in either case.
[[nodiscard]] inline std::optional<JSONDecodeError> readUuid(const nlohmann::json& object,
                                                             std::string_view key, Uuid& out) {
    const nlohmann::json* value = JSONFields::present(object, key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_string()) return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
    const auto parsed = Uuid::parse(value->get_ref<const std::string&>());
    if (!parsed) return JSONDecodeError{JSONDecodeError::Reason::invalidUuid, std::string(key)};
    out = *parsed;
    return std::nullopt;
}

// An array whose every element decode() reads; the first failing element fails the key, its
// error's key becoming "key.index" or "key.index.inner".
template <typename Element, typename Decode>
[[nodiscard]] std::optional<JSONDecodeError> readArray(const nlohmann::json& object, std::string_view key,
                                                       std::vector<Element>& out, Decode decode) {
    const nlohmann::json* value = JSONFields::present(object, key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_array()) return JSONDecodeError{JSONDecodeError::Reason::wrongType, std::string(key)};
    std::vector<Element> elements;
    elements.reserve(value->size());
    for (std::size_t i = 0; i < value->size(); ++i) {
        auto element = decode((*value)[i]);
        if (!element) {
            JSONDecodeError error = std::move(element.error());
            std::string path = std::string(key) + "." + std::to_string(i);
            if (!error.key.empty()) path += "." + error.key;
            error.key = std::move(path);
            return error;
        }
        elements.push_back(std::move(*element));
    }
    out = std::move(elements);
    return std::nullopt;
}

}  // namespace tessarin::ProjectJSONFields
