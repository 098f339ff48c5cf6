#include "PollerCore/PollerEngine.hpp"

#include "ModbusCore/HostPort.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "ModbusCore/Require.hpp"
#include "ModbusTCP/TCPClientLink.hpp"
#include "PollerCore/PollSchedule.hpp"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <variant>

namespace tessarin {

namespace {

using Clock = std::chrono::steady_clock;

// Waits come from user settings; beyond a day they only risk overflowing the clock.
Clock::duration secondsToWait(double seconds) {
    constexpr double longest = 24.0 * 3600;
    const double bounded = seconds > 0 ? std::min(seconds, longest) : 0.0;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(bounded));
}

struct QueuedWrite {
    Uuid token;
    std::uint8_t unit = 0;
    std::vector<std::uint8_t> pdu;
};

using Job = std::variant<QueuedWrite, PollPlan>;

// The outcome of one request: the answer's PDU or why there is none, and the frames.
struct Exchange {
    std::expected<std::vector<std::uint8_t>, PollFailure> pdu;
    std::vector<std::uint8_t> request;
    std::vector<std::uint8_t> response;
    double duration = 0;
};

PollFailure failureOf(const PDU::ResponseError& error) {
    return error.kind == PDU::ResponseError::Kind::exception ? PollFailure::exception(error.code)
                                                             : PollFailure::malformed();
}

}  // namespace

// Events on their way to the owning thread, in order. Waking that thread once per event costs
// two context switches per request, as much as a tenth of a loopback round trip; so events
// that follow one another within `handoverGap` travel together, in one posted task. Nothing
// waits in the outbox while the worker itself waits: it hands everything over before job
// selection, the reconnect pause and connecting, and before a request when the previous one
// was slow. An event is therefore late by at most the gap on a device that answers quickly,
// and by one answer time-out in the rare case that such a device suddenly stops answering.
constexpr auto handoverGap = std::chrono::milliseconds(1);

struct Outbox {
    explicit Outbox(PollerEngine::EventHandler handler) : onEvent(std::move(handler)) {}

    const PollerEngine::EventHandler onEvent;
    std::mutex mutex;
    std::vector<PollerEvent> events;  // guarded by mutex
    bool handoverPosted = false;      // guarded by mutex
    // Tells a worker waiting on a full outbox that the owning thread took it.
    std::condition_variable taken;

    // On the owning thread.
    void handOver() {
        std::vector<PollerEvent> batch;
        {
            std::lock_guard lock(mutex);
            batch.swap(events);
            handoverPosted = false;
        }
        taken.notify_all();
        for (const PollerEvent& event : batch) onEvent(event);
    }
};

struct PollerEngine::Shared {
    // Settings: fixed before the worker starts.
    std::string host;
    std::uint16_t port = 0;
    TCPFraming framing = TCPFraming::modbusTCP;
    double timeout = 1.0;
    // Shared with the posted tasks, which may run after the engine is gone.
    std::shared_ptr<Outbox> outbox;
    Post post;
    PollerPacing pacing;

    // Guarded by `mutex`; `wake` tells the worker that one of them changed.
    std::mutex mutex;
    std::condition_variable wake;
    bool running = false;
    bool started = false;
    PollSchedule schedule;
    std::deque<QueuedWrite> writes;
    // Set once by the worker as its last act; stop() waits on `ended` for it.
    bool finished = false;
    std::condition_variable ended;

    std::atomic<std::uint64_t> attempts{0};
};

namespace {

// The worker's own side: everything here runs on the worker thread and touches the shared
// state only under its lock.
class Worker {
public:
    using Shared = PollerEngine::Shared;

    explicit Worker(std::shared_ptr<Shared> shared)
        : m_shared(std::move(shared)), m_link(m_shared->host, m_shared->port, m_shared->framing) {}

    void run();

private:
    bool isRunning() {
        std::lock_guard lock(m_shared->mutex);
        return m_shared->running;
    }

