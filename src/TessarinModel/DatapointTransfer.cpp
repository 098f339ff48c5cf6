#include "TessarinModel/DatapointTransfer.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/AtomicFile.hpp"
#include "TessarinModel/ModelText.hpp"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstddef>

namespace tessarin::DatapointTransfer {
namespace {

constexpr std::size_t issuesShown = 5;

// Windows-1252 differs from ISO Latin 1 only in 0x80 ... 0x9F, where it has printable
// characters ("€" at 0x80) instead of control codes. The five bytes it leaves undefined become
// U+FFFD, visibly unreadable rather than invisible.
constexpr std::array<char16_t, 32> windows1252High{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(windows1252High[byte - 0x80]) : QChar(char16_t{byte});
    }
    return text;
}

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
    return fromWindows1252(bytes).toStdString();
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

std::expected<std::optional<ImportChoice>, QString> askImport(DesktopServices& services,
                                                              const std::function<void(bool)>& setBusy) {
    const auto path = services.runOpenPanel(
        {.allowedTypes = {FileType::commaSeparatedText, FileType::plainText, FileType::tabSeparatedText}});
    if (!path || path->isEmpty()) {
        return std::nullopt;
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::unexpected(qtText(L10n::Errors::fileOpenFailed(utf8Text(QFileInfo(*path).fileName()))));
    }
    if (setBusy) {
        setBusy(true);
    }
    DatapointCSV::ImportResult result = DatapointCSV::parse(utf8FromFileBytes(file.readAll()));
    if (setBusy) {
        setBusy(false);
    }
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
