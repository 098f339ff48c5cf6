#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessarin {

// How requests travel on the one TCP connection: Modbus TCP messages with an MBAP header, or
// raw RTU frames with CRC as an Ethernet-to-RS-485 converter in transparent mode passes them
// on. The raw value (the case name) is the persisted form in the project file.
enum class TCPFraming : std::uint8_t { modbusTCP, rtuOverTCP };

struct TCPFramingInfo {
    TCPFraming framing;
    std::string_view rawValue;
};

inline constexpr std::array<TCPFramingInfo, 2> tcpFramingTable{{
    {TCPFraming::modbusTCP, "modbusTCP"},
    {TCPFraming::rtuOverTCP, "rtuOverTCP"},
}};

// Every case, in declaration order.
inline constexpr std::array<TCPFraming, tcpFramingTable.size()> allTCPFramings{TCPFraming::modbusTCP,
                                                                               TCPFraming::rtuOverTCP};

// The registered Modbus TCP port, the default of a new project.
inline constexpr std::uint16_t modbusTCPPort = 502;

[[nodiscard]] constexpr std::string_view rawValue(TCPFraming framing) {
    for (const TCPFramingInfo& info : tcpFramingTable) {
        if (info.framing == framing) return info.rawValue;
    }
    return {};
}

// Exactly a case name, else no value.
[[nodiscard]] constexpr std::optional<TCPFraming> tcpFramingFromRawValue(std::string_view raw) {
    for (const TCPFramingInfo& info : tcpFramingTable) {
        if (info.rawValue == raw) return info.framing;
    }
    return std::nullopt;
}

}  // namespace tessarin
