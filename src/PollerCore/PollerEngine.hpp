#pragma once

#include "ModbusCore/Uuid.hpp"
#include "ModbusTCP/TCPFraming.hpp"
#include "PollerCore/PollPlan.hpp"
#include "PollerCore/PollerEvent.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tessarin {

// The waits of the worker, in seconds. The defaults are the product's; tests shorten them.
struct PollerPacing {
    // Pause after a failed connection attempt, and before reconnecting after a connection
    // that was lost before it carried a single answer (a device at its connection limit
    // accepts and closes at once; without the pause that is a hot loop of connects).
    double reconnectDelay = 2.0;
    // Opening the link waits at least this long, however short the answer time-out.
    double minimumOpenTimeout = 1.0;
    // stop() waits for the worker at most the answer time-out plus this.
    double stopGrace = 3.0;
    // Events the owning thread may leave untaken before the worker waits for it to catch
    // up. A device that answers faster than the owner handles its answers is then read more
    // slowly, instead of the undelivered events growing without end.
    std::size_t eventBacklog = 10'000;
};

// Polls one device from start() until stop(): a worker thread named "Tessarin" keeps one link
// connected, runs every plan on its own interval, sends queued writes before reads (and between
// the blocks of a poll), and reports every connection change and every request as one
// PollerEvent. Events leave the worker only through `post`, which the worker calls and which
// must run its task later on the thread that owns the engine, in the order posted; the tasks
// call the handler there, once per event, in the order the events happened. Events that
// follow one another within a millisecond share one task.
//
// All members are for the owning thread. None of them blocks beyond taking a lock briefly,
// except stop(), which waits for the worker at most `timeout` + `PollerPacing::stopGrace` seconds.
// The worker's state is owned jointly by the engine and the worker, so the engine may be
// destroyed while a worker that stop() gave up on still finishes its last request.
class PollerEngine {
public:
    using Task = std::function<void()>;
    using Post = std::function<void(Task)>;
    using EventHandler = std::function<void(const PollerEvent&)>;

    // timeout: seconds to wait for each answer. Nothing starts yet.
    PollerEngine(std::string host, std::uint16_t port, TCPFraming framing, double timeout,
                 EventHandler onEvent, Post post, PollerPacing pacing = PollerPacing());
    PollerEngine(const PollerEngine&) = delete;
    PollerEngine& operator=(const PollerEngine&) = delete;
    // Stops the engine (see stop()).
    ~PollerEngine();

    [[nodiscard]] const std::string& host() const;
    [[nodiscard]] std::uint16_t port() const;
    [[nodiscard]] TCPFraming framing() const;
    [[nodiscard]] double timeout() const;
    // "host:port", or "[host]:port" when the host is an IPv6 literal.
    [[nodiscard]] std::string address() const;
    [[nodiscard]] static std::string address(const std::string& host, std::uint16_t port);

    // Starts the worker with these plans. Once per engine.
    void start(std::vector<PollPlan> plans);

    // Ends polling: the request in flight finishes, the rest of a poll is skipped, queued
    // writes are dropped without events, and the link closes without an event. Waits for the
    // worker at most timeout + stopGrace seconds. Events emitted before the worker ended may
    // still be posted after this returns. Idempotent.
    void stop();

    // Replaces the plans. Polls whose id remains keep their schedule; new ones run at once.
    void setPlans(std::vector<PollPlan> plans);

    // Queues a complete write request PDU for unit; the token comes back in its Wrote event.
    // Writes are sent in the order queued, before any further read.
    void write(std::vector<std::uint8_t> pdu, std::uint8_t unit, Uuid token);

    // Connection attempts the worker has begun so far.
    [[nodiscard]] std::uint64_t connectionAttempts() const;

    // The state the worker shares with the engine; defined where the worker is.
    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
};

}  // namespace tessarin
