#pragma once

#include "ModbusCore/DatapointCSV.hpp"
#include "PollerCore/Poll.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/ValueHistory.hpp"

#include <QDateTime>
#include <QString>

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The value history as a CSV file for spreadsheets: one row per sample with its time, poll,
// datapoint label, value and unit, in time order, in the dialect of the user's locale.
namespace tessarin::HistoryExport {

// "modbus-history-2025-03-14T091502.csv" for that local time.
[[nodiscard]] QString proposedFileName(const QDateTime& now);

// "yyyy-MM-dd HH:mm:ss.SSS" in the local time zone, with ASCII digits whatever the locale.
[[nodiscard]] std::string timeText(std::chrono::system_clock::time_point time);

// A whole number below 10^15 in magnitude as an integer (215, not 215.0); any other value as
// the shortest text that reads back as the same double, in exponent form from 10^15 on and
// below 10^-4 (1e+15, 2.5e-05); "nan", "inf", "-inf". With a decimal comma every full stop
// becomes a comma.
[[nodiscard]] std::string valueText(double value, bool decimalComma);

// The field as written, quoted as the datapoint export quotes (DatapointCSV::quotedCell). Text
// fields pass DatapointCSV::textCell first, so that a name never runs as a formula.
[[nodiscard]] std::string field(std::string_view text, char separator);

// The whole file: byte order mark, the header "Time", "Poll", "Name", "Value", "Unit", then
// every sample of every datapoint of every poll, sorted by time (stably, so equal times keep
// poll and table order), each line ended by CR LF.
[[nodiscard]] std::string text(std::span<const Poll> polls, const ValueHistory& history,
                               DatapointCSV::Dialect dialect);

// The save panel of the Export History command, proposing a name for that local time.
[[nodiscard]] SavePanelRequest savePanelRequest(const QDateTime& now);

// Writes the text atomically to path. Gives the message for the error notice when writing
// failed.
[[nodiscard]] std::optional<QString> write(const QString& path, std::span<const Poll> polls,
                                           const ValueHistory& history,
                                           DatapointCSV::Dialect dialect = DatapointCSV::Dialect::current());

}  // namespace tessarin::HistoryExport
