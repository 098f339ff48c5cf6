#include "TessarinModel/PollerModel.hpp"

#include "Localization/L10n.hpp"
#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/PDU.hpp"
#include "ModbusCore/ValueCodec.hpp"
#include "PollerCore/PollerEngine.hpp"
#include "PollerCore/ReadPlanner.hpp"
#include "TessarinModel/AtomicFile.hpp"
#include "TessarinModel/AutosaveFile.hpp"
#include "TessarinModel/DatapointTransfer.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/ExampleProject.hpp"
#include "TessarinModel/HistoryExport.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollEditing.hpp"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>

#include <fmt/format.h>
#include <algorithm>
#include <chrono>

namespace tessarin {
namespace {

using Kind = LogSegment::Kind;

const QString timestampsKey = QStringLiteral("timestamps");
const QString rawFramesKey = QStringLiteral("rawFrames");
const QString onlyProblemsKey = QStringLiteral("onlyProblems");
const QString autoscrollKey = QStringLiteral("autoscroll");

QSettings userDefaults() {
    return QSettings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin"));
}

int normalisedTimeout(int timeoutMs) {
    const auto& allowed = PollerModel::allowedTimeoutsMs;
    return std::ranges::find(allowed, timeoutMs) != allowed.end() ? timeoutMs : PollerModel::defaultTimeoutMs;
}

LogSegment segment(Kind kind, std::string_view utf8) {
    return {kind, qtText(utf8)};
}

QString hexText(std::span<const std::uint8_t> bytes) {
    return qtText(hexString(bytes));
}

// Durations are shown in whole milliseconds, cut rather than rounded.
long long wholeMilliseconds(double seconds) {
    return static_cast<long long>(seconds * 1000.0);
}

// The part of a datapoint that decides what its stored values mean.
bool readsTheSame(const Datapoint& a, const Datapoint& b) {
    return a.unitID == b.unitID && a.table == b.table && a.address == b.address && a.dataType == b.dataType &&
           a.wordOrder == b.wordOrder && a.scale == b.scale;
}

// Everything the engine's plans depend on, in one comparable text.
std::string readSignature(const std::vector<Poll>& polls) {
    std::string signature;
    for (const Poll& poll : polls) {
        signature +=
            fmt::format("{}|{}|{}|", poll.id.text(), poll.intervalMs, poll.enabled ? "true" : "false");
        bool first = true;
        for (const Datapoint& point : poll.datapoints) {
            signature += fmt::format("{}{}.{}.{}.{}", first ? "" : ",", point.unitID, rawValue(point.table),
                                     point.address, point.count());
            first = false;
        }
        signature += '\n';
    }
    return signature;
}

std::unordered_map<Uuid, const Datapoint*> datapointsByID(const std::vector<Poll>& polls) {
    std::unordered_map<Uuid, const Datapoint*> byID;
    for (const Poll& poll : polls) {
        for (const Datapoint& point : poll.datapoints) {
            byID.emplace(point.id, &point);
        }
    }
    return byID;
}

QString fileDateTime() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HHmmss"));
}

}  // namespace

PollerModel::PollerModel(DesktopServices& services, QObject* parent)
    : QObject(parent), m_services(services), m_store([this] { autosaveNow(); }) {
    const QSettings settings = userDefaults();
    m_showTimestamps = settings.value(timestampsKey, true).toBool();
    m_showRawFrames = settings.value(rawFramesKey, false).toBool();
    m_logOnlyProblems = settings.value(onlyProblemsKey, false).toBool();
    m_autoscroll = settings.value(autoscrollKey, true).toBool();

    m_output = std::make_unique<OutputBuffer>();
    m_output->setAutoscroll(m_autoscroll);

    m_historyPublishTimer.setSingleShot(true);
    m_historyPublishTimer.setInterval(historyPublishDelayMs);
    connect(&m_historyPublishTimer, &QTimer::timeout, this, &PollerModel::bumpHistoryVersion);

    loadStartProject();
}

PollerModel::~PollerModel() {
    if (m_engine) {
        m_engine->stop();
    }
    // A shell that ends without prepareForQuit must not lose the last second of edits.
    if (m_store.autosavePending()) {
        autosaveNow();
    }
}

// ---------------------------------------------------------------------------------------
// Project and persistence

void PollerModel::loadStartProject() {
    std::optional<PollerProject> project = m_store.loadAutosave();
    if (!project || project->polls.empty()) {
        project = makeExampleProject();
    }
    m_host = qtText(project->host);
    m_portText = QString::number(project->port);
    m_framing = project->framing;
    m_timeoutMs = normalisedTimeout(project->timeoutMs);
    m_writeMode = project->writeMode;
    m_maxGap = project->maxGap;
    m_polls = std::move(project->polls);
    if (!m_polls.empty()) {
        m_selectedPollID = m_polls.front().id;
    }
    m_canStart = canStart();
}

