#pragma once

#include "ModbusCore/PDU.hpp"
#include "ModbusCore/Uuid.hpp"
#include "PollerCore/PollFailureError.hpp"
#include "PollerCore/ReadBlock.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessarin {

// What the engine reports, one event per connection change and exactly one per request.
// Request and response are the frames as they went over the wire (framing included); a
// request that never got an answer carries the frame it would have sent, with transaction
// identifier 0 in Modbus TCP, and an empty response.
struct PollerEvent {
    // The link was opened; address is "host:port" ("[host]:port" for IPv6 literals).
    struct Connected {
        std::string address;
        bool operator==(const Connected&) const = default;
    };
    // An attempt to open the link failed; the reason is the user's text. Not repeated while
    // the reason stays the same.
    struct ConnectionFailed {
        std::string reason;
        bool operator==(const ConnectionFailed&) const = default;
    };
    struct Read {
        Uuid poll;
        ReadBlock block;
        std::expected<PDU::ReadData, PollFailureError> result;
        std::vector<std::uint8_t> request;
        std::vector<std::uint8_t> response;
        double duration = 0;  // seconds
        bool operator==(const Read&) const = default;
    };
    struct Wrote {
        Uuid token;
        std::uint8_t unit = 0;
        std::expected<void, PollFailureError> result;
        std::vector<std::uint8_t> request;
        std::vector<std::uint8_t> response;
        double duration = 0;  // seconds
        bool operator==(const Wrote&) const = default;
    };
    // The link was found closed after a request while the engine was running.
    struct Disconnected {
        bool operator==(const Disconnected&) const = default;
    };
    // Frames that arrived during the request that follows and were not taken as an answer:
    // late answers to failed or earlier requests, or frames nobody asked for. Reported so
    // that a device that answers late is seen to do so; first is the first of them.
    struct FramesDropped {
        std::size_t count = 0;
        std::vector<std::uint8_t> first;
        bool operator==(const FramesDropped&) const = default;
    };

    enum class Kind : std::uint8_t { connected, connectionFailed, read, wrote, disconnected, framesDropped };

    std::variant<Connected, ConnectionFailed, Read, Wrote, Disconnected, FramesDropped> payload;

    [[nodiscard]] Kind kind() const { return static_cast<Kind>(payload.index()); }

    bool operator==(const PollerEvent&) const = default;
};

inline constexpr std::array<std::string_view, 6> pollerEventKindNames{
    "connected", "connectionFailed", "read", "wrote", "disconnected", "framesDropped"};

[[nodiscard]] constexpr std::string_view name(PollerEvent::Kind kind) {
    return pollerEventKindNames[static_cast<std::size_t>(kind)];
}

}  // namespace tessarin
