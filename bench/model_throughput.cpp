// Whether the main thread keeps up with the fastest device. Against the libmodbus peer on
// loopback, one poll of 100 holding registers (one read block) runs with interval 0, so the
// engine reads back to back, and the events are counted where they land on the main thread:
//   (a) the engine alone, delivering to an empty handler through the Qt event loop;
//   (b) PollerModel handling every event: decoding, status, history, and a log line with
//       timestamps and raw frames.
// The two take turns round by round (loopback rates swing by tens of percent between runs on a
// 2-CPU machine) and their medians are compared. Then the log on its own: lines per second
// appended to the OutputBuffer at its 2,000,000-character cap, trims included, against a plain
// QTextDocument taking the same lines without formats or trimming. And the memory of a full
// value history per sample, as the allocator sees it.
//
// The last line is for scripts: "ratio model/engine=<x> log/plain=<y> bytes_per_sample=<z>".
//
//   model_throughput [seconds per setup and round, default 3] [rounds, default 5]

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/PDU.hpp"
#include "PollerCore/PollerEngine.hpp"
#include "PollerCore/ReadPlanner.hpp"
#include "TessarinModel/OutputBuffer.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinModel/ValueHistory.hpp"
#include "support/PeerProcess.hpp"

#include "EventRounds.hpp"
#include "Median.hpp"
#include "NoDialogs.hpp"
#include "OwnHome.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <fmt/format.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
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

constexpr int pointsPerBlock = 100;
constexpr int logLinesTimed = 20'000;
constexpr int historyPoints = 100;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "model_throughput: %s\n", why.c_str());
    std::exit(1);
}

double seconds(Clock::duration span) {
    return std::chrono::duration<double>(span).count();
}

Poll benchmarkPoll() {
    Poll poll;
    poll.name = "flat out";
    poll.intervalMs = 0;
    for (int i = 0; i < pointsPerBlock; ++i) {
        Datapoint point;
        point.name = fmt::format("R{}", i);
        point.address = static_cast<std::uint16_t>(i);
        poll.datapoints.push_back(point);
    }
    return poll;
}

// Read events delivered per second from start to the last one, with the counting of both setups.
struct Delivery {
    long reads = 0;
    long failures = 0;
    Clock::time_point start;
    Clock::time_point last;

    [[nodiscard]] double rate() const {
        if (reads == 0) fail("no read reached the main thread");
        if (failures > 0) fail(fmt::format("{} reads failed", failures));
        return static_cast<double>(reads) / seconds(last - start);
    }
};

double engineAlone(std::uint16_t port, const Poll& poll, double forSeconds) {
    Delivery delivery;
    auto onEvent = [&](const PollerEvent& event) {
        if (const auto* read = std::get_if<PollerEvent::Read>(&event.payload)) {
            ++delivery.reads;
            if (!read->result) ++delivery.failures;
            delivery.last = Clock::now();
        }
    };
    // The model's own way onto the main thread, so both setups pay the same for delivery.
    auto post = [](PollerEngine::Task task) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
    };
    PollerEngine engine("127.0.0.1", port, TCPFraming::modbusTCP, 1.0, onEvent, post);
    const PollPlan plan{.id = poll.id,
                        .interval = 0.0,
                        .blocks = ReadPlanner::blocks(poll.datapoints, 0, TCPFraming::modbusTCP)};
    delivery.start = Clock::now();
    engine.start({plan});
    runEventLoop(forSeconds);
    engine.stop();
    drainEvents();
    return delivery.rate();
}

double modelHandling(PollerModel& model, double forSeconds) {
    Delivery delivery;
    const auto connection = QObject::connect(&model, &PollerModel::statisticsChanged, [&] {
        const PollerStatistics& statistics = model.statistics();
        if (statistics.requests > delivery.reads) {
            delivery.reads = statistics.requests;
            delivery.failures = statistics.requests - statistics.responses;
            delivery.last = Clock::now();
        }
    });
    delivery.start = Clock::now();
    model.start();
    runEventLoop(forSeconds);
    model.stop();
    QObject::disconnect(connection);
    drainEvents();
    return delivery.rate();
}

// One log line of a good read of the benchmark's block, as the model writes it with
// timestamps and raw frames on.
std::vector<LogSegment> readLine() {
    using Kind = LogSegment::Kind;
    std::vector<std::uint8_t> request{0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x01};
    const auto pdu = PDU::read(RegisterTable::holdingRegister, 0, pointsPerBlock);
    request.insert(request.end(), pdu.begin(), pdu.end());
    std::vector<std::uint8_t> response{0x00, 0x01, 0x00, 0x00, 0x00, 0xCB, 0x01, 0x03, 0xC8};
    for (int i = 0; i < pointsPerBlock; ++i) appendUInt16(response, static_cast<std::uint16_t>(i));
    return {
        {Kind::timestamp, QStringLiteral("12:34:56.789  ")},
        {Kind::response, QStringLiteral("← ")},
        {Kind::response, QStringLiteral("Unit 1 · FC 03")},
        {Kind::meta, QStringLiteral(" Read holding registers · ")},
        {Kind::request, QString::fromStdString(hexString(request))},
        {Kind::meta, QStringLiteral("  ←  ")},
        {Kind::response, QString::fromStdString(hexString(response))},
        {Kind::meta, QStringLiteral("  (0 ms)")},
    };
}