PollerProject PollerModel::makeProject() const {
    PollerProject project;
    project.version = 1;
    project.host = utf8Text(m_host.trimmed());
    project.port = parsedPort().value_or(modbusTCPPort);
    project.framing = m_framing;
    project.timeoutMs = m_timeoutMs;
    project.writeMode = m_writeMode;
    project.maxGap = m_maxGap;
    project.polls = m_polls;
    return project;
}

void PollerModel::apply(const PollerProject& project) {
    if (m_state != PollerState::stopped) {
        stop();
    }
    setHost(qtText(project.host));
    setPortText(QString::number(project.port));
    setFraming(project.framing);
    setTimeoutMs(project.timeoutMs);
    setWriteMode(project.writeMode);
    setMaxGap(project.maxGap);
    setPolls(project.polls);
    setSelectedPollID(m_polls.empty() ? std::nullopt : std::optional<Uuid>(m_polls.front().id));
    clearAllStatus();
    bumpHistoryVersion();
}

std::optional<QString> PollerModel::autosavePath() {
    return AutosaveFile::defaultPath();
}

void PollerModel::scheduleAutosave() {
    m_store.scheduleAutosave();
}

void PollerModel::autosaveNow() {
    const BusyScope busy(*this);
    if (m_store.writeAutosave(makeProject())) {
        Q_EMIT autosaveWritten();
    }
}

bool PollerModel::confirmReplacingList() {
    const bool anyDatapoint =
        std::ranges::any_of(m_polls, [](const Poll& poll) { return !poll.datapoints.empty(); });
    if (!anyDatapoint) {
        return true;
    }
    const AlertResponse answer =
        m_services.runAlert({.message = qtText(L10n::Project::replaceTitle()),
                             .informativeText = qtText(L10n::Project::replaceMessage()),
                             .buttons = {qtText(L10n::Project::save()), qtText(L10n::Project::dontSave()),
                                         qtText(L10n::Import::cancel())}});
    switch (answer) {
        case AlertResponse::first:
            return saveProjectAs();
        case AlertResponse::second:
            return true;
        case AlertResponse::third:
            break;
    }
    return false;
}

void PollerModel::newProject() {
    if (!confirmReplacingList()) {
        return;
    }
    PollerProject project = makeProject();
    Poll poll;
    poll.name = L10n::Polls::newName(1);
    poll.intervalMs = 1000;
    poll.enabled = true;
    project.polls = {std::move(poll)};
    apply(project);
}

void PollerModel::openProject() {
    if (!confirmReplacingList()) {
        return;
    }
    const auto path = m_services.runOpenPanel({.allowedTypes = {FileType::json}});
    if (!path) {
        return;
    }
    const BusyScope busy(*this);
    const std::optional<PollerProject> project = ProjectStore::readFile(*path);
    if (!project || project->polls.empty()) {
        setErrorMessage(qtText(L10n::Errors::fileOpenFailed(utf8Text(QFileInfo(*path).fileName()))));
        return;
    }
    apply(*project);
}

