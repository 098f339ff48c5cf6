#include "TessarinModel/HistoryExport.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/AtomicFile.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

namespace tessarin::HistoryExport {
namespace {

using Clock = std::chrono::system_clock;

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view lineEnd = "\r\n";
constexpr double integerTextLimit = 1e15;

// Rows come out in time order, so many share their second: the calendar conversion, which
// asks the time zone database, runs once per second rather than once per row.
class TimeFormatter {
public:
    std::string format(Clock::time_point time) {
        const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time);
        const auto seconds = std::chrono::floor<std::chrono::seconds>(milliseconds);
        if (!m_second || *m_second != seconds) {
            m_second = seconds;
            const std::time_t since = Clock::to_time_t(Clock::time_point(seconds));
            std::tm local{};
            localtime_r(&since, &local);
            m_prefix =
                fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", local.tm_year + 1900, local.tm_mon + 1,
                            local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        }
        return fmt::format("{}.{:03}", m_prefix, (milliseconds - seconds).count());
    }

private:
    std::optional<std::chrono::sys_seconds> m_second;
    std::string m_prefix;
};

struct PointRows {
    std::string poll;   // as written, quoted where needed
    std::string label;  // as written
    std::string unit;   // as written
    ValueHistory::Runs samples;
};

struct Row {
    Clock::time_point time;
    std::uint32_t point;
    std::uint32_t sample;
};

}  // namespace

QString proposedFileName(const QDateTime& now) {
    return QStringLiteral("modbus-history-") + now.toString(QStringLiteral("yyyy-MM-dd'T'HHmmss")) +
           QStringLiteral(".csv");
}

std::string timeText(Clock::time_point time) {
    return TimeFormatter().format(time);
}

std::string valueText(double value, bool decimalComma) {
    std::string text;
    if (std::isnan(value)) {
        text = "nan";
    } else if (std::isinf(value)) {
        text = value > 0 ? "inf" : "-inf";
    } else if (value == std::trunc(value) && std::fabs(value) < integerTextLimit) {
        text = fmt::format("{}", static_cast<long long>(value));
    } else {
        std::array<char, 64> buffer{};
        auto [end, error] =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific);
        const std::string_view scientific(buffer.data(), end);
        int exponent = 0;
        const std::size_t e = scientific.find('e');
        std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1),
                        scientific.data() + scientific.size(), exponent);
        if (exponent >= 15 || exponent < -4) {
            text = scientific;
        } else {
            end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed)
                      .ptr;
            text.assign(buffer.data(), end);
        }
    }
    if (decimalComma) {
        std::ranges::replace(text, '.', ',');
    }
    return text;
}

std::string field(std::string_view text, char separator) {
    return DatapointCSV::quotedCell(text, separator);
}

std::string text(std::span<const Poll> polls, const ValueHistory& history, DatapointCSV::Dialect dialect) {
    const char separator = dialect.separator;
    std::vector<PointRows> points;
    std::vector<Row> rows;
    for (const Poll& poll : polls) {
        const std::string pollField = field(DatapointCSV::textCell(poll.name), separator);
        for (const Datapoint& point : poll.datapoints) {
            const ValueHistory::Runs samples = history.samples(point.id);
            if (samples.size() == 0) {
                continue;
            }
            const auto index = static_cast<std::uint32_t>(points.size());
            points.push_back(
                {.poll = pollField,
                 .label = field(DatapointCSV::textCell(utf8Text(PollerModel::label(point))), separator),
                 .unit = field(DatapointCSV::textCell(point.engineeringUnit), separator),
                 .samples = samples});
            for (std::uint32_t i = 0; i < samples.size(); ++i) {
                rows.push_back({.time = samples[i].time, .point = index, .sample = i});
            }
        }
    }
    std::ranges::stable_sort(rows, {}, &Row::time);

    std::string out(byteOrderMark);
    const std::string sep(1, separator);
    out += fmt::format("Time{0}Poll{0}Name{0}Value{0}Unit", sep);
    out += lineEnd;
    TimeFormatter formatter;
    for (const Row& row : rows) {
        const PointRows& point = points[row.point];
        const Sample& sample = point.samples[row.sample];
        // A time never needs quotes; a value with a decimal comma does, for spreadsheets that
        // take a comma for a separator whatever the file uses.
        out += formatter.format(sample.time);
        out += separator;
        out += point.poll;
        out += separator;
        out += point.label;
        out += separator;
        out += field(valueText(sample.value, dialect.decimalComma), separator);
        out += separator;
        out += point.unit;
        out += lineEnd;
    }
    return out;
}

SavePanelRequest savePanelRequest(const QDateTime& now) {
    return {.type = FileType::commaSeparatedText, .proposedName = proposedFileName(now)};
}

std::optional<QString> write(const QString& path, std::span<const Poll> polls, const ValueHistory& history,
                             DatapointCSV::Dialect dialect) {
    if (auto written = AtomicFile::writeText(path, text(polls, history, dialect)); !written) {
        return qtText(L10n::Errors::saveFailed(utf8Text(written.error())));
    }
    return std::nullopt;
}

}  // namespace tessarin::HistoryExport
