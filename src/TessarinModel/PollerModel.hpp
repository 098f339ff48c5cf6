#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/Uuid.hpp"
#include "ModbusTCP/TCPFraming.hpp"
#include "PollerCore/Poll.hpp"
#include "PollerCore/PollPlan.hpp"
#include "PollerCore/PollerEvent.hpp"
#include "PollerCore/PollerProject.hpp"
#include "PollerCore/WriteMode.hpp"
#include "TessarinModel/ChartSeries.hpp"
#include "TessarinModel/LogSegment.hpp"
#include "TessarinModel/LogTimestamp.hpp"
#include "TessarinModel/OutputBuffer.hpp"
#include "TessarinModel/PointStatus.hpp"
#include "TessarinModel/PollerState.hpp"
#include "TessarinModel/PollerStatistics.hpp"
#include "TessarinModel/ProjectStore.hpp"
#include "TessarinModel/ValueHistory.hpp"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace tessarin {

class DesktopServices;
class PollerEngine;

// The one observable object of the application: the project spread over its properties,
// reading with the live status of every datapoint, writing, the communication log and the
// autosave. Every view binds to its properties and every user action is one of its
// operations. Main thread only; the engine's events reach it through the Qt event loop.
//
// What a view may hold on to:
// - polls() returns the same vector object for the model's lifetime, but every edit of polls
//   or datapoints (any operation under "Editing", setPolls, apply, an import, a project opened
//   or made new) replaces its contents: a Poll*, Datapoint* or iterator into it, and
//   selectedPoll(), are dead once pollsChanged has been emitted. Keep ids (Uuid) and look up
//   again. Reading never edits the polls.
// - status(id) points into a map that every read, write answer, edit and stop may rehash:
//   use the pointer at once, do not keep it. The same holds for history() runs.
// - output() is one object for the model's lifetime.
// - Any signal may be emitted from inside an operation; a slot may call further operations,
//   including edits, and the model never holds a pointer into its own lists across a
//   signal or a dialog.
//
// Signal order:
// - apply (and so newProject, openProject): when reading, the stop's signals (stateChanged,
//   connectionProblemChanged, ...) come first; then hostChanged, portTextChanged,
//   framingChanged, timeoutMsChanged, writeModeChanged, maxGapChanged as far as each value
//   changed; then pollsChanged (pointStatusChanged for dropped statuses follows it), then
//   selectedPollIDChanged, statusCleared and historyVersionChanged; canStartChanged follows
//   the change that moved it. Between pollsChanged and selectedPollIDChanged the selected id
//   may name a poll that is gone: selectedPoll() is then null.
// - removePoll: pollsChanged (with pointStatusChanged for the removed datapoints), then
//   selectedPollIDChanged when the selection moved to a neighbour.
// - addPoll and duplicatePoll: pollsChanged, then selectedPollIDChanged for the new tab.
class PollerModel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PollerModel)
    Q_PROPERTY(
        std::optional<QString> connectionProblem READ connectionProblem NOTIFY connectionProblemChanged)
    Q_PROPERTY(tessarin::PollerState state READ state NOTIFY stateChanged)
    Q_PROPERTY(tessarin::PollerStatistics statistics READ statistics NOTIFY statisticsChanged)
    Q_PROPERTY(bool canStart READ canStart NOTIFY canStartChanged)
    Q_PROPERTY(std::optional<QString> errorMessage READ errorMessage WRITE setErrorMessage NOTIFY
                   errorMessageChanged)
    Q_PROPERTY(std::optional<QString> writeError READ writeError WRITE setWriteError NOTIFY writeErrorChanged)
    Q_PROPERTY(QString host READ host WRITE setHost NOTIFY hostChanged)
    Q_PROPERTY(QString portText READ portText WRITE setPortText NOTIFY portTextChanged)
    Q_PROPERTY(int timeoutMs READ timeoutMs WRITE setTimeoutMs NOTIFY timeoutMsChanged)
    Q_PROPERTY(tessarin::TCPFraming framing READ framing WRITE setFraming NOTIFY framingChanged)
    Q_PROPERTY(tessarin::WriteMode writeMode READ writeMode WRITE setWriteMode NOTIFY writeModeChanged)
    Q_PROPERTY(int maxGap READ maxGap WRITE setMaxGap NOTIFY maxGapChanged)
    Q_PROPERTY(std::vector<tessarin::Poll> polls READ polls WRITE setPolls NOTIFY pollsChanged)
    Q_PROPERTY(std::optional<tessarin::Uuid> selectedPollID READ selectedPollID WRITE setSelectedPollID NOTIFY
                   selectedPollIDChanged)
    Q_PROPERTY(bool outputIsEmpty READ outputIsEmpty NOTIFY outputIsEmptyChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(int historyVersion READ historyVersion NOTIFY historyVersionChanged)
    Q_PROPERTY(bool showNoResponseHint READ showNoResponseHint NOTIFY showNoResponseHintChanged)
    Q_PROPERTY(bool showTimestamps READ showTimestamps WRITE setShowTimestamps NOTIFY showTimestampsChanged)
    Q_PROPERTY(bool showRawFrames READ showRawFrames WRITE setShowRawFrames NOTIFY showRawFramesChanged)
    Q_PROPERTY(
        bool logOnlyProblems READ logOnlyProblems WRITE setLogOnlyProblems NOTIFY logOnlyProblemsChanged)
    Q_PROPERTY(bool autoscroll READ autoscroll WRITE setAutoscroll NOTIFY autoscrollChanged)

public:
    // The response timeouts a project may hold; any other value is read as 1000.
    static constexpr std::array<int, 6> allowedTimeoutsMs{100, 200, 500, 1000, 2000, 5000};
    static constexpr int defaultTimeoutMs = 1000;
    static constexpr int autosaveDelayMs = ProjectStore::autosaveDelayMs;
    static constexpr int historyPublishDelayMs = 250;

    // A write handed to the engine whose result has not come back yet.
    struct PendingWrite {
        Uuid pointID;
        double value = 0.0;  // as typed, in engineering units

        bool operator==(const PendingWrite&) const = default;
    };

    // Reads the log options from the settings and the start project from the autosave file
    // (the example project when there is none usable). Reading does not start.
    explicit PollerModel(DesktopServices& services, QObject* parent = nullptr);
    ~PollerModel() override;

    // Published state.
    [[nodiscard]] const std::optional<QString>& connectionProblem() const { return m_connectionProblem; }
    [[nodiscard]] PollerState state() const { return m_state; }
    [[nodiscard]] const PollerStatistics& statistics() const { return m_statistics; }
    [[nodiscard]] bool outputIsEmpty() const { return m_outputIsEmpty; }
    [[nodiscard]] const std::unordered_map<Uuid, PointStatus>& status() const { return m_status; }
    [[nodiscard]] const PointStatus* status(const Uuid& pointID) const;
    [[nodiscard]] int historyVersion() const { return m_historyVersion; }
    [[nodiscard]] bool showNoResponseHint() const { return m_showNoResponseHint; }
    // File work that may hold the main thread for a while (a big register map's open, import
    // or save) runs between busyChanged to true and busyChanged to false; a view shows a wait
    // cursor or a progress indication meanwhile. Never true while a dialog is open.
    [[nodiscard]] bool busy() const { return m_busy; }
    [[nodiscard]] const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    [[nodiscard]] const std::optional<QString>& writeError() const { return m_writeError; }
    // The notices clear these when the user dismisses them.
    void setErrorMessage(std::optional<QString> message);
    void setWriteError(std::optional<QString> message);

    // The project, as the connection bar and the tabs edit it.
    [[nodiscard]] const QString& host() const { return m_host; }
    [[nodiscard]] const QString& portText() const { return m_portText; }
    [[nodiscard]] TCPFraming framing() const { return m_framing; }
    [[nodiscard]] int timeoutMs() const { return m_timeoutMs; }
    [[nodiscard]] WriteMode writeMode() const { return m_writeMode; }
    [[nodiscard]] int maxGap() const { return m_maxGap; }
    [[nodiscard]] const std::vector<Poll>& polls() const { return m_polls; }
    [[nodiscard]] const std::optional<Uuid>& selectedPollID() const { return m_selectedPollID; }
    void setHost(const QString& host);
    void setPortText(const QString& portText);
    void setFraming(TCPFraming framing);
    // A timeout outside the allowed list is stored as 1000.
    void setTimeoutMs(int timeoutMs);
    void setWriteMode(WriteMode mode);
    void setMaxGap(int maxGap);
    // Every edit of polls and datapoints ends here: status and history of datapoints that are
    // gone or now read differently are dropped, the engine gets new plans when what is read
    // changed, and the autosave is scheduled.
    void setPolls(std::vector<Poll> polls);
    void setSelectedPollID(std::optional<Uuid> pollID);

    // Log options, kept in the settings.
    [[nodiscard]] bool showTimestamps() const { return m_showTimestamps; }
    [[nodiscard]] bool showRawFrames() const { return m_showRawFrames; }
    [[nodiscard]] bool logOnlyProblems() const { return m_logOnlyProblems; }
    [[nodiscard]] bool autoscroll() const { return m_autoscroll; }
    void setShowTimestamps(bool on);
    void setShowRawFrames(bool on);
    void setLogOnlyProblems(bool on);
    void setAutoscroll(bool on);

    [[nodiscard]] OutputBuffer& output() { return *m_output; }

    // Project and persistence.
    [[nodiscard]] PollerProject makeProject() const;
    void apply(const PollerProject& project);
    [[nodiscard]] static std::optional<QString> autosavePath();
    void scheduleAutosave();
    [[nodiscard]] bool autosavePending() const { return m_store.autosavePending(); }
    void autosaveNow();
    [[nodiscard]] bool confirmReplacingList();
    void newProject();
    void openProject();
    bool saveProjectAs();

    // Reading.
    void start();
    void stop();
    void toggleReading();
    [[nodiscard]] bool canStart() const;
    void handle(const PollerEvent& event);
    [[nodiscard]] std::vector<PollPlan> buildPlans() const;
    // Gives every datapoint whose unit the framing cannot read a status that says so.
    void markUnreadableUnits();
    [[nodiscard]] std::optional<std::uint16_t> parsedPort() const;
    // Decimal 1...65535 with an optional leading "+", white space around ignored.
    [[nodiscard]] static std::optional<std::uint16_t> parsePort(const QString& text);
    [[nodiscard]] QString endpointText() const;
    [[nodiscard]] std::optional<bool> health(const Poll& poll) const;
    void dismissNoResponseHint();

    // Writing.
    void write(const Datapoint& point, double value);
    [[nodiscard]] static QString label(const Datapoint& point);
    [[nodiscard]] const std::unordered_map<Uuid, PendingWrite>& pendingWrites() const {
        return m_pendingWrites;
    }

    // Value history.
    [[nodiscard]] const ValueHistory& history() const { return m_history; }
    // Empties the history; the chart learns of it at once.
    void clearHistory();
    // The chart's series of a datapoint since the cut-off (all samples without one).
    [[nodiscard]] std::optional<ChartSeries> series(
        const Datapoint& point, std::optional<std::chrono::system_clock::time_point> since) const;
    void exportHistory();

    // Editing. Datapoint operations act on the selected poll and do nothing without one; an
    // id that does not exist (any more) changes nothing.
    [[nodiscard]] const Poll* selectedPoll() const;
    std::optional<Uuid> addDatapoint(const std::optional<Uuid>& after);
    void duplicateDatapoints(const std::set<Uuid>& ids);
    void deleteDatapoints(const std::set<Uuid>& ids);
    // One table cell's change, applied to the datapoint with that id in the selected poll.
    void editDatapoint(const Uuid& pointID, const std::function<void(Datapoint&)>& edit);
    void setPlotted(bool on, const Uuid& pointID);
    // Name, interval and enabled flag of a poll, edited in place.
    void editPoll(const Uuid& pollID, const std::function<void(Poll&)>& edit);
    void addPoll();
    void duplicatePoll(const Uuid& pollID);
    void removePoll(const Uuid& pollID);
    void importDatapointsCSV();
    void exportDatapointsCSV();

    // The log.
    void appendLine(std::vector<LogSegment> line);
    void clearLog();
    void saveLog();

    // The application is about to end: stop reading, then write the autosave at once.
    void prepareForQuit();

Q_SIGNALS:
    void connectionProblemChanged();
    void stateChanged();
    void statisticsChanged();
    void outputIsEmptyChanged();
    // The status of these datapoints changed or was removed; the table redraws their rows.
    void pointStatusChanged(const std::vector<tessarin::Uuid>& pointIDs);
    // Every status was removed at once.
    void statusCleared();
    void historyVersionChanged();
    void showNoResponseHintChanged();
    void errorMessageChanged();
    void writeErrorChanged();
    void hostChanged();
    void portTextChanged();
    void framingChanged();
    void timeoutMsChanged();
    void writeModeChanged();
    void maxGapChanged();
    void pollsChanged();
    void selectedPollIDChanged();
    void showTimestampsChanged();
    void showRawFramesChanged();
    void logOnlyProblemsChanged();
    void autoscrollChanged();
    // Host, port text or polls changed in a way that turned canStart() over.
    void canStartChanged();
    // A write was queued, answered or dropped by a stop.
    void pendingWritesChanged();
    void busyChanged();
    // An autosave file was written.
    void autosaveWritten();

private:
    void loadStartProject();
    void setState(PollerState state);
    void setConnectionProblem(std::optional<QString> problem);
    void setStatistics(const PollerStatistics& statistics);
    void setShowNoResponseHint(bool on);
    void setOutputIsEmpty(bool empty);
    void updateCanStart();
    void setBusy(bool on);
    // Busy for its lifetime.
    class BusyScope {
    public:
        explicit BusyScope(PollerModel& model) : m_model(model) { m_model.setBusy(true); }
        ~BusyScope() { m_model.setBusy(false); }
        Q_DISABLE_COPY_MOVE(BusyScope)

    private:
        PollerModel& m_model;
    };
    void setPollsWithoutAutosave(std::vector<Poll> polls);
    void clearAllStatus();
    void bumpHistoryVersion();
    void recordSample(const Uuid& pointID, std::chrono::system_clock::time_point time, double value);
    void forgetHistory(const Uuid& pointID);
    void dropAllHistory();

    void handleRead(const PollerEvent::Read& read);
    void handleWrote(const PollerEvent::Wrote& wrote);
    // Counts into statistics; the no-response hint follows at once.
    void countFailure(const PollFailure& failure, PollerStatistics& statistics);
    [[nodiscard]] std::vector<std::uint8_t> pduInFrame(std::span<const std::uint8_t> frame) const;
    [[nodiscard]] const Datapoint* findDatapoint(const Uuid& pointID) const;
    // Runs edit on a copy of the polls and writes them back when it asks to.
    void editPolls(const std::function<bool(std::vector<Poll>&)>& edit);
    void editSelectedPoll(const std::function<bool(Poll&)>& edit);

    DesktopServices& m_services;
    std::unique_ptr<OutputBuffer> m_output;
    LogTimestamp m_logTimestamp;

    std::optional<QString> m_connectionProblem;
    PollerState m_state = PollerState::stopped;
    PollerStatistics m_statistics;
    bool m_outputIsEmpty = true;
    std::unordered_map<Uuid, PointStatus> m_status;
    int m_historyVersion = 0;
    bool m_showNoResponseHint = false;
    std::optional<QString> m_errorMessage;
    std::optional<QString> m_writeError;

    QString m_host;
    QString m_portText;
    TCPFraming m_framing = TCPFraming::modbusTCP;
    int m_timeoutMs = defaultTimeoutMs;
    WriteMode m_writeMode = WriteMode::single;
    int m_maxGap = 0;
    std::vector<Poll> m_polls;
    std::optional<Uuid> m_selectedPollID;

    bool m_showTimestamps = true;
    bool m_showRawFrames = false;
    bool m_logOnlyProblems = false;
    bool m_autoscroll = true;
    bool m_canStart = false;
    bool m_busy = false;

    ValueHistory m_history;
    std::unique_ptr<PollerEngine> m_engine;
    // Tells the events of an engine that was stopped from those of the one running now.
    std::uint64_t m_engineGeneration = 0;
    // What the running engine was made with: the pickers may change meanwhile, its frames not.
    TCPFraming m_engineFraming = TCPFraming::modbusTCP;
    int m_engineTimeoutMs = defaultTimeoutMs;
    std::unordered_map<Uuid, PendingWrite> m_pendingWrites;
    int m_consecutiveFailures = 0;
    bool m_noResponseHintDismissed = false;

    ProjectStore m_store;
    QTimer m_historyPublishTimer;
};

}  // namespace tessarin
