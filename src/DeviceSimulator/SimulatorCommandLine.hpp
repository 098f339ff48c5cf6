#pragma once

#include "ModbusTCP/TCPFraming.hpp"

#include <chrono>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessarin {

// The arguments of tessarin-sim:
//   tessarin-sim [PROJECT.json] [--port N] [--bind ADDR] [--framing modbusTCP|rtuOverTCP] [--latency MS]
struct SimulatorCommandLine {
    std::optional<std::string> projectPath;  // none: the example project with demo generators
    std::optional<std::uint16_t> port;       // none: 502, falling back to 1502
    std::string bindAddress = "127.0.0.1";   // this machine only, unless the user opens it up
    TCPFraming framing = TCPFraming::modbusTCP;
    std::chrono::milliseconds latency{0};
    bool help = false;  // --help or -h: print the usage and stop

    // The arguments after the program name. The error is a localised sentence.
    [[nodiscard]] static std::expected<SimulatorCommandLine, std::string> parse(
        std::span<const std::string_view> arguments);

    bool operator==(const SimulatorCommandLine&) const = default;
};

// The port used when the default 502 cannot be bound.
inline constexpr std::uint16_t simulatorFallbackPort = 1502;
// The longest latency accepted, so that a typo does not make a device that never answers.
inline constexpr std::chrono::milliseconds maxSimulatorLatency{60'000};

}  // namespace tessarin