qsizetype lineLength(const std::vector<LogSegment>& line) {
    qsizetype length = 1;  // the line feed
    for (const LogSegment& segment : line) length += segment.text.size();
    return length;
}

// Both documents start just below the cap, so the log trims from its first timed lines on.
qsizetype linesBelowCap(const std::vector<LogSegment>& line) {
    return OutputBuffer::defaultMaxCharacters / lineLength(line);
}

// Each line is rendered on its own, as when the device answers more slowly than the main
// thread handles an answer; faster devices fill larger batches, which render more cheaply.
double logAppendRate(const std::vector<LogSegment>& line) {
    OutputBuffer buffer;
    for (qsizetype i = linesBelowCap(line); i > 0; --i) buffer.append(line);
    buffer.render();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < logLinesTimed; ++i) {
        buffer.append(line);
        buffer.render();
    }
    return logLinesTimed / (static_cast<double>(timer.nsecsElapsed()) / 1e9);
}

double plainAppendRate(const std::vector<LogSegment>& line) {
    QString text;
    for (const LogSegment& segment : line) text += segment.text;
    text += u'\n';
    QTextDocument document;
    QTextCursor cursor(&document);
    for (qsizetype i = linesBelowCap(line); i > 0; --i) cursor.insertText(text);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < logLinesTimed; ++i) cursor.insertText(text);
    return logLinesTimed / (static_cast<double>(timer.nsecsElapsed()) / 1e9);
}

// Small blocks come from the arena, large ones (a full ring is 320 KB) are mapped singly.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap bytes per sample of full histories, allocator overhead and map nodes included.
double historyBytesPerSample() {
    const std::size_t before = heapInUse();
    ValueHistory history;
    std::vector<Uuid> ids(historyPoints);
    for (Uuid& id : ids) id = Uuid::random();
    const auto now = std::chrono::system_clock::now();
    for (std::size_t i = 0; i < ValueHistory::maxSamples + 1000; ++i) {
        for (const Uuid& id : ids) history.record(id, {now, static_cast<double>(i)});
    }
    const std::size_t after = heapInUse();
    return static_cast<double>(after - before) / static_cast<double>(history.sampleCount());
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const double roundSeconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (roundSeconds <= 0 || rounds < 1)
        fail("usage: model_throughput [seconds per setup and round] [rounds]");

    QTemporaryDir home;
    if (!home.isValid()) fail("cannot make a temporary folder");
    bench::useOwnHome(home.path());
    QGuiApplication app(argc, argv);
    app.installEventFilter(&backlog());

    auto peer = test::PeerProcess::start(test::PeerKind::libmodbusTCP);
    if (!peer) fail(peer.error());

    NoDialogs dialogs;
    PollerModel model(dialogs);
    PollerProject project = model.makeProject();
    project.host = "127.0.0.1";
    project.port = peer->port();
    project.framing = TCPFraming::modbusTCP;
    project.polls = {benchmarkPoll()};
    model.apply(project);
    model.autosaveNow();
    model.setShowTimestamps(true);
    model.setShowRawFrames(true);
    model.setLogOnlyProblems(false);
    const Poll& poll = model.polls().front();

    std::printf("%d holding registers in one block, interval 0, %d rounds of %.1f s per setup\n",
                pointsPerBlock, rounds, roundSeconds);
    engineAlone(peer->port(), poll, 0.3);  // warm-up, not counted
    modelHandling(model, 0.3);

    std::vector<double> engineRates;
    std::vector<double> modelRates;
    for (int i = 0; i < rounds; ++i) {
        engineRates.push_back(engineAlone(peer->port(), poll, roundSeconds));
        modelRates.push_back(modelHandling(model, roundSeconds));
        std::printf("round %d   engine alone %8.0f reads/s   model %8.0f reads/s\n", i + 1,
                    engineRates.back(), modelRates.back());
    }
    const double engineRate = median(engineRates);
    const double modelRate = median(modelRates);
    std::printf("median    engine alone %8.0f reads/s   model %8.0f reads/s\n", engineRate, modelRate);

    const std::vector<LogSegment> line = readLine();
    std::vector<double> logRates;
    std::vector<double> plainRates;
    for (int i = 0; i < 5; ++i) {
        logRates.push_back(logAppendRate(line));
        plainRates.push_back(plainAppendRate(line));
    }
    const double logRate = median(logRates);
    const double plainRate = median(plainRates);
    std::printf(
        "log at its cap %8.0f lines/s   plain QTextDocument %8.0f lines/s   (%d lines of %lld characters)\n",
        logRate, plainRate, logLinesTimed, static_cast<long long>(lineLength(line)));

    const double bytesPerSample = historyBytesPerSample();
    std::printf("history of %d datapoints at %zu samples: %.1f heap bytes per sample (a Sample is %zu)\n",
                historyPoints, ValueHistory::maxSamples, bytesPerSample, sizeof(Sample));

    std::printf("ratio model/engine=%.3f log/plain=%.3f bytes_per_sample=%.1f\n", modelRate / engineRate,
                logRate / plainRate, bytesPerSample);
    return 0;
}
