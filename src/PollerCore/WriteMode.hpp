#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tessarin {

// How a write of one value is sent. The raw value (the case name) is the persisted form in the
// project file; the cases are listed in the order the picker shows them.
enum class WriteMode : std::uint8_t {
    single,    // one coil or register with function 5 or 6
    multiple,  // always function 15 or 16, also for one value
};

struct WriteModeFacts {
    WriteMode mode;
    std::string_view rawValue;
};

inline constexpr std::array<WriteModeFacts, 2> writeModeFacts{{
    {WriteMode::single, "single"},
    {WriteMode::multiple, "multiple"},
}};

// Every case, in declaration order.
inline constexpr std::array<WriteMode, writeModeFacts.size()> allWriteModes{WriteMode::single,
                                                                            WriteMode::multiple};

[[nodiscard]] constexpr std::string_view rawValue(WriteMode mode) {
    return writeModeFacts[std::to_underlying(mode)].rawValue;
}

// Exactly a case name, else no value.
[[nodiscard]] constexpr std::optional<WriteMode> writeModeFromRawValue(std::string_view raw) {
    for (const WriteModeFacts& entry : writeModeFacts) {
        if (entry.rawValue == raw) return entry.mode;
    }
    return std::nullopt;
}

}  // namespace tessarin
