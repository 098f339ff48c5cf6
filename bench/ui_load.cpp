// Whether the window keeps up with the model. Against the libmodbus peer on loopback, ten
// polls of 100 holding registers each (one read block per poll, 1,000 datapoints) are read
//   (a) by a headless PollerModel, and
//   (b) by the real main window (offscreen, at its first-start size, the first poll's table
//       showing, the bottom pane closed as on a first start), whose model drives every view.
// Flat out (interval 0, the engine reads back to back) the two take turns round by round and
// their medians of completed reads per second are compared: whatever the views cost on the
// main thread shows as fewer reads. During the window's rounds the table's viewport counts the
// rows its paint events cover, to show that reads repaint only rows whose text changed.
//
// Then the window alone at an interval of 100 ms for the same 1,000 datapoints, in the normal
// event loop, as a person would run it:
//   busy: the main thread's CPU time (CLOCK_THREAD_CPUTIME_ID) over the wall time of the run.
//         CPU time rather than time spent inside event delivery, because on a shared machine a
//         preempted thread would otherwise count as busy while it waits for a core.
//   loop lateness: a precise 10 ms timer runs beside the reads; each tick's delay past its due
//         time (the previous tick plus 10 ms) is one sample, reported as its 99th percentile.
//
// The last line is for scripts:
//   "ratio ui/model=<x> busy_100ms=<fraction> loop_p99_ms=<ms>"
//
//   ui_load [seconds per setup and round, default 3] [rounds, default 5]

#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/PollArea.hpp"
#include "TessarinViews/TessarinApplication.hpp"
#include "support/PeerProcess.hpp"

#include "EventRounds.hpp"
#include "Median.hpp"
#include "NoDialogs.hpp"
#include "OwnHome.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fmt/format.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace tessarin;
using bench::backlog;
using bench::drainEvents;
using bench::median;
using bench::NoDialogs;
using bench::runEventLoop;
using Clock = std::chrono::steady_clock;

constexpr int pollCount = 10;
constexpr int pointsPerPoll = 100;
constexpr int calmIntervalMs = 100;
constexpr int tickMs = 10;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "ui_load: %s\n", why.c_str());
    std::exit(1);
}

double seconds(Clock::duration span) {
    return std::chrono::duration<double>(span).count();
}

double threadCPUSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Poll k reads the holding registers k*100 to k*100+99, which the peer fills with their own
// addresses; a few datapoints of each poll are signed or scaled so that the table shows more
// than one kind of text.
std::vector<Poll> loadPolls(int intervalMs) {
    std::vector<Poll> polls;
    for (int k = 0; k < pollCount; ++k) {
        Poll poll;
        poll.name = fmt::format("Poll {}", k + 1);
        poll.intervalMs = intervalMs;
        for (int i = 0; i < pointsPerPoll; ++i) {
            Datapoint point;
            point.name = fmt::format("Register {}", k * pointsPerPoll + i);
            point.address = static_cast<std::uint16_t>(k * pointsPerPoll + i);
            if (i % 4 == 1) point.dataType = DataType::int16;
            if (i % 4 == 2) {
                point.scale = 0.1;
                point.engineeringUnit = std::string(1, 'V');
            }
            poll.datapoints.push_back(point);
        }
        polls.push_back(std::move(poll));
    }
    return polls;
}

void applyPolls(PollerModel& model, std::uint16_t port, int intervalMs) {
    PollerProject project = model.makeProject();
    project.host = "127.0.0.1";
    project.port = port;
    project.framing = TCPFraming::modbusTCP;
    project.polls = loadPolls(intervalMs);
    model.apply(project);
    model.setSelectedPollID(model.polls().front().id);
    model.autosaveNow();
}

// Completed reads per second from start to the last one, as the model counts them.
double readRate(PollerModel& model, double forSeconds) {
    long reads = 0;
    long failures = 0;
    const Clock::time_point start = Clock::now();
    Clock::time_point last = start;
    const auto connection = QObject::connect(&model, &PollerModel::statisticsChanged, [&] {
        const PollerStatistics& statistics = model.statistics();
        if (statistics.requests > reads) {
            reads = statistics.requests;
            failures = statistics.requests - statistics.responses;
            last = Clock::now();
        }
    });
    model.start();
    runEventLoop(forSeconds);
    model.stop();
    QObject::disconnect(connection);
    drainEvents();
    if (reads == 0) fail("no read reached the main thread");
    if (failures > 0) fail(fmt::format("{} reads failed", failures));
    return static_cast<double>(reads) / seconds(last - start);
}

// Counts the table rows that paint events of the viewport cover.
class RowPaintCounter final : public QObject {
public:
    explicit RowPaintCounter(const DatapointTableView& table) : m_table(table) {}
    long paints = 0;
    long rows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            std::set<int> covered;
            for (const QRect& area : static_cast<QPaintEvent*>(event)->region()) {
                const int first = m_table.rowAt(area.top());
                if (first < 0) continue;
                int last = m_table.rowAt(area.bottom());
                if (last < 0) last = m_table.model()->rowCount() - 1;
                for (int row = first; row <= last; ++row) covered.insert(row);
            }
            rows += static_cast<long>(covered.size());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const DatapointTableView& m_table;
};

