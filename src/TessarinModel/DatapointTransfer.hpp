#pragma once

#include "ModbusCore/DatapointCSV.hpp"
#include "ModbusCore/Uuid.hpp"
#include "PollerCore/Poll.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/PointStatus.hpp"

#include <QByteArray>
#include <QString>

#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

// The Import Datapoints (CSV)… and Export Datapoints (CSV)… commands of one poll: the dialogs,
// the file work and the texts; the CSV format itself is DatapointCSV's.
namespace tessarin::DatapointTransfer {

// A file's bytes as UTF-8 text: as they are when they are valid UTF-8, else read as
// Windows-1252 (what spreadsheets on Windows write), which every byte sequence is.
[[nodiscard]] std::string utf8FromFileBytes(const QByteArray& bytes);

// The question asked after a good parse: "{n} datapoints found", whether to add or replace,
// and below it how many lines were skipped with the first five of them.
[[nodiscard]] AlertRequest importAlert(const DatapointCSV::ImportResult& result);

// The error notice when the file gave no datapoint, ending with the first skipped line's text.
[[nodiscard]] QString nothingFoundMessage(const DatapointCSV::ImportResult& result);

// What the user chose to import: the file's datapoints, to be added to the list or to
// replace it.
struct ImportChoice {
    std::vector<Datapoint> datapoints;
    bool replace = false;

    bool operator==(const ImportChoice&) const = default;
};

// The import's dialogs and file work: open panel, read, parse, ask. Touches no poll, so that
// the caller looks its poll up only after the dialogs, whose event loops may let a view commit
// an edit. Nothing after a cancel at any step; the message for the error notice when the file
// gave nothing usable. setBusy, when given, is told when the file's reading and parsing
// begin and end, which for a big register map takes a while.
[[nodiscard]] std::expected<std::optional<ImportChoice>, QString> askImport(
    DesktopServices& services, const std::function<void(bool)>& setBusy = {});

// Adds the chosen datapoints to the poll's list or replaces the list (and what it plots).
void applyImport(Poll& poll, ImportChoice choice);

// The poll's datapoints with the live value, where one was read, in place of the stored value.
[[nodiscard]] std::vector<Datapoint> withLiveValues(const Poll& poll,
                                                    const std::unordered_map<Uuid, PointStatus>& status);

// "{poll name}.csv", or "datapoints.csv" for a poll without a name. Characters that would
// make the name a path are replaced by "-".
[[nodiscard]] QString proposedFileName(const Poll& poll);

// The save panel of the poll's export: a CSV file named after the poll.
[[nodiscard]] SavePanelRequest exportPanelRequest(const Poll& poll);

// Writes the poll with its live values to path atomically. Gives the message for the error
// notice when writing failed.
[[nodiscard]] std::optional<QString> writeExport(
    const QString& path, const Poll& poll, const std::unordered_map<Uuid, PointStatus>& status,
    DatapointCSV::Dialect dialect = DatapointCSV::Dialect::current());

}  // namespace tessarin::DatapointTransfer
