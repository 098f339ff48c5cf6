#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Finds whole RTU frames at the front of a byte stream, which carries no length field: the
// function code announces the length, and the CRC confirms it. Stateless; callers cut the
// bytes of a found frame off their buffer themselves.
namespace tessarin::RTUStream {

struct Next {
    enum class Kind : std::uint8_t {
        frame,       // bytes holds one complete frame with a correct CRC
        incomplete,  // more bytes are needed before anything can be said
        invalid,     // the bytes cannot start a valid frame
    };
    Kind kind = Kind::incomplete;
    std::vector<std::uint8_t> bytes;

    [[nodiscard]] static Next frame(std::span<const std::uint8_t> bytes) {
        return {Kind::frame, {bytes.begin(), bytes.end()}};
    }
    [[nodiscard]] static Next incomplete() { return {Kind::incomplete, {}}; }
    [[nodiscard]] static Next invalid() { return {Kind::invalid, {}}; }

    bool operator==(const Next&) const = default;
};

// The first frame at the start of bytes, judged by the request length rule (what a client
// sends) or the response length rule (what a device answers). A length that cannot be told
// (an unknown function code) leaves the CRC over all the bytes as the only clue, so such a
// stream is given up as invalid once it exceeds the longest possible frame.
[[nodiscard]] Next nextRequest(std::span<const std::uint8_t> bytes);
[[nodiscard]] Next nextResponse(std::span<const std::uint8_t> bytes);

}  // namespace tessarin::RTUStream
