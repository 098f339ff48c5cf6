#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <limits>

namespace tessarin {

// The time stamp in front of a log line: local time as "HH:mm:ss.zzz" and two blanks.
// The time zone is looked up again once a minute rather than for every line, which is what
// makes a stamp cheap enough for tens of thousands of lines a second.
class LogTimestamp {
public:
    [[nodiscard]] QString text(std::chrono::system_clock::time_point time);

private:
    std::int64_t m_zoneMinute = std::numeric_limits<std::int64_t>::min();
};

}  // namespace tessarin
