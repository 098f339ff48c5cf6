#pragma once

#include "ModbusCore/Uuid.hpp"
#include "PollerCore/ReadBlock.hpp"

#include <vector>

namespace tessarin {

// What the engine runs for one poll: its reads, in order, every `interval` seconds. The
// schedule belongs to the id, so replacing a plan with an edited one of the same id keeps
// its rhythm.
struct PollPlan {
    Uuid id;
    double interval = 1.0;  // seconds between the starts of two runs
    std::vector<ReadBlock> blocks;

    bool operator==(const PollPlan&) const = default;
};

}  // namespace tessarin
