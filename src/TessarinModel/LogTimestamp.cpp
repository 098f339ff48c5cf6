#include "TessarinModel/LogTimestamp.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <ctime>

namespace tessarin {

QString LogTimestamp::text(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto sinceEpoch = floor<milliseconds>(time).time_since_epoch();
    const auto wholeSeconds = floor<seconds>(sinceEpoch);
    const std::int64_t minute = floor<minutes>(sinceEpoch).count();
    if (minute != m_zoneMinute) {
        // localtime_r, unlike localtime, need not read the zone again; tzset makes it.
        tzset();
        m_zoneMinute = minute;
    }
    const auto epochSeconds = static_cast<std::time_t>(wholeSeconds.count());
    std::tm local{};
    localtime_r(&epochSeconds, &local);
    const auto millis = (sinceEpoch - wholeSeconds).count();
    std::array<char, 32> buffer{};
    const auto written = fmt::format_to_n(buffer.data(), buffer.size(), "{:02}:{:02}:{:02}.{:03}  ",
                                          local.tm_hour, local.tm_min, local.tm_sec, millis);
    return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(std::min(written.size, buffer.size())));
}

}  // namespace tessarin
