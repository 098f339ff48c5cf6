#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/NumberLocale.hpp"
#include "ModbusCore/PollFailure.hpp"
#include "PollerCore/RawWords.hpp"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tessarin {

// The live state of one datapoint. A failed read keeps the last good value and raw words
// beside the failure, so the table can show both.
struct PointStatus {
    std::optional<double> value;         // engineering units, after scale
    RawWords raw;                        // registers, or one 0/1 word for a bit
    std::optional<PollFailure> failure;  // of the last read; none after a good read or write
    std::optional<std::chrono::system_clock::time_point> updated;  // last read, good or failed
    double duration = 0.0;                                         // seconds, of the last good read

    // The value as the table shows it, by the datapoint's format and scale; none without a
    // value. While the value is still the one the raw words give (no write has replaced it),
    // it is shown from the raw words, which keeps 64-bit integers exact.
    [[nodiscard]] std::optional<std::string> valueText(
        const Datapoint& point, const NumberLocale& locale = NumberLocale::current()) const;

    bool operator==(const PointStatus&) const = default;
};

}  // namespace tessarin
