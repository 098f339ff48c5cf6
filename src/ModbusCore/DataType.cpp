#include "ModbusCore/DataType.hpp"

#include "ModbusCore/AsciiText.hpp"

#include <algorithm>
#include <string>

namespace tessarin {

namespace {

struct TypeAlias {
    std::string_view text;
    DataType type;
};

// The short names and the IEC 61131-3 names that PLC programmers write in their lists. The case
// names themselves are all lower case, so a lowercased text is first looked up among them.
constexpr std::array<TypeAlias, 27> typeAliases{{
    {"bit", DataType::bool_},    {"boolean", DataType::bool_},  {"u16", DataType::uint16},
    {"word", DataType::uint16},  {"uint", DataType::uint16},    {"i16", DataType::int16},
    {"s16", DataType::int16},    {"int", DataType::int16},      {"short", DataType::int16},
    {"u32", DataType::uint32},   {"dword", DataType::uint32},   {"udint", DataType::uint32},
    {"i32", DataType::int32},    {"s32", DataType::int32},      {"dint", DataType::int32},
    {"long", DataType::int32},   {"f32", DataType::float32},    {"float", DataType::float32},
    {"real", DataType::float32}, {"u64", DataType::uint64},     {"ulint", DataType::uint64},
    {"i64", DataType::int64},    {"s64", DataType::int64},      {"lint", DataType::int64},
    {"f64", DataType::float64},  {"double", DataType::float64}, {"lreal", DataType::float64},
}};

}  // namespace

std::optional<DataType> dataTypeFromText(std::string_view text) {
    const std::string key = AsciiText::lowercased(AsciiText::trimSpacesAndTabs(text));
    if (auto byName = dataTypeFromRawValue(key)) return byName;
    const auto* found = std::ranges::find(typeAliases, std::string_view(key), &TypeAlias::text);
    if (found == typeAliases.end()) return std::nullopt;
    return found->type;
}

}  // namespace tessarin
