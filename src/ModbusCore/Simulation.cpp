#include "ModbusCore/Simulation.hpp"

#include "ModbusCore/JSONFields.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace tessarin {

namespace {

constexpr double minimumPeriod = 0.1;
constexpr double maxCounterSpan = 2147483647.0;

// n as a 64-bit integer pattern, saturated: a time far beyond any run must not be undefined.
std::uint64_t stepPattern(double n) {
    if (std::isnan(n)) return 0;
    if (n <= -9223372036854775808.0)
        return std::bit_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::min());
    if (n >= 9223372036854775808.0)
        return std::bit_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return std::bit_cast<std::uint64_t>(static_cast<std::int64_t>(n));
}

// A reproducible value in 0 ... 1 for step n (the SplitMix64 finaliser).
double randomFraction(double n) {
    std::uint64_t h = stepPattern(n) * 0x9E3779B97F4A7C15ULL;
    h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ULL;
    return static_cast<double>((h ^ (h >> 29)) % 1000001ULL) / 1000000.0;
}

}  // namespace

std::optional<double> Simulation::valueAt(double t) const {
    if (kind == Kind::none) return std::nullopt;
    const double p = period >= minimumPeriod ? period : minimumPeriod;  // NaN too
    const double x = t / p;
    const double n = std::floor(x);
    const double lo = std::min(minimum, maximum);
    const double hi = std::max(minimum, maximum);
    switch (kind) {
        case Kind::none:
            return std::nullopt;
        case Kind::counter: {
            const double k = std::min(std::floor(hi - lo), maxCounterSpan) + 1.0;
            // A mathematical modulo, so that times before zero still count within lo ... hi.
            double step = std::fmod(n, k);
            if (step < 0) step += k;
            return lo + step;
        }
        case Kind::ramp:
            return lo + (hi - lo) * (x - std::trunc(x));
        case Kind::sine:
            return lo + (hi - lo) * (std::sin(2.0 * std::numbers::pi * t / p) * 0.5 + 0.5);
        case Kind::random:
            return lo + (hi - lo) * randomFraction(n);
        case Kind::toggle:
            return std::fmod(n, 2.0) != 0.0 ? hi : lo;
    }
    return std::nullopt;
}

nlohmann::json Simulation::toJSON() const {
    return nlohmann::json{
        {"kind", rawValue(kind)},
        {"minimum", minimum},
        {"maximum", maximum},
        {"period", period},
    };
}

std::expected<Simulation, JSONDecodeError> Simulation::fromJSON(const nlohmann::json& json) {
    using Reason = JSONDecodeError::Reason;
    if (!json.is_object()) return std::unexpected(JSONDecodeError{Reason::notAnObject, ""});
    for (const char* key : {"kind", "minimum", "maximum", "period"}) {
        if (JSONFields::present(json, key) == nullptr) {
            return std::unexpected(JSONDecodeError{Reason::missingKey, key});
        }
    }
    Simulation simulation;
    std::optional<JSONDecodeError> error =
        JSONFields::readCase(json, "kind", simulationKindFromRawValue, simulation.kind);
    if (!error) error = JSONFields::readDouble(json, "minimum", simulation.minimum);
    if (!error) error = JSONFields::readDouble(json, "maximum", simulation.maximum);
    if (!error) error = JSONFields::readDouble(json, "period", simulation.period);
    if (error) return std::unexpected(*error);
    return simulation;
}

}  // namespace tessarin
