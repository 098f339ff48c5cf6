#pragma once

#include <array>
#include <string_view>

namespace tessarin {

// Whether the model reads: not at all, trying to reach the device, or reading from it.
enum class PollerState { stopped, connecting, running };

inline constexpr std::array<std::string_view, 3> pollerStateNames{"stopped", "connecting", "running"};

constexpr std::string_view rawValue(PollerState state) {
    return pollerStateNames[static_cast<std::size_t>(state)];
}

}  // namespace tessarin
