#pragma once

#include <cstdint>

namespace tessarin {

// The request counters shown beside the log; zero at every start of reading and after
// clearing the log.
struct PollerStatistics {
    std::int64_t requests = 0;   // every read or write the engine reported
    std::int64_t responses = 0;  // answers from the device, exception answers included
    std::int64_t timeouts = 0;
    std::int64_t exceptions = 0;
    std::int64_t errors = 0;  // foreign unit or function, CRC mismatch, malformed

    bool operator==(const PollerStatistics&) const = default;
};

}  // namespace tessarin
