// The engine against loopback sockets that misbehave as devices sometimes do: refusing,
// accepting and closing at once, or never completing the connection. Tests against real
// Modbus devices are in tests/integration/Engine*.

#include "PollerCore/PollerEngine.hpp"

#include "ModbusTCP/TCPLinkError.hpp"
#include "support/EventRecorder.hpp"
#include "support/FakeDevice.hpp"
#include "support/FreePort.hpp"
#include "support/MainQueue.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>

namespace tessarin {
namespace {

using test::EventRecorder;
using test::MainQueue;
using namespace std::chrono_literals;

constexpr double aDay = 24.0 * 3600;

PollPlan onePlan() {
    PollPlan plan;
    plan.id = Uuid::random();
    plan.interval = 0.1;
    plan.blocks = {{.unit = 1, .table = RegisterTable::holdingRegister, .address = 0, .count = 2}};
    return plan;
}

TEST(PollerEngine, AddressBracketsIPv6Literals) {
    const struct {
        const char* host;
        std::uint16_t port;
        const char* expected;
    } rows[] = {
        {"192.168.1.10", 502, "192.168.1.10:502"},
        {"::1", 502, "[::1]:502"},
        {"fe80::1%eth0", 8502, "[fe80::1%eth0]:8502"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PollerEngine::address(row.host, row.port), row.expected) << row.host;
    MainQueue queue;
    const PollerEngine engine(
        "::1", 502, TCPFraming::modbusTCP, 1.0, [](const PollerEvent&) {}, queue.poster());
    EXPECT_EQ(engine.address(), "[::1]:502");
}

TEST(PollerEngine, AnEngineThatNeverStartedStopsQuietly) {
    MainQueue queue;
    EventRecorder recorder;
    {
        PollerEngine engine("127.0.0.1", 1, TCPFraming::modbusTCP, 1.0, recorder.handler(), queue.poster());
        engine.write({0x06, 0x00, 0x01, 0x00, 0x02}, 1, Uuid::random());
        engine.stop();
        engine.stop();
        EXPECT_EQ(engine.connectionAttempts(), 0U);
    }
    EXPECT_EQ(queue.pump(), 0U);
}

TEST(PollerEngine, AConnectionFailureIsReportedOnceUntilItsReasonChanges) {
    // First the device's accept queue is full and every attempt times out; then it is gone
    // and every attempt is refused.
    auto device = std::make_optional<test::SilentPort>();
    const std::uint16_t port = device->port();
    MainQueue queue;
    EventRecorder recorder;
    PollerEngine engine("127.0.0.1", port, TCPFraming::modbusTCP, 0.05, recorder.handler(), queue.poster(),
                        {.reconnectDelay = 0.001, .minimumOpenTimeout = 0.05, .stopGrace = 3.0});
    engine.start({onePlan()});
    ASSERT_TRUE(queue.pumpUntil([&] { return engine.connectionAttempts() >= 4; }));
    device.reset();
    const std::uint64_t before = engine.connectionAttempts();
    ASSERT_TRUE(queue.pumpUntil([&] { return engine.connectionAttempts() >= before + 6; }));
    engine.stop();
    queue.pump();

    const auto events = recorder.events();
    ASSERT_EQ(test::kinds(events), "connectionFailed connectionFailed");
    EXPECT_EQ(std::get<PollerEvent::ConnectionFailed>(events[0].payload).reason,
              TCPLinkError::connectTimeout("127.0.0.1", port).localizedDescription());
    EXPECT_EQ(std::get<PollerEvent::ConnectionFailed>(events[1].payload).reason,
              TCPLinkError::connectFailed("127.0.0.1", port, ECONNREFUSED).localizedDescription());
}

TEST(PollerEngine, ADeviceThatAcceptsAndClosesAtOnceIsNotHammered) {
    // A connection that carried no answer is followed by the reconnect delay (here a day),
    // not by an immediate reconnect: that would be thousands of connects a second.
    // A device at its connection limit: accepts every connection and closes it at once.
    test::FakeDevice device(test::FakeFraming::modbusTCP, test::answerCorrectly,
                            [](int) { return std::vector{test::FakeStep::close()}; });
    MainQueue queue;
    EventRecorder recorder;
    PollerEngine engine("127.0.0.1", device.port(), TCPFraming::modbusTCP, 0.5, recorder.handler(),
                        queue.poster(),
                        {.reconnectDelay = aDay, .minimumOpenTimeout = 1.0, .stopGrace = 3.0});
    engine.start({onePlan()});
    ASSERT_TRUE(queue.pumpUntil([&] { return recorder.count(PollerEvent::Kind::disconnected) > 0; }));
    // A window to catch a second connect, which must not come.
    EXPECT_FALSE(queue.pumpUntil([&] { return device.connections() > 1; }, 300ms));
    EXPECT_EQ(engine.connectionAttempts(), 1U);
    engine.stop();  // cuts the reconnect pause short
    queue.pump();

    const auto events = recorder.events();
    ASSERT_EQ(test::kinds(events), "connected read disconnected");
    const auto& read = std::get<PollerEvent::Read>(events[1].payload);
    ASSERT_FALSE(read.result);
    EXPECT_EQ(read.result.error().failure, PollFailure::noConnection());
    EXPECT_TRUE(read.response.empty());
}

TEST(PollerEngine, StopGivesUpOnAHangingConnectAndTheWorkerFinishesAlone) {
    // The open time-out (2 s) outlasts stop()'s bound (0.1 + 0.1 s): stop() returns while the
    // worker still waits in connect, and the engine is destroyed at once. The worker must then
    // finish on its own share of the state and still post through the queue.
    const test::SilentPort device;
    MainQueue queue;
    EventRecorder recorder;
    {
        PollerEngine engine("127.0.0.1", device.port(), TCPFraming::modbusTCP, 0.1, recorder.handler(),
                            queue.poster(),
                            {.reconnectDelay = aDay, .minimumOpenTimeout = 2.0, .stopGrace = 0.1});
        engine.start({onePlan()});
        ASSERT_TRUE(queue.pumpUntil([&] { return engine.connectionAttempts() == 1; }));
        engine.stop();
    }
    ASSERT_TRUE(queue.pumpUntil([&] { return recorder.count(PollerEvent::Kind::connectionFailed) == 1; }));
    EXPECT_EQ(test::kinds(recorder.events()), "connectionFailed");
}

}  // namespace
}  // namespace tessarin
