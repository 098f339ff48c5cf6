#pragma once

#include <chrono>

namespace tessarin {

// One recorded value of a datapoint. Kept to two machine words: a full history is 20,000 of
// them for every datapoint.
struct Sample {
    std::chrono::system_clock::time_point time;
    double value = 0.0;  // engineering units, after scale

    bool operator==(const Sample&) const = default;
};

}  // namespace tessarin
