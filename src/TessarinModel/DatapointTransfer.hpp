#pragma once

#include "ModbusCore/DatapointCSV.hpp"
#include "ModbusCore/Uuid.hpp"
#include "PollerCore/Poll.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/PointStatus.hpp"

#include <QByteArray>
#include <QString>

#include <expected>
#include <optional>
#include <string>
#include <unordered_map>

// The Import Datapoints (CSV)… and Export Datapoints (CSV)… commands of one poll: the dialogs,
// the file work and the texts; the CSV format itself is DatapointCSV's.
namespace tessarin::DatapointTransfer {

// A file's bytes as UTF-8 text: as they are when they are valid UTF-8, else read as
// ISO Latin 1 (what older spreadsheets write), which every byte sequence is.
[[nodiscard]] std::string utf8FromFileBytes(const QByteArray& bytes);

// The question asked after a good parse: "{n} datapoints found", whether to add or replace,
// and below it how many lines were skipped with the first five of them.
[[nodiscard]] AlertRequest importAlert(const DatapointCSV::ImportResult& result);

// The error notice when the file gave no datapoint, ending with the first skipped line's text.
[[nodiscard]] QString nothingFoundMessage(const DatapointCSV::ImportResult& result);

// Runs the import into the poll: open panel, read, parse, ask. True when the poll changed;
// the message for the error notice when the file gave nothing usable. A cancel at any step is
// false and leaves the poll as it was.
[[nodiscard]] std::expected<bool, QString> importInto(DesktopServices& services, Poll& poll);

// The poll's datapoints with the live value, where one was read, in place of the stored value.
[[nodiscard]] std::vector<Datapoint> withLiveValues(const Poll& poll,
                                                    const std::unordered_map<Uuid, PointStatus>& status);

// "{poll name}.csv", or "datapoints.csv" for a poll without a name. Characters that would
// make the name a path are replaced by "-".
[[nodiscard]] QString proposedFileName(const Poll& poll);

// Runs the export of the poll with its live values: save panel, then an atomic write. Gives
// the message for the error notice when writing failed; nothing after success or a cancel.
[[nodiscard]] std::optional<QString> exportPoll(
    DesktopServices& services, const Poll& poll, const std::unordered_map<Uuid, PointStatus>& status,
    DatapointCSV::Dialect dialect = DatapointCSV::Dialect::current());

}  // namespace tessarin::DatapointTransfer
