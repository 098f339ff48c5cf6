#include "TessarinModel/DatapointTransfer.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/AtomicFile.hpp"
#include "TessarinModel/ModelText.hpp"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstddef>

namespace tessarin::DatapointTransfer {
namespace {

constexpr std::size_t issuesShown = 5;

std::string issueText(const DatapointCSV::ImportIssue& issue) {
    return L10n::Errors::importIssue(issue);
}

}  // namespace

std::string utf8FromFileBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return bytes.toStdString();
    }
    return QString::fromLatin1(bytes).toStdString();
}

AlertRequest importAlert(const DatapointCSV::ImportResult& result) {
    std::string informative = L10n::Import::question();
    if (!result.issues.empty()) {
        informative += "\n\n";
        informative += L10n::Import::skipped(static_cast<std::int64_t>(result.issues.size()));
        const std::size_t shown = std::min(issuesShown, result.issues.size());
        for (std::size_t i = 0; i < shown; ++i) {
            informative += '\n';
            informative += issueText(result.issues[i]);
        }
    }
    return {.message = qtText(L10n::Import::title(static_cast<std::int64_t>(result.datapoints.size()))),
            .informativeText = qtText(informative),
            .buttons = {qtText(L10n::Import::add()), qtText(L10n::Import::replace()),
                        qtText(L10n::Import::cancel())}};
}

QString nothingFoundMessage(const DatapointCSV::ImportResult& result) {
    const std::string details = result.issues.empty() ? std::string() : issueText(result.issues.front());
    return qtText(L10n::Errors::importNothing(details));
}

std::expected<std::optional<ImportChoice>, QString> askImport(DesktopServices& services) {
    const auto path = services.runOpenPanel(
        {.allowedTypes = {FileType::commaSeparatedText, FileType::plainText, FileType::tabSeparatedText}});
    if (!path || path->isEmpty()) {
        return std::nullopt;
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::unexpected(qtText(L10n::Errors::fileOpenFailed(utf8Text(QFileInfo(*path).fileName()))));
    }
    DatapointCSV::ImportResult result = DatapointCSV::parse(utf8FromFileBytes(file.readAll()));
    if (result.datapoints.empty()) {
        return std::unexpected(nothingFoundMessage(result));
    }
    switch (services.runAlert(importAlert(result))) {
        case AlertResponse::first:
            return ImportChoice{.datapoints = std::move(result.datapoints), .replace = false};
        case AlertResponse::second:
            return ImportChoice{.datapoints = std::move(result.datapoints), .replace = true};
        case AlertResponse::third:
            break;
    }
    return std::nullopt;
}

void applyImport(Poll& poll, ImportChoice choice) {
    if (choice.replace) {
        poll.datapoints = std::move(choice.datapoints);
        poll.plotted.clear();
    } else {
        std::ranges::move(choice.datapoints, std::back_inserter(poll.datapoints));
    }
}

std::vector<Datapoint> withLiveValues(const Poll& poll, const std::unordered_map<Uuid, PointStatus>& status) {
    std::vector<Datapoint> points = poll.datapoints;
    for (Datapoint& point : points) {
        if (const auto found = status.find(point.id); found != status.end()) {
            point.value = found->second.value.value_or(point.value);
        }
    }
    return points;
}

QString proposedFileName(const Poll& poll) {
    QString name = poll.name.empty() ? QStringLiteral("datapoints") : qtText(poll.name);
    name.replace(u'/', u'-');
    name.replace(u'\\', u'-');
    return name + QStringLiteral(".csv");
}

SavePanelRequest exportPanelRequest(const Poll& poll) {
    return {.type = FileType::commaSeparatedText, .proposedName = proposedFileName(poll)};
}

std::optional<QString> writeExport(const QString& path, const Poll& poll,
                                   const std::unordered_map<Uuid, PointStatus>& status,
                                   DatapointCSV::Dialect dialect) {
    const std::string text = DatapointCSV::export_(withLiveValues(poll, status), dialect);
    if (auto written = AtomicFile::writeText(path, text); !written) {
        return qtText(L10n::Errors::saveFailed(utf8Text(written.error())));
    }
    return std::nullopt;
}

}  // namespace tessarin::DatapointTransfer
