#pragma once

#include "ModbusCore/JSONDecodeError.hpp"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string_view>
#include <utility>

namespace tessarin {

// A value generator setting kept with every datapoint. It is stored and round-tripped; the
// generator itself is available for tools that play a device.
struct Simulation {
    enum class Kind : std::uint8_t { none, counter, ramp, sine, random, toggle };

    Kind kind = Kind::none;
    double minimum = 0;
    double maximum = 100;
    double period = 10;  // seconds per step or cycle; below 0.1 counts as 0.1

    // Every kind but none generates values.
    [[nodiscard]] bool isActive() const { return kind != Kind::none; }

    // The generated value at time t (seconds), or no value for none. minimum and maximum may
    // come in either order. Defined for every input, NaN and infinities included.
    [[nodiscard]] std::optional<double> valueAt(double t) const;

    // The object {"kind", "minimum", "maximum", "period"}.
    [[nodiscard]] nlohmann::json toJSON() const;

    // All four keys are required; kind must be a case name and the numbers finite.
    [[nodiscard]] static std::expected<Simulation, JSONDecodeError> fromJSON(const nlohmann::json& json);

    bool operator==(const Simulation&) const = default;
};

inline constexpr std::array<std::string_view, 6> simulationKindNames{
    "none", "counter", "ramp", "sine", "random", "toggle",
};

// Every kind, in declaration order.
inline constexpr std::array<Simulation::Kind, simulationKindNames.size()> allSimulationKinds = [] {
    std::array<Simulation::Kind, simulationKindNames.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<Simulation::Kind>(i);
    return out;
}();

[[nodiscard]] constexpr std::string_view rawValue(Simulation::Kind kind) {
    return simulationKindNames[std::to_underlying(kind)];
}

// Exactly a case name, else no value.
[[nodiscard]] constexpr std::optional<Simulation::Kind> simulationKindFromRawValue(std::string_view raw) {
    for (Simulation::Kind kind : allSimulationKinds) {
        if (rawValue(kind) == raw) return kind;
    }
    return std::nullopt;
}

}  // namespace tessarin