    void emit(PollerEvent event) {
        Outbox& outbox = *m_shared->outbox;
        bool post = false;
        bool backlogged = false;
        {
            std::lock_guard lock(outbox.mutex);
            outbox.events.push_back(std::move(event));
            post = !outbox.handoverPosted && Clock::now() - m_lastHandover >= handoverGap;
            if (post) outbox.handoverPosted = true;
            backlogged = outbox.events.size() >= m_shared->pacing.eventBacklog;
        }
        if (post) postHandover();
        if (backlogged) waitWhileBacklogged();
    }

    // Waits while the outbox holds a full backlog that the owning thread has not taken;
    // stop() ends the wait within one check interval.
    void waitWhileBacklogged() {
        Outbox& outbox = *m_shared->outbox;
        const std::size_t limit = m_shared->pacing.eventBacklog;
        flush();
        constexpr auto checkInterval = std::chrono::milliseconds(20);
        while (isRunning()) {
            std::unique_lock lock(outbox.mutex);
            if (outbox.taken.wait_for(lock, checkInterval, [&] { return outbox.events.size() < limit; }))
                return;
        }
    }

    // Posts what the outbox holds unless a posted hand-over will take it anyway.
    void flush() {
        Outbox& outbox = *m_shared->outbox;
        bool post = false;
        {
            std::lock_guard lock(outbox.mutex);
            post = !outbox.events.empty() && !outbox.handoverPosted;
            if (post) outbox.handoverPosted = true;
        }
        if (post) postHandover();
    }

    void postHandover() {
        m_lastHandover = Clock::now();
        m_shared->post([outbox = m_shared->outbox] { outbox->handOver(); });
    }

    // Waits the reconnect delay; only stop() cuts it short.
    void pause() {
        flush();
        std::unique_lock lock(m_shared->mutex);
        m_shared->wake.wait_until(lock, Clock::now() + secondsToWait(m_shared->pacing.reconnectDelay),
                                  [this] { return !m_shared->running; });
    }

    bool connect();
    std::optional<Job> nextJob();
    std::optional<QueuedWrite> nextWrite();
    Exchange exchange(std::uint8_t unit, const std::vector<std::uint8_t>& pdu);
    void read(const Uuid& poll, const ReadBlock& block);
    void perform(const QueuedWrite& write);
    void perform(const PollPlan& plan);

    std::shared_ptr<Shared> m_shared;
    TCPClientLink m_link;
    std::string m_lastFailure;
    // Whether the current connection has carried at least one answer.
    bool m_answered = false;
    Clock::time_point m_lastHandover;
    Clock::duration m_lastRequest{};
};

void Worker::run() {
    // Linux thread names hold 15 characters; "Tessarin" fits. Priority stays the default:
    // the worker mostly sleeps in poll() and on the condition.
    pthread_setname_np(pthread_self(), "Tessarin");
    bool pauseFirst = false;
    while (isRunning()) {
        if (!m_link.isOpen()) {
            if (pauseFirst) {
                pauseFirst = false;
                pause();
                continue;
            }
            if (!connect()) continue;
        }
        const std::optional<Job> job = nextJob();
        if (!job) break;
        std::visit([this](const auto& work) { perform(work); }, *job);
        if (!m_link.isOpen() && isRunning()) {
            emit({PollerEvent::Disconnected{}});
            m_lastFailure.clear();
            // A connection that ends before its first answer is most likely a device that
            // accepts and closes at once; reconnecting immediately would be a hot loop.
            pauseFirst = !m_answered;
        }
    }
    m_link.close();
    flush();
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->finished = true;
    }
    m_shared->ended.notify_all();
}

bool Worker::connect() {
    flush();
    m_shared->attempts.fetch_add(1, std::memory_order_relaxed);
    const auto opened = m_link.open(std::max(m_shared->timeout, m_shared->pacing.minimumOpenTimeout));
    if (opened) {
        emit({PollerEvent::Connected{PollerEngine::address(m_shared->host, m_shared->port)}});
        m_lastFailure.clear();
        m_answered = false;
        return true;
    }
    std::string reason = opened.error().localizedDescription();
    if (reason != m_lastFailure) emit({PollerEvent::ConnectionFailed{reason}});
    pause();
    m_lastFailure = std::move(reason);
    return false;
}

