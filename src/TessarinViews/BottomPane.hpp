#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tessarin {

// What the bottom pane shows. The name is the stored form (settings key "bottomPane").
enum class BottomPane { log, chart };

inline constexpr std::array<std::string_view, 2> bottomPaneNames{"log", "chart"};

[[nodiscard]] constexpr std::string_view name(BottomPane pane) {
    return bottomPaneNames[static_cast<std::size_t>(pane)];
}

// Exactly a case's name; anything else is none.
[[nodiscard]] constexpr std::optional<BottomPane> bottomPaneFromName(std::string_view text) {
    for (std::size_t i = 0; i < bottomPaneNames.size(); ++i) {
        if (bottomPaneNames[i] == text) {
            return static_cast<BottomPane>(i);
        }
    }
    return std::nullopt;
}

}  // namespace tessarin
