#pragma once

#include <fmt/format.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tessarin {

// "host:port", or "[host]:port" when the host is an IPv6 literal, whose own colons would
// otherwise run into the port's.
[[nodiscard]] inline std::string hostPortText(std::string_view host, std::uint16_t port) {
    if (host.find(':') != std::string_view::npos) return fmt::format("[{}]:{}", host, port);
    return fmt::format("{}:{}", host, port);
}

}  // namespace tessarin