bool PollerModel::saveProjectAs() {
    const auto path =
        m_services.runSavePanel({.type = FileType::json, .proposedName = QStringLiteral("tessarin.json")});
    if (!path || path->isEmpty()) {
        return false;
    }
    const BusyScope busy(*this);
    if (auto written = ProjectStore::writeFile(*path, makeProject()); !written) {
        setErrorMessage(qtText(L10n::Errors::saveFailed(utf8Text(written.error()))));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Properties

const PointStatus* PollerModel::status(const Uuid& pointID) const {
    const auto found = m_status.find(pointID);
    return found != m_status.end() ? &found->second : nullptr;
}

void PollerModel::setErrorMessage(std::optional<QString> message) {
    if (m_errorMessage != message) {
        m_errorMessage = std::move(message);
        Q_EMIT errorMessageChanged();
    }
}

void PollerModel::setWriteError(std::optional<QString> message) {
    if (m_writeError != message) {
        m_writeError = std::move(message);
        Q_EMIT writeErrorChanged();
    }
}

void PollerModel::setHost(const QString& host) {
    if (m_host != host) {
        m_host = host;
        Q_EMIT hostChanged();
        updateCanStart();
        scheduleAutosave();
    }
}

void PollerModel::setPortText(const QString& portText) {
    if (m_portText != portText) {
        m_portText = portText;
        Q_EMIT portTextChanged();
        updateCanStart();
        scheduleAutosave();
    }
}

void PollerModel::setFraming(TCPFraming framing) {
    if (m_framing != framing) {
        m_framing = framing;
        Q_EMIT framingChanged();
        scheduleAutosave();
    }
}

void PollerModel::setTimeoutMs(int timeoutMs) {
    timeoutMs = normalisedTimeout(timeoutMs);
    if (m_timeoutMs != timeoutMs) {
        m_timeoutMs = timeoutMs;
        Q_EMIT timeoutMsChanged();
        scheduleAutosave();
    }
}

void PollerModel::setWriteMode(WriteMode mode) {
    if (m_writeMode != mode) {
        m_writeMode = mode;
        Q_EMIT writeModeChanged();
        scheduleAutosave();
    }
}

void PollerModel::setMaxGap(int maxGap) {
    if (m_maxGap != maxGap) {
        m_maxGap = maxGap;
        Q_EMIT maxGapChanged();
        scheduleAutosave();
        if (m_engine) {
            m_engine->setPlans(buildPlans());
        }
    }
}

void PollerModel::setPolls(std::vector<Poll> polls) {
    if (m_polls == polls) {
        return;
    }
    std::vector<Poll> previous = std::exchange(m_polls, std::move(polls));

    const auto before = datapointsByID(previous);
    const auto after = datapointsByID(m_polls);
    std::vector<Uuid> dropped;
    for (const auto& [pointID, pointStatus] : m_status) {
        const auto now = after.find(pointID);
        if (now == after.end()) {
            dropped.push_back(pointID);
            continue;
        }
        const auto then = before.find(pointID);
        if (then != before.end() && !readsTheSame(*then->second, *now->second)) {
            dropped.push_back(pointID);
        }
    }
    for (const Uuid& pointID : dropped) {
        m_status.erase(pointID);
        forgetHistory(pointID);
    }
    if (m_engine && readSignature(previous) != readSignature(m_polls)) {
        m_engine->setPlans(buildPlans());
        markUnreadableUnits();
    }
    Q_EMIT pollsChanged();
    if (!dropped.empty()) {
        Q_EMIT pointStatusChanged(dropped);
    }
    updateCanStart();
    scheduleAutosave();
}

void PollerModel::setSelectedPollID(std::optional<Uuid> pollID) {
    if (m_selectedPollID != pollID) {
        m_selectedPollID = pollID;
        Q_EMIT selectedPollIDChanged();
    }
}

void PollerModel::setShowTimestamps(bool on) {
    if (m_showTimestamps != on) {
        m_showTimestamps = on;
        userDefaults().setValue(timestampsKey, on);
        Q_EMIT showTimestampsChanged();
    }
}

void PollerModel::setShowRawFrames(bool on) {
    if (m_showRawFrames != on) {
        m_showRawFrames = on;
        userDefaults().setValue(rawFramesKey, on);
        Q_EMIT showRawFramesChanged();
    }
}

void PollerModel::setLogOnlyProblems(bool on) {
    if (m_logOnlyProblems != on) {
        m_logOnlyProblems = on;
        userDefaults().setValue(onlyProblemsKey, on);
        Q_EMIT logOnlyProblemsChanged();
    }
}

void PollerModel::setAutoscroll(bool on) {
    if (m_autoscroll != on) {
        m_autoscroll = on;
        m_output->setAutoscroll(on);
        userDefaults().setValue(autoscrollKey, on);
        Q_EMIT autoscrollChanged();
    }
}

void PollerModel::setState(PollerState state) {
    if (m_state != state) {
        m_state = state;
        Q_EMIT stateChanged();
    }
}

void PollerModel::setConnectionProblem(std::optional<QString> problem) {
    if (m_connectionProblem != problem) {
        m_connectionProblem = std::move(problem);
        Q_EMIT connectionProblemChanged();
    }
}

void PollerModel::setStatistics(const PollerStatistics& statistics) {
    if (m_statistics != statistics) {
        m_statistics = statistics;
        Q_EMIT statisticsChanged();
    }
}

void PollerModel::setShowNoResponseHint(bool on) {
    if (m_showNoResponseHint != on) {
        m_showNoResponseHint = on;
        Q_EMIT showNoResponseHintChanged();
    }
}

void PollerModel::setOutputIsEmpty(bool empty) {
    if (m_outputIsEmpty != empty) {
        m_outputIsEmpty = empty;
        Q_EMIT outputIsEmptyChanged();
    }
}

void PollerModel::setBusy(bool on) {
    if (m_busy != on) {
        m_busy = on;
        Q_EMIT busyChanged();
    }
}

void PollerModel::updateCanStart() {
    const bool now = canStart();
    if (m_canStart != now) {
        m_canStart = now;
        Q_EMIT canStartChanged();
    }
}

void PollerModel::clearAllStatus() {
    m_status.clear();
    dropAllHistory();
    Q_EMIT statusCleared();
}

void PollerModel::bumpHistoryVersion() {
    m_historyPublishTimer.stop();
    ++m_historyVersion;
    Q_EMIT historyVersionChanged();
}

void PollerModel::recordSample(const Uuid& pointID, std::chrono::system_clock::time_point time,
                               double value) {
    m_history.record(pointID, Sample{time, value});
    // At most four publications a second, however fast the polls run.
    if (!m_historyPublishTimer.isActive()) {
        m_historyPublishTimer.start();
    }
}

void PollerModel::forgetHistory(const Uuid& pointID) {
    m_history.forget(pointID);
}

void PollerModel::dropAllHistory() {
    m_history.clear();
}

void PollerModel::clearHistory() {
    m_history.clear();
    bumpHistoryVersion();
}

std::optional<ChartSeries> PollerModel::series(
    const Datapoint& point, std::optional<std::chrono::system_clock::time_point> since) const {
    return m_history.series(point, since);
}

void PollerModel::exportHistory() {
    // The panel runs an event loop in which a view may commit an edit: the polls are read
    // only after it.
    const auto path = m_services.runSavePanel(HistoryExport::savePanelRequest(QDateTime::currentDateTime()));
    if (!path || path->isEmpty()) {
        return;
    }
    if (auto message = HistoryExport::write(*path, m_polls, m_history)) {
        setErrorMessage(std::move(message));
    }
}

// ---------------------------------------------------------------------------------------
// Editing

void PollerModel::editPolls(const std::function<bool(std::vector<Poll>&)>& edit) {
    std::vector<Poll> polls = m_polls;
    if (edit(polls)) {
        setPolls(std::move(polls));
    }
}

void PollerModel::editSelectedPoll(const std::function<bool(Poll&)>& edit) {
    editPolls([&](std::vector<Poll>& polls) {
        Poll* poll = PollEditing::selectedPoll(polls, m_selectedPollID);
        return poll != nullptr && edit(*poll);
    });
}

const Poll* PollerModel::selectedPoll() const {
    return PollEditing::selectedPoll(m_polls, m_selectedPollID);
}

std::optional<Uuid> PollerModel::addDatapoint(const std::optional<Uuid>& after) {
    std::optional<Uuid> added;
    editSelectedPoll([&](Poll& poll) {
        added = PollEditing::addDatapoint(poll, after);
        return true;
    });
    return added;
}

void PollerModel::duplicateDatapoints(const std::set<Uuid>& ids) {
    editSelectedPoll([&](Poll& poll) {
        PollEditing::duplicateDatapoints(poll, ids);
        return true;
    });
}

void PollerModel::deleteDatapoints(const std::set<Uuid>& ids) {
    editSelectedPoll([&](Poll& poll) {
        PollEditing::deleteDatapoints(poll, ids);
        return true;
    });
}

void PollerModel::editDatapoint(const Uuid& pointID, const std::function<void(Datapoint&)>& edit) {
    editSelectedPoll([&](Poll& poll) { return PollEditing::editDatapoint(poll, pointID, edit); });
}

void PollerModel::setPlotted(bool on, const Uuid& pointID) {
    editSelectedPoll([&](Poll& poll) {
        PollEditing::setPlotted(poll, on, pointID);
        return true;
    });
}

void PollerModel::editPoll(const Uuid& pollID, const std::function<void(Poll&)>& edit) {
    editPolls([&](std::vector<Poll>& polls) {
        const auto poll = std::ranges::find(polls, pollID, &Poll::id);
        if (poll == polls.end()) {
            return false;
        }
        edit(*poll);
        return true;
    });
}

void PollerModel::addPoll() {
    std::optional<Uuid> added;
    editPolls([&](std::vector<Poll>& polls) {
        added = PollEditing::addPoll(polls);
        return true;
    });
    setSelectedPollID(added);
}

void PollerModel::duplicatePoll(const Uuid& pollID) {
    std::optional<Uuid> copy;
    editPolls([&](std::vector<Poll>& polls) {
        copy = PollEditing::duplicatePoll(polls, pollID);
        return copy.has_value();
    });
    if (copy) {
        setSelectedPollID(copy);
    }
}

void PollerModel::removePoll(const Uuid& pollID) {
    std::optional<Uuid> selected = m_selectedPollID;
    editPolls([&](std::vector<Poll>& polls) {
        const std::size_t before = polls.size();
        selected = PollEditing::removePoll(polls, m_selectedPollID, pollID);
        return polls.size() != before;
    });
    setSelectedPollID(selected);
}

void PollerModel::importDatapointsCSV() {
    const Poll* poll = selectedPoll();
    if (poll == nullptr) {
        return;
    }
    // The dialogs run event loops in which a view may commit an edit; the import is applied
    // to the poll as it is after them, found again by its id.
    const Uuid pollID = poll->id;
    auto choice = DatapointTransfer::askImport(m_services, [this](bool on) { setBusy(on); });
    if (!choice) {
        setErrorMessage(std::move(choice.error()));
        return;
    }
    if (*choice) {
        const BusyScope busy(*this);
        editPoll(pollID, [&](Poll& target) { DatapointTransfer::applyImport(target, std::move(**choice)); });
    }
}

void PollerModel::exportDatapointsCSV() {
    const Poll* poll = selectedPoll();
    if (poll == nullptr) {
        return;
    }
    const Uuid pollID = poll->id;
    const auto path = m_services.runSavePanel(DatapointTransfer::exportPanelRequest(*poll));
    if (!path || path->isEmpty()) {
        return;
    }
    // Found again: the panel's event loop may have let a view edit or remove it.
    const auto current = std::ranges::find(m_polls, pollID, &Poll::id);
    if (current == m_polls.end()) {
        return;
    }
    if (auto message = DatapointTransfer::writeExport(*path, *current, m_status)) {
        setErrorMessage(std::move(message));
    }
}

// ---------------------------------------------------------------------------------------
// Reading

std::optional<std::uint16_t> PollerModel::parsePort(const QString& text) {
    QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'+')) {
        trimmed.remove(0, 1);
    }
    if (trimmed.isEmpty() || !std::ranges::all_of(trimmed, [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    bool ok = false;
    const uint port = trimmed.toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(port);
}

std::optional<std::uint16_t> PollerModel::parsedPort() const {
    return parsePort(m_portText);
}

QString PollerModel::endpointText() const {
    const auto port = parsedPort();
    return m_host.trimmed() + u':' + (port ? QString::number(*port) : QStringLiteral("…"));
}

bool PollerModel::canStart() const {
    return !m_host.trimmed().isEmpty() && parsedPort() && std::ranges::any_of(m_polls, [](const Poll& poll) {
        return poll.enabled && !poll.datapoints.empty();
    });
}

std::optional<bool> PollerModel::health(const Poll& poll) const {
    bool any = false;
    for (const Datapoint& point : poll.datapoints) {
        if (const PointStatus* pointStatus = status(point.id)) {
            if (pointStatus->failure) {
                return false;
            }
            any = true;
        }
    }
    return any ? std::optional<bool>(true) : std::nullopt;
}

void PollerModel::dismissNoResponseHint() {
    m_noResponseHintDismissed = true;
    setShowNoResponseHint(false);
}

void PollerModel::markUnreadableUnits() {
    // The planner leaves these out; without a word they would show no value and no reason.
    std::vector<Uuid> changed;
    for (const Poll& poll : m_polls) {
        if (!poll.enabled) {
            continue;
        }
        for (const Datapoint& point : poll.datapoints) {
            if (!ReadPlanner::readsUnit(point.unitID, m_framing)) {
                m_status[point.id].failure = PollFailure::unitNotReadable(point.unitID);
                changed.push_back(point.id);
            }
        }
    }
    if (!changed.empty()) {
        Q_EMIT pointStatusChanged(changed);
    }
}

std::vector<PollPlan> PollerModel::buildPlans() const {
    std::vector<PollPlan> plans;
    for (const Poll& poll : m_polls) {
        if (poll.enabled) {
            plans.push_back({.id = poll.id,
                             .interval = poll.intervalMs / 1000.0,
                             .blocks = ReadPlanner::blocks(poll.datapoints, m_maxGap, m_framing)});
        }
    }
    return plans;
}

void PollerModel::start() {
    if (m_state != PollerState::stopped) {
        return;
    }
    const QString host = m_host.trimmed();
    if (host.isEmpty()) {
        setErrorMessage(qtText(L10n::Errors::enterHost()));
        return;
    }
    const auto port = parsedPort();
    if (!port) {
        setErrorMessage(qtText(L10n::Errors::invalidTCPPort()));
        return;
    }
    const std::uint64_t generation = ++m_engineGeneration;
    QPointer<PollerModel> self(this);
    auto onEvent = [self, generation](const PollerEvent& event) {
        if (self && self->m_engineGeneration == generation) {
            self->handle(event);
        }
    };
    // The application object outlives any worker, so it is a safe target from the worker
    // thread; whether the model is still there is asked on the main thread, in onEvent.
    auto post = [](PollerEngine::Task task) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
    };
    m_engine = std::make_unique<PollerEngine>(utf8Text(host), *port, m_framing, m_timeoutMs / 1000.0,
                                              std::move(onEvent), std::move(post));
    m_engineFraming = m_framing;
    m_engineTimeoutMs = m_timeoutMs;
    setState(PollerState::connecting);
    setConnectionProblem(std::nullopt);
    setStatistics({});
    m_consecutiveFailures = 0;
    setShowNoResponseHint(false);
    m_noResponseHintDismissed = false;
    appendLine({segment(Kind::system, "--- " + L10n::Log::connecting(utf8Text(endpointText())) + " ---")});
    m_engine->start(buildPlans());
    markUnreadableUnits();
}

void PollerModel::stop() {
    if (m_state == PollerState::stopped) {
        return;
    }
    if (m_engine) {
        m_engine->stop();
        m_engine.reset();
    }
    ++m_engineGeneration;
    setState(PollerState::stopped);
    setConnectionProblem(std::nullopt);
    setShowNoResponseHint(false);
    if (!m_pendingWrites.empty()) {
        m_pendingWrites.clear();
        Q_EMIT pendingWritesChanged();
    }
    appendLine({segment(Kind::system, "--- " + L10n::Log::stopped() + " ---")});
}

void PollerModel::toggleReading() {
    if (m_state == PollerState::stopped) {
        start();
    } else {
        stop();
    }
}

void PollerModel::handle(const PollerEvent& event) {
    if (!m_engine) {
        return;
    }
    if (const auto* connected = std::get_if<PollerEvent::Connected>(&event.payload)) {
        setState(PollerState::running);
        setConnectionProblem(std::nullopt);
        appendLine({segment(Kind::system, "--- " + L10n::Log::connected(connected->address) + " ---")});
    } else if (const auto* failed = std::get_if<PollerEvent::ConnectionFailed>(&event.payload)) {
        setState(PollerState::connecting);
        setConnectionProblem(qtText(failed->reason));
        appendLine({segment(Kind::error, "✕ " + failed->reason)});
    } else if (std::holds_alternative<PollerEvent::Disconnected>(event.payload)) {
        setState(PollerState::connecting);
        appendLine({segment(Kind::error, "✕ " + L10n::Log::disconnected())});
    } else if (const auto* read = std::get_if<PollerEvent::Read>(&event.payload)) {
        handleRead(*read);
    } else if (const auto* wrote = std::get_if<PollerEvent::Wrote>(&event.payload)) {
        handleWrote(*wrote);
    } else if (const auto* dropped = std::get_if<PollerEvent::FramesDropped>(&event.payload)) {
        // A device whose answers come late is worth knowing about, even when they harm nothing.
        appendLine({segment(Kind::warning,
                            "⚠ " + L10n::Log::framesDropped(static_cast<std::int64_t>(dropped->count)) + " "),
                    {Kind::response, hexText(dropped->first)}});
    }
}

std::vector<std::uint8_t> PollerModel::pduInFrame(std::span<const std::uint8_t> frame) const {
    constexpr std::size_t mbapLength = 7;
    if (m_engineFraming == TCPFraming::modbusTCP) {
        if (frame.size() <= mbapLength) {
            return {};
        }
        return {frame.begin() + mbapLength, frame.end()};
    }
    if (frame.size() < 4) {
        return {};
    }
    return {frame.begin() + 1, frame.end() - 2};
}

void PollerModel::countFailure(const PollFailure& failure, PollerStatistics& statistics) {
    switch (failure.kind) {
        case PollFailure::Kind::unexpectedUnit:
        case PollFailure::Kind::unexpectedFunction:
        case PollFailure::Kind::crcMismatch:
        case PollFailure::Kind::malformed:
            ++statistics.errors;
            break;
        case PollFailure::Kind::exception:
            ++statistics.exceptions;
            ++statistics.responses;
            break;
        case PollFailure::Kind::timeout:
            ++statistics.timeouts;
            break;
        case PollFailure::Kind::noConnection:
        case PollFailure::Kind::unitNotReadable:
            break;
    }
    if (failure.kind == PollFailure::Kind::timeout || failure.kind == PollFailure::Kind::crcMismatch) {
        ++m_consecutiveFailures;
        if (m_consecutiveFailures > 2 && !m_noResponseHintDismissed) {
            setShowNoResponseHint(true);
        }
    }
}

void PollerModel::handleRead(const PollerEvent::Read& read) {
    PollerStatistics statistics = m_statistics;
    ++statistics.requests;
    const auto now = std::chrono::system_clock::now();
    std::vector<Uuid> changed;
    // Statuses and samples first, while no signal has run: a slot may edit the polls and
    // free the datapoints this loop walks.
    if (const auto poll = std::ranges::find(m_polls, read.poll, &Poll::id); poll != m_polls.end()) {
        for (const Datapoint& point : poll->datapoints) {
            if (!read.block.contains(point)) {
                continue;
            }
            if (!read.result) {
                PointStatus& pointStatus = m_status[point.id];
                pointStatus.failure = read.result.error().failure;
                pointStatus.updated = now;
                changed.push_back(point.id);
            } else if (auto decoded = ReadPlanner::value(point, read.block, *read.result)) {
                m_status[point.id] = PointStatus{.value = decoded->value,
                                                 .raw = decoded->raw,
                                                 .failure = std::nullopt,
                                                 .updated = now,
                                                 .duration = read.duration};
                recordSample(point.id, now, decoded->value);
                changed.push_back(point.id);
            }
        }
    } else {
        setStatistics(statistics);
        return;
    }

    const std::vector<std::uint8_t> requestPDU = pduInFrame(read.request);
    const std::uint8_t functionCode = requestPDU.empty() ? 0 : requestPDU.front();
    if (!read.result) {
        const PollFailure& failure = read.result.error().failure;
        countFailure(failure, statistics);
        setStatistics(statistics);
        const Kind kind = failure.kind == PollFailure::Kind::exception ? Kind::warning : Kind::error;
        const std::string range =
            L10n::Log::range(code(read.block.table), read.block.address, read.block.count);
        appendLine({segment(
            kind, fmt::format("✕ {} {} {} · {}", L10n::Log::unitFunction(read.block.unit, functionCode),
                              L10n::Modbus::functionName(readFunction(read.block.table)), range,
                              L10n::Log::failure(failure, m_engineTimeoutMs)))});
    } else {
        ++statistics.responses;
        setStatistics(statistics);
        m_consecutiveFailures = 0;
        if (!m_logOnlyProblems) {
            std::vector<LogSegment> line{
                segment(Kind::response, "← "),
                segment(Kind::response, L10n::Log::unitFunction(read.block.unit, functionCode)),
                segment(Kind::meta, fmt::format(" {} · ", L10n::Modbus::functionName(functionCode))),
            };
            if (m_showRawFrames) {
                line.push_back({Kind::request, hexText(read.request)});
                line.push_back(segment(Kind::meta, "  ←  "));
                line.push_back({Kind::response, hexText(read.response)});
            } else {
                const std::vector<std::uint8_t> responsePDU = pduInFrame(read.response);
                const std::span<const std::uint8_t> data =
                    responsePDU.empty() ? std::span<const std::uint8_t>() : std::span(responsePDU).subspan(1);
                line.push_back({Kind::response, hexText(data)});
            }
            line.push_back(segment(Kind::meta, fmt::format("  ({} ms)", wholeMilliseconds(read.duration))));
            appendLine(std::move(line));
        }
    }
    if (!changed.empty()) {
        Q_EMIT pointStatusChanged(changed);
    }
}

// ---------------------------------------------------------------------------------------
// Writing

QString PollerModel::label(const Datapoint& point) {
    if (!point.name.empty()) {
        return qtText(point.name);
    }
    return qtText(fmt::format("{} {}", code(point.table), point.address));
}

const Datapoint* PollerModel::findDatapoint(const Uuid& pointID) const {
    for (const Poll& poll : m_polls) {
        for (const Datapoint& point : poll.datapoints) {
            if (point.id == pointID) {
                return &point;
            }
        }
    }
    return nullptr;
}

void PollerModel::write(const Datapoint& point, double value) {
    if (m_state == PollerState::stopped || !m_engine) {
        setWriteError(qtText(L10n::Notice::startFirst()));
        return;
    }
    if (!isWritable(point.table)) {
        return;
    }
    std::vector<std::uint8_t> pdu;
    if (point.table == RegisterTable::coil) {
        const bool on = value != 0.0;
        pdu = m_writeMode == WriteMode::single ? PDU::writeSingleCoil(point.address, on)
                                               : PDU::writeMultipleCoils(point.address, {on});
    } else {
        const std::vector<std::uint16_t> registers =
            ValueCodec::registersFor(value, point.dataType, point.wordOrder, point.scale);
        pdu = m_writeMode == WriteMode::single && registers.size() == 1
                  ? PDU::writeSingleRegister(point.address, registers.front())
                  : PDU::writeMultipleRegisters(point.address, registers);
    }
    const Uuid token = Uuid::random();
    m_pendingWrites[token] = {.pointID = point.id, .value = value};
    const std::uint8_t functionCode = pdu.front();
    m_engine->write(pdu, point.unitID, token);
    // point may be a view's reference into the polls: it is used up before the first signal,
    // whose slots may edit them.
    const std::string line =
        fmt::format("→ {} {} · {} = {}", L10n::Log::unitFunction(point.unitID, functionCode),
                    L10n::Modbus::functionName(functionCode), utf8Text(label(point)), point.formatted(value));
    if (!m_logOnlyProblems) {
        appendLine({segment(Kind::request, line)});
    }
    Q_EMIT pendingWritesChanged();
}

void PollerModel::handleWrote(const PollerEvent::Wrote& wrote) {
    PollerStatistics statistics = m_statistics;
    ++statistics.requests;

    std::optional<PendingWrite> pending;
    if (const auto found = m_pendingWrites.find(wrote.token); found != m_pendingWrites.end()) {
        pending = found->second;
        m_pendingWrites.erase(found);
    }
    // A copy: the signals below may run slots that edit the polls.
    std::optional<Datapoint> point;
    if (pending) {
        if (const Datapoint* found = findDatapoint(pending->pointID)) {
            point = *found;
        }
    }
    const std::string name = point ? utf8Text(label(*point)) : std::string("?");
    if (pending) {
        Q_EMIT pendingWritesChanged();
    }

    if (!wrote.result) {
        const PollFailure& failure = wrote.result.error().failure;
        countFailure(failure, statistics);
        setStatistics(statistics);
        const std::string reason = L10n::Log::failure(failure, m_engineTimeoutMs);
        appendLine({segment(Kind::error, fmt::format("✕ {} · {}", L10n::Log::writeFailed(name), reason))});
        setWriteError(qtText(L10n::Notice::writeFailed(name, reason)));
    } else {
        ++statistics.responses;
        setStatistics(statistics);
        m_consecutiveFailures = 0;
        if (pending && point) {
            std::string text = fmt::format("✎ {} · {} = {}", L10n::Log::unit(wrote.unit), name,
                                           point->formatted(pending->value));
            if (!point->engineeringUnit.empty()) {
                text += " " + point->engineeringUnit;
            }
            text += fmt::format("  ({} ms)", wholeMilliseconds(wrote.duration));
            appendLine({segment(Kind::response, text)});
            // A slot may have deleted the datapoint meanwhile; no status for a datapoint that is gone.
            if (findDatapoint(point->id) != nullptr) {
                PointStatus& pointStatus = m_status[point->id];
                pointStatus.value = pending->value;
                pointStatus.failure = std::nullopt;
                Q_EMIT pointStatusChanged({point->id});
            }
        }
    }
    if (m_showRawFrames && !m_logOnlyProblems) {
        QString text = QStringLiteral("  → ") + hexText(wrote.request);
        if (!wrote.response.empty()) {
            text += QStringLiteral("  ← ") + hexText(wrote.response);
        }
        appendLine({{Kind::meta, text}});
    }
}

// ---------------------------------------------------------------------------------------
// The log

void PollerModel::appendLine(std::vector<LogSegment> line) {
    if (m_showTimestamps) {
        line.insert(line.begin(), {Kind::timestamp, m_logTimestamp.text(std::chrono::system_clock::now())});
    }
    m_output->append(std::move(line));
    setOutputIsEmpty(false);
}

void PollerModel::clearLog() {
    m_output->clear();
    setOutputIsEmpty(true);
    setStatistics({});
}

void PollerModel::saveLog() {
    const auto path =
        m_services.runSavePanel({.type = FileType::plainText,
                                 .proposedName = QStringLiteral("tessarin-log-") + fileDateTime() + u".txt"});
    if (!path || path->isEmpty()) {
        return;
    }
    const QByteArray text = m_output->plainText().toUtf8();
    if (auto result = AtomicFile::write(*path, text); !result) {
        setErrorMessage(qtText(L10n::Errors::saveFailed(utf8Text(result.error()))));
    }
}

void PollerModel::prepareForQuit() {
    stop();
    autosaveNow();
}

}  // namespace tessarin
