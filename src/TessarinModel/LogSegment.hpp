#pragma once

#include <QString>

#include <array>
#include <string_view>

namespace tessarin {

// One coloured piece of a log line. A line is a list of segments written one after the
// other and ended by a line feed; the kind alone decides colour and font.
struct LogSegment {
    enum class Kind { text, timestamp, meta, request, response, warning, error, system };

    Kind kind = Kind::text;
    QString text;

    bool operator==(const LogSegment&) const = default;
};

inline constexpr std::array<std::string_view, 8> logSegmentKindNames{
    "text", "timestamp", "meta", "request", "response", "warning", "error", "system"};

constexpr std::string_view rawValue(LogSegment::Kind kind) {
    return logSegmentKindNames[static_cast<std::size_t>(kind)];
}

}  // namespace tessarin