std::optional<Job> Worker::nextJob() {
    flush();
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        if (!shared.running) return std::nullopt;
        if (!shared.writes.empty()) {
            QueuedWrite write = std::move(shared.writes.front());
            shared.writes.pop_front();
            return write;
        }
        const Clock::time_point now = Clock::now();
        const auto pick = shared.schedule.earliest(now);
        if (!pick) {
            shared.wake.wait(lock);
        } else if (pick->due > now) {
            shared.wake.wait_until(lock, pick->due);
        } else {
            return shared.schedule.start(*pick, now);
        }
    }
}

std::optional<QueuedWrite> Worker::nextWrite() {
    std::lock_guard lock(m_shared->mutex);
    if (!m_shared->running || m_shared->writes.empty()) return std::nullopt;
    QueuedWrite write = std::move(m_shared->writes.front());
    m_shared->writes.pop_front();
    return write;
}

Exchange Worker::exchange(std::uint8_t unit, const std::vector<std::uint8_t>& pdu) {
    if (m_lastRequest >= handoverGap) flush();
    const Clock::time_point start = Clock::now();
    auto answer = m_link.transact(unit, pdu, m_shared->timeout);
    m_lastRequest = Clock::now() - start;
    const double duration = std::chrono::duration<double>(m_lastRequest).count();
    if (auto dropped = m_link.takeDroppedFrames(); dropped.count > 0) {
        emit({PollerEvent::FramesDropped{dropped.count, std::move(dropped.first)}});
    }

    if (!answer) {
        // The link keeps no copy of a frame that failed, so the events show the frame as it
        // would be sent, with transaction identifier 0 in Modbus TCP.
        const bool rtu = m_shared->framing == TCPFraming::rtuOverTCP;
        auto request = rtu ? RTUFrame::build(unit, pdu) : MBAPHeader::message(0, unit, pdu);
        PollFailure failure = PollFailure::noConnection();
        if (answer.error().kind == TCPLinkError::Kind::timeout) {
            failure = PollFailure::timeout();
        } else if (answer.error().kind == TCPLinkError::Kind::invalidResponse) {
            failure = rtu ? PollFailure::crcMismatch() : PollFailure::malformed();
        }
        return {std::unexpected(failure), std::move(request), {}, duration};
    }

    m_answered = true;
    TCPClientLink::Transaction& done = *answer;
    Exchange result{{}, std::move(done.request), std::move(done.response), duration};
    if (done.unit != unit) {
        result.pdu = std::unexpected(PollFailure::unexpectedUnit(done.unit));
    } else if (done.pdu.empty()) {
        result.pdu = std::unexpected(PollFailure::malformed());
    } else if ((done.pdu[0] & 0x7F) != pdu.at(0)) {
        result.pdu = std::unexpected(PollFailure::unexpectedFunction(done.pdu[0]));
    } else {
        result.pdu = std::move(done.pdu);
    }
    return result;
}

void Worker::read(const Uuid& poll, const ReadBlock& block) {
    Exchange done = exchange(block.unit, block.pdu());
    std::expected<PDU::ReadData, PollFailureError> result = std::unexpected(PollFailureError{});
    if (!done.pdu) {
        result = std::unexpected(PollFailureError{done.pdu.error()});
    } else if (auto data = PDU::parseRead(*done.pdu, block.table, block.count)) {
        result = std::move(*data);
    } else {
        result = std::unexpected(PollFailureError{failureOf(data.error())});
    }
    emit({PollerEvent::Read{poll, block, std::move(result), std::move(done.request), std::move(done.response),
                            done.duration}});
}

