#pragma once

#include "ModbusCore/RegisterTable.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace tessarin {

// How the registers of a datapoint are interpreted. `bool_` is the case whose raw value is
// "bool" (the keyword cannot be an enumerator); every other case is spelled as its raw value.
enum class DataType : std::uint8_t { bool_, uint16, int16, uint32, int32, float32, uint64, int64, float64 };

// A closed range of floating-point values.
struct ValueRange {
    double lower;
    double upper;

    [[nodiscard]] constexpr bool contains(double value) const { return lower <= value && value <= upper; }
    bool operator==(const ValueRange&) const = default;
};

struct DataTypeFacts {
    DataType type;
    std::string_view rawValue;
    int registerCount;  // consecutive registers the value spans in a register table
    bool isSigned;      // the three signed integer types only
    bool isFloat;
    bool usesWordOrder;  // spans more than one register
    ValueRange range;    // values a datapoint of the type can hold
};

namespace detail {
inline constexpr double twoTo63 = 9223372036854775808.0;
inline constexpr double twoTo64 = 18446744073709551616.0;
inline constexpr double maxFloat = std::numeric_limits<float>::max();
inline constexpr double maxDouble = std::numeric_limits<double>::max();
}  // namespace detail

// The 64-bit integer bounds are the nearest doubles, 2^64 and ±2^63: the exact limits are not
// representable, and the range check works on doubles.
inline constexpr std::array<DataTypeFacts, 9> dataTypeFacts{{
    {DataType::bool_, "bool", 1, false, false, false, {0.0, 1.0}},
    {DataType::uint16, "uint16", 1, false, false, false, {0.0, 65535.0}},
    {DataType::int16, "int16", 1, true, false, false, {-32768.0, 32767.0}},
    {DataType::uint32, "uint32", 2, false, false, true, {0.0, 4294967295.0}},
    {DataType::int32, "int32", 2, true, false, true, {-2147483648.0, 2147483647.0}},
    {DataType::float32, "float32", 2, false, true, true, {-detail::maxFloat, detail::maxFloat}},
    {DataType::uint64, "uint64", 4, false, false, true, {0.0, detail::twoTo64}},
    {DataType::int64, "int64", 4, true, false, true, {-detail::twoTo63, detail::twoTo63}},
    {DataType::float64, "float64", 4, false, true, true, {-detail::maxDouble, detail::maxDouble}},
}};

// Every case, in declaration order.
inline constexpr std::array<DataType, dataTypeFacts.size()> allDataTypes = [] {
    std::array<DataType, dataTypeFacts.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = dataTypeFacts[i].type;
    return out;
}();

[[nodiscard]] constexpr const DataTypeFacts& facts(DataType type) {
    return dataTypeFacts[std::to_underlying(type)];
}

[[nodiscard]] constexpr std::string_view rawValue(DataType type) {
    return facts(type).rawValue;
}
[[nodiscard]] constexpr int registerCount(DataType type) {
    return facts(type).registerCount;
}
[[nodiscard]] constexpr bool isSigned(DataType type) {
    return facts(type).isSigned;
}
[[nodiscard]] constexpr bool isFloat(DataType type) {
    return facts(type).isFloat;
}
[[nodiscard]] constexpr bool usesWordOrder(DataType type) {
    return facts(type).usesWordOrder;
}
[[nodiscard]] constexpr ValueRange range(DataType type) {
    return facts(type).range;
}

// The types a datapoint may have in table: only bool_ in the bit tables, all nine (in
// declaration order) in the register tables. The type choosers list exactly these.
[[nodiscard]] constexpr std::span<const DataType> allowedDataTypes(RegisterTable table) {
    static_assert(std::to_underlying(DataType::bool_) == 0);
    return isBit(table) ? std::span<const DataType>(allDataTypes).first(1)
                        : std::span<const DataType>(allDataTypes);
}

// Exactly a case name ("float32"), else no value.
[[nodiscard]] constexpr std::optional<DataType> dataTypeFromRawValue(std::string_view raw) {
    for (const DataTypeFacts& entry : dataTypeFacts) {
        if (entry.rawValue == raw) return entry.type;
    }
    return std::nullopt;
}

// A case name in any capitalisation, or a common alias ("word", "dint", "REAL", "double"...).
// Inner spaces are not removed: "u 16" is no type.
[[nodiscard]] std::optional<DataType> dataTypeFromText(std::string_view text);

}  // namespace tessarin