struct CalmRun {
    double busy = 0;
    double lateP99Ms = 0;
    double lateMaxMs = 0;
    long reads = 0;
};

CalmRun calmRun(PollerModel& model, double forSeconds) {
    std::vector<double> lateness;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(tickMs);
    Clock::time_point due;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        lateness.push_back(std::max(0.0, seconds(now - due) * 1000.0));
        due = now + std::chrono::milliseconds(tickMs);
    });
    model.start();
    // The first second connects and settles; only what follows is measured.
    QTest::qWait(1000);
    const long readsBefore = model.statistics().requests;
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(forSeconds * 1000), &loop, &QEventLoop::quit);
    const double cpuStart = threadCPUSeconds();
    const Clock::time_point start = Clock::now();
    due = start + std::chrono::milliseconds(tickMs);
    tick.start();
    loop.exec();
    tick.stop();
    const double wall = seconds(Clock::now() - start);
    const double cpu = threadCPUSeconds() - cpuStart;
    CalmRun run;
    run.reads = model.statistics().requests - readsBefore;
    model.stop();
    drainEvents();
    if (lateness.empty()) fail("the tick timer never fired");
    std::ranges::sort(lateness);
    run.busy = cpu / wall;
    run.lateP99Ms = lateness[std::min(
        lateness.size() - 1,
        static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(lateness.size()))) - 1)];
    run.lateMaxMs = lateness.back();
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const double roundSeconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (roundSeconds <= 0 || rounds < 1) fail("usage: ui_load [seconds per setup and round] [rounds]");

    QTemporaryDir home;
    if (!home.isValid()) fail("cannot make a temporary folder");
    bench::useOwnHome(home.path());
    QApplication app(argc, argv);
    app.installEventFilter(&backlog());

    auto peer = test::PeerProcess::start(test::PeerKind::libmodbusTCP);
    if (!peer) fail(peer.error());

    NoDialogs dialogs;
    PollerModel headless(dialogs);
    applyPolls(headless, peer->port(), 0);

    TessarinApplication tessarin;
    PollerModel& windowed = tessarin.model();
    applyPolls(windowed, peer->port(), 0);
    MainWindow& window = tessarin.mainWindow();
    window.resize(MainWindow::defaultSize);
    tessarin.showMainWindow();
    if (!QTest::qWaitForWindowExposed(&window)) fail("the window never showed");
    auto* table = window.findChild<DatapointTableView*>();
    if (table == nullptr || !table->isVisible() || table->model()->rowCount() != pointsPerPoll)
        fail("the first poll's table is not showing");
    RowPaintCounter painted(*table);
    table->viewport()->installEventFilter(&painted);
    const int visibleRows = table->rowAt(table->viewport()->height() - 1) < 0
                                ? pointsPerPoll
                                : table->rowAt(table->viewport()->height() - 1) + 1;

    std::printf(
        "%d polls of %d holding registers, interval 0, %d rounds of %.1f s per setup; %d table rows in "
        "view\n",
        pollCount, pointsPerPoll, rounds, roundSeconds, visibleRows);
    readRate(headless, 0.3);  // warm-up, not counted
    readRate(windowed, 0.3);

    std::vector<double> modelRates;
    std::vector<double> windowRates;
    long windowReads = 0;
    double windowSeconds = 0;
    painted.paints = painted.rows = 0;
    for (int i = 0; i < rounds; ++i) {
        // Who goes first alternates, so neither always meets a warmer or colder machine.
        if (i % 2 == 0) modelRates.push_back(readRate(headless, roundSeconds));
        windowRates.push_back(readRate(windowed, roundSeconds));
        if (i % 2 == 1) modelRates.push_back(readRate(headless, roundSeconds));
        windowReads += static_cast<long>(windowRates.back() * roundSeconds);
        windowSeconds += roundSeconds;
        std::printf("round %d   model %8.0f reads/s   window %8.0f reads/s\n", i + 1, modelRates.back(),
                    windowRates.back());
    }
    const double modelRate = median(modelRates);
    const double windowRate = median(windowRates);
    std::printf("median    model %8.0f reads/s   window %8.0f reads/s\n", modelRate, windowRate);
    std::printf(
        "table     %ld paint events covering %ld rows in %.0f s (%.2f rows per read of the shown poll)\n",
        painted.paints, painted.rows, windowSeconds,
        static_cast<double>(painted.rows) / (static_cast<double>(windowReads) / pollCount));

    applyPolls(windowed, peer->port(), calmIntervalMs);
    const CalmRun calm = calmRun(windowed, std::max(3.0, roundSeconds * 2));
    std::printf(
        "window at %d ms: %ld reads, main thread busy %.3f, %d ms tick late p99 %.2f ms, max %.2f ms\n",
        calmIntervalMs, calm.reads, calm.busy, tickMs, calm.lateP99Ms, calm.lateMaxMs);

    tessarin.prepareForQuit();
    std::printf("ratio ui/model=%.3f busy_100ms=%.3f loop_p99_ms=%.2f\n", windowRate / modelRate, calm.busy,
                calm.lateP99Ms);
    return 0;
}