void Worker::perform(const QueuedWrite& write) {
    Exchange done = exchange(write.unit, write.pdu);
    std::expected<void, PollFailureError> result;
    if (!done.pdu) {
        result = std::unexpected(PollFailureError{done.pdu.error()});
    } else if (auto checked = PDU::checkWrite(*done.pdu, write.pdu); !checked) {
        result = std::unexpected(PollFailureError{failureOf(checked.error())});
    }
    emit({PollerEvent::Wrote{write.token, write.unit, result, std::move(done.request),
                             std::move(done.response), done.duration}});
}

void Worker::perform(const PollPlan& plan) {
    for (const ReadBlock& block : plan.blocks) {
        if (!isRunning() || !m_link.isOpen()) return;
        read(plan.id, block);
        // A queued write goes out between two blocks rather than after the whole poll; any
        // further writes go first at the next job.
        if (!m_link.isOpen()) return;
        if (auto write = nextWrite()) perform(*write);
    }
}

}  // namespace

PollerEngine::PollerEngine(std::string host, std::uint16_t port, TCPFraming framing, double timeout,
                           EventHandler onEvent, Post post, PollerPacing pacing)
    : m_shared(std::make_shared<Shared>()) {
    TESSARIN_REQUIRE(onEvent && post, "the engine needs an event handler and a way to post it");
    m_shared->host = std::move(host);
    m_shared->port = port;
    m_shared->framing = framing;
    m_shared->timeout = timeout;
    m_shared->outbox = std::make_shared<Outbox>(std::move(onEvent));
    m_shared->post = std::move(post);
    m_shared->pacing = pacing;
}

PollerEngine::~PollerEngine() {
    stop();
}

const std::string& PollerEngine::host() const {
    return m_shared->host;
}
std::uint16_t PollerEngine::port() const {
    return m_shared->port;
}
TCPFraming PollerEngine::framing() const {
    return m_shared->framing;
}
double PollerEngine::timeout() const {
    return m_shared->timeout;
}

std::string PollerEngine::address() const {
    return address(m_shared->host, m_shared->port);
}

std::string PollerEngine::address(const std::string& host, std::uint16_t port) {
    return hostPortText(host, port);
}

void PollerEngine::start(std::vector<PollPlan> plans) {
    {
        std::lock_guard lock(m_shared->mutex);
        TESSARIN_REQUIRE(!m_shared->started, "an engine starts once");
        m_shared->started = true;
        m_shared->running = true;
        m_shared->schedule.setPlans(std::move(plans));
    }
    m_worker = std::thread([shared = m_shared] { Worker(shared).run(); });
}

void PollerEngine::stop() {
    bool wasRunning = false;
    {
        std::lock_guard lock(m_shared->mutex);
        wasRunning = m_shared->running;
        m_shared->running = false;
        m_shared->writes.clear();
    }
    m_shared->wake.notify_all();
    if (!wasRunning || !m_worker.joinable()) return;

    bool ended = false;
    {
        std::unique_lock lock(m_shared->mutex);
        ended = m_shared->ended.wait_until(
            lock, Clock::now() + secondsToWait(m_shared->timeout + m_shared->pacing.stopGrace),
            [this] { return m_shared->finished; });
    }
    // A worker stuck past the bound keeps its own share of the state and ends on its own.
    if (ended) {
        m_worker.join();
    } else {
        m_worker.detach();
    }
}

void PollerEngine::setPlans(std::vector<PollPlan> plans) {
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->schedule.setPlans(std::move(plans));
    }
    m_shared->wake.notify_all();
}

void PollerEngine::write(std::vector<std::uint8_t> pdu, std::uint8_t unit, Uuid token) {
    TESSARIN_REQUIRE(!pdu.empty(), "a write request has a function code");
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->writes.push_back({token, unit, std::move(pdu)});
    }
    m_shared->wake.notify_all();
}

std::uint64_t PollerEngine::connectionAttempts() const {
    return m_shared->attempts.load(std::memory_order_relaxed);
}

}  // namespace tessarin
