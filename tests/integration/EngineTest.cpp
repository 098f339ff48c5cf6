// The poller engine against the real peers of tests/peers: schedules, writes, time-outs and
// lost devices, as the application would see them through its main queue.

#include "PollerCore/PollerEngine.hpp"

#include "ModbusCore/PDU.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "support/ByteAssertions.hpp"
#include "support/EventRecorder.hpp"
#include "support/FakeDevice.hpp"
#include "support/FreePort.hpp"
#include "support/MainQueue.hpp"
#include "support/PeerProcess.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessarin {
namespace {

using test::EventRecorder;
using test::kinds;
using test::MainQueue;
using test::PeerKind;
using test::PeerProcess;

constexpr double anHour = 3600.0;

TCPFraming framingOf(PeerKind kind) {
    return kind == PeerKind::libmodbusTCP ? TCPFraming::modbusTCP : TCPFraming::rtuOverTCP;
}

ReadBlock block(RegisterTable table, std::uint16_t address, int count, std::uint8_t unit = 1) {
    return {.unit = unit, .table = table, .address = address, .count = count};
}

PollPlan plan(double interval, std::vector<ReadBlock> blocks) {
    return {.id = Uuid::random(), .interval = interval, .blocks = std::move(blocks)};
}

template <typename Payload>
std::vector<Payload> payloads(const std::vector<PollerEvent>& events) {
    std::vector<Payload> found;
    for (const PollerEvent& event : events) {
        if (const auto* payload = std::get_if<Payload>(&event.payload)) found.push_back(*payload);
    }
    return found;
}

std::vector<PollerEvent::Read> readsOf(const std::vector<PollerEvent>& events, const Uuid& poll) {
    auto reads = payloads<PollerEvent::Read>(events);
    std::erase_if(reads, [&poll](const PollerEvent::Read& read) { return read.poll != poll; });
    return reads;
}

// What the peer serves for a block before anybody writes.
PDU::ReadData served(const ReadBlock& block) {
    return PDU::parseRead(test::answerPDU(block.pdu()), block.table, block.count).value();
}

// Every engine reports through a main queue the test pumps, as the application's would.
class EngineTest : public ::testing::Test {
protected:
    PollerEngine makeEngine(std::uint16_t port, TCPFraming framing, double timeout,
                            PollerPacing pacing = {}) {
        return PollerEngine("127.0.0.1", port, framing, timeout, recorder.handler(), queue.poster(), pacing);
    }
    bool pumpUntilReads(const Uuid& poll, std::size_t count) {
        return queue.pumpUntil([&] { return readsOf(recorder.events(), poll).size() >= count; });
    }
    // Every event of the engine, once it has stopped.
    std::vector<PollerEvent> stopped(PollerEngine& engine) {
        engine.stop();
        queue.pump();
        return recorder.events();
    }

    MainQueue queue;
    EventRecorder recorder;
};

class EngineAgainstPeers : public EngineTest, public ::testing::WithParamInterface<PeerKind> {};

TEST_P(EngineAgainstPeers, TwoPlansRunAtOnceInOrderThenEachOnItsOwnInterval) {
    auto peer = PeerProcess::start(GetParam());
    ASSERT_TRUE(peer) << peer.error();
    // The 1 s and 5 s polls of a real project, ten times faster, reading up to the last address
    // of every table, which checks that the peer serves the documented tables.
    const PollPlan fast = plan(0.1, {block(RegisterTable::holdingRegister, 65526, 10)});
    const PollPlan slow =
        plan(0.5, {block(RegisterTable::inputRegister, 65530, 6), block(RegisterTable::coil, 65516, 20),
                   block(RegisterTable::discreteInput, 65527, 9)});
    PollerEngine engine = makeEngine(peer->port(), framingOf(GetParam()), 1.0);
    engine.start({fast, slow});
    ASSERT_TRUE(pumpUntilReads(slow.id, 9));
    const auto events = stopped(engine);
    ASSERT_GE(events.size(), 5U);
    EXPECT_EQ(kinds({events.begin(), events.begin() + 5}), "connected read read read read");
    ASSERT_EQ(std::get<PollerEvent::Connected>(events[0].payload).address,
              fmt::format("127.0.0.1:{}", peer->port()));
    EXPECT_EQ(std::get<PollerEvent::Read>(events[1].payload).poll, fast.id);
    EXPECT_EQ(std::get<PollerEvent::Read>(events[2].payload).poll, slow.id);

    for (const PollerEvent& event : events) {
        const auto* read = std::get_if<PollerEvent::Read>(&event.payload);
        if (read == nullptr) continue;
        SCOPED_TRACE(test::hex(read->request));
        ASSERT_TRUE(read->result) << name(read->result.error().failure.kind);
        EXPECT_EQ(*read->result, served(read->block));
        EXPECT_FALSE(read->response.empty());
        EXPECT_GT(read->duration, 0.0);
    }
    // Three runs of the slow poll span at least a second: the fast one ran several times in it.
    const std::size_t fastRuns = readsOf(events, fast.id).size();
    EXPECT_GE(fastRuns, 6U);
    EXPECT_EQ(recorder.count(PollerEvent::Kind::disconnected), 0U);
}

TEST_P(EngineAgainstPeers, ATimedOutReadCarriesTheFrameItWouldHaveSentAndNoResponse) {
    auto peer = PeerProcess::start(GetParam(), {.unit = 1, .delayMs = 0, .size = 100, .port = 0});
    ASSERT_TRUE(peer) << peer.error();
    const PollPlan poll = plan(anHour, {block(RegisterTable::holdingRegister, 0x10, 2, 2),  // nobody answers
                                        block(RegisterTable::holdingRegister, 99, 2),  // beyond the table
                                        block(RegisterTable::holdingRegister, 0, 1)});
    PollerEngine engine = makeEngine(peer->port(), framingOf(GetParam()), 0.3);
    engine.start({poll});
    ASSERT_TRUE(pumpUntilReads(poll.id, 3));
    const auto events = stopped(engine);
    EXPECT_EQ(kinds(events), "connected read read read");
    const auto reads = readsOf(events, poll.id);
    ASSERT_EQ(reads.size(), 3U);

    ASSERT_FALSE(reads[0].result);
    EXPECT_EQ(reads[0].result.error().failure, PollFailure::timeout());
    EXPECT_TRUE(reads[0].response.empty());
    EXPECT_GE(reads[0].duration, 0.3);

    ASSERT_FALSE(reads[1].result);
    EXPECT_EQ(reads[1].result.error().failure, PollFailure::exception(0x02));
    EXPECT_TRUE(reads[2].result);

    if (GetParam() == PeerKind::libmodbusTCP) {
        // The stand-by frame has transaction 0; the frames that did travel keep theirs, and
        // the identifier after a time-out jumps away from the one that timed out.
        EXPECT_BYTES(reads[0].request, "00 00 00 00 00 06 02 03 00 10 00 02");
        EXPECT_BYTES(reads[1].request, "10 02 00 00 00 06 01 03 00 63 00 02");
        EXPECT_BYTES(reads[1].response, "10 02 00 00 00 03 01 83 02");
    } else {
        EXPECT_EQ(reads[0].request,
                  RTUFrame::build(2, std::vector<std::uint8_t>{0x03, 0x00, 0x10, 0x00, 0x02}));
        EXPECT_EQ(reads[1].request,
                  RTUFrame::build(1, std::vector<std::uint8_t>{0x03, 0x00, 0x63, 0x00, 0x02}));
        EXPECT_EQ(reads[1].response, RTUFrame::build(1, std::vector<std::uint8_t>{0x83, 0x02}));
    }
}

INSTANTIATE_TEST_SUITE_P(BothPeers, EngineAgainstPeers,
                         ::testing::Values(PeerKind::libmodbusTCP, PeerKind::pymodbusRTU),
                         [](const ::testing::TestParamInfo<PeerKind>& row) {
                             return row.param == PeerKind::libmodbusTCP ? "libmodbus" : "pymodbus";
                         });

TEST_F(EngineTest, WritesGoFirstInQueueOrderAndOneGoesBetweenTheBlocksOfAPoll) {
    const ReadBlock first = block(RegisterTable::holdingRegister, 300, 4);
    const PollPlan poll =
        plan(anHour, {first, block(RegisterTable::inputRegister, 0, 2), block(RegisterTable::coil, 0, 8)});
    const Uuid early[] = {Uuid::random(), Uuid::random(), Uuid::random()};
    const Uuid during = Uuid::random();

    // The device queues a write itself while the poll's first block is in flight, as a
    // user's click at that moment would; otherwise it answers as the real peers do.
    std::atomic<PollerEngine*> running{nullptr};
    std::atomic<bool> queued{false};
    test::FakeDevice device(test::FakeFraming::modbusTCP, [&](const test::FakeRequest& request) {
        if (request.pdu == first.pdu() && !queued.exchange(true)) {
            running.load()->write(PDU::writeSingleRegister(300, 0xA5A5), 1, during);
        }
        return test::answerCorrectly(request);
    });
    PollerEngine engine = makeEngine(device.port(), TCPFraming::modbusTCP, 1.0);
    running = &engine;
    engine.write(PDU::writeSingleRegister(301, 1), 1, early[0]);
    engine.write({0x2B, 0x0E, 0x01, 0x00}, 1, early[1]);  // a function the device does not know
    engine.write(PDU::writeSingleRegister(303, 3), 1, early[2]);
    engine.start({poll});
    // Left running: the engine's destructor stops it.
    ASSERT_TRUE(pumpUntilReads(poll.id, 3));
    const auto events = recorder.events();
    EXPECT_EQ(kinds(events), "connected wrote wrote wrote read wrote read read");
    const auto writes = payloads<PollerEvent::Wrote>(events);
    ASSERT_EQ(writes.size(), 4U);
    const Uuid expectedOrder[] = {early[0], early[1], early[2], during};
    for (std::size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(writes[i].token, expectedOrder[i]);
        EXPECT_EQ(writes[i].unit, 1);
        EXPECT_EQ(writes[i].result.has_value(), i != 1);
    }
    EXPECT_EQ(writes[1].result.error().failure, PollFailure::exception(0x01));
    EXPECT_BYTES(writes[0].request, "00 01 00 00 00 06 01 06 01 2D 00 01");
    EXPECT_BYTES(writes[0].response, "00 01 00 00 00 06 01 06 01 2D 00 01");
}

TEST_F(EngineTest, AnOwnerThatFallsBehindSlowsTheWorkerInsteadOfPilingUpEvents) {
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP);
    ASSERT_TRUE(peer) << peer.error();
    const PollPlan poll = plan(0.0, {block(RegisterTable::holdingRegister, 0, 2)});
    PollerEngine engine = makeEngine(peer->port(), TCPFraming::modbusTCP, 1.0, {.eventBacklog = 20});
    engine.start({poll});
    // Nobody takes the events for a while: a device this fast would give thousands.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    queue.pump();
    const std::size_t taken = recorder.events().size();
    EXPECT_GE(taken, 1U);
    EXPECT_LE(taken, 20U);
    // Once the owner catches up, reading goes on.
    ASSERT_TRUE(pumpUntilReads(poll.id, 100));
    for (const auto& read : readsOf(stopped(engine), poll.id)) ASSERT_TRUE(read.result);
}

TEST_F(EngineTest, AWriteQueuedWhileTheDeviceIsUnreachableIsSentOnceItAnswers) {
    auto refusing = std::make_optional<test::ClosedPort>();
    const std::uint16_t port = refusing->port();
    const PollPlan poll = plan(0.05, {block(RegisterTable::holdingRegister, 200, 1)});
    const Uuid token = Uuid::random();
    PollerEngine engine = makeEngine(port, TCPFraming::modbusTCP, 1.0, {.reconnectDelay = 0.02});
    engine.start({poll});
    ASSERT_TRUE(queue.pumpUntil([&] { return recorder.count(PollerEvent::Kind::connectionFailed) == 1; }));
    engine.write(PDU::writeSingleRegister(200, 0xBEEF), 1, token);

    refusing.reset();
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP, {.unit = std::nullopt, .port = port});
    ASSERT_TRUE(peer) << peer.error();
    ASSERT_TRUE(pumpUntilReads(poll.id, 1));
    const auto events = stopped(engine);
    ASSERT_GE(events.size(), 4U);
    EXPECT_EQ(kinds({events.begin(), events.begin() + 4}), "connectionFailed connected wrote read");
    const auto writes = payloads<PollerEvent::Wrote>(events);
    ASSERT_EQ(writes.size(), 1U);
    EXPECT_EQ(writes[0].token, token);
    EXPECT_TRUE(writes[0].result);
    const auto reads = readsOf(events, poll.id);
    ASSERT_TRUE(reads[0].result);
    EXPECT_EQ(*reads[0].result, PDU::ReadData::registers({0xBEEF}));
}

TEST_F(EngineTest, ADeviceLostMidPollIsReportedOnceAndRedialledAtOnce) {
    // The device closes the connection instead of answering the second block. The connection
    // had carried an answer, so the worker redials at once despite a reconnect delay of an hour.
    test::FakeDevice device(test::FakeFraming::modbusTCP, [](const test::FakeRequest& request) {
        if (request.index == 1) return std::vector<test::FakeStep>{test::FakeStep::close()};
        return test::answerCorrectly(request);
    });
    const PollPlan poll = plan(
        anHour, {block(RegisterTable::holdingRegister, 0, 1), block(RegisterTable::holdingRegister, 1, 1),
                 block(RegisterTable::holdingRegister, 2, 1)});
    PollerEngine engine = makeEngine(device.port(), TCPFraming::modbusTCP, 1.0, {.reconnectDelay = anHour});
    engine.start({poll});
    ASSERT_TRUE(queue.pumpUntil([&] { return recorder.count(PollerEvent::Kind::connected) == 2; }));
    const auto events = stopped(engine);
    EXPECT_EQ(kinds(events), "connected read read disconnected connected");
    const auto reads = readsOf(events, poll.id);
    ASSERT_EQ(reads.size(), 2U);
    EXPECT_TRUE(reads[0].result);
    ASSERT_FALSE(reads[1].result);
    EXPECT_EQ(reads[1].result.error().failure, PollFailure::noConnection());
    EXPECT_TRUE(reads[1].response.empty());
    EXPECT_EQ(engine.connectionAttempts(), 2U);
}

// How the engine classifies what comes back: the failure each answer becomes, which frames the
// read carries, and what follows it. The first block gets the row's answer, the second a correct
// one, which must then be its own.
struct Classification {
    std::string name;
    test::FakeFraming framing;
    std::function<std::vector<test::FakeStep>(const test::FakeRequest&)> firstAnswer;
    std::optional<PollFailure> failure;  // none: the first read succeeds
    bool carriesTheAnswer;               // the read shows the frames exchanged, not a stand-by one
    std::string kinds;
};

std::vector<Classification> classifications() {
    using test::FakeRequest;
    using test::FakeStep;
    const auto tcp = test::FakeFraming::modbusTCP;
    const auto rtu = test::FakeFraming::rtuOverTCP;
    const auto framed = [](std::uint8_t unit, std::string pdu) {
        return [unit, pdu](const FakeRequest& r) {
            const auto bytes = test::bytes(pdu);
            return std::vector{FakeStep::send(r.framing == test::FakeFraming::modbusTCP
                                                  ? test::mbapFrame(r.transactionID, unit, bytes)
                                                  : test::rtuFrame(unit, bytes))};
        };
    };
    const auto late = [](std::chrono::milliseconds after) {
        return [after](const FakeRequest& r) {
            return std::vector{FakeStep::pause(after), FakeStep::send(test::correctAnswer(r))};
        };
    };
    const auto raw = [](std::string frame) {
        return [frame](const FakeRequest&) { return std::vector{FakeStep::send(test::bytes(frame))}; };
    };
    const std::string afterAReconnect = "connected read disconnected connected";
    return {
        {"TCPAnotherUnit", tcp, framed(2, "03 04 00 10 00 11"), PollFailure::unexpectedUnit(2), true,
         "connected read read"},
        {"TCPUnexpectedFunction", tcp, framed(1, "04 04 80 10 80 11"), PollFailure::unexpectedFunction(4),
         true, "connected read read"},
        {"TCPException", tcp, framed(1, "83 02"), PollFailure::exception(2), true, "connected read read"},
        {"TCPTooFewRegisters", tcp, framed(1, "03 02 00 10"), PollFailure::malformed(), true,
         "connected read read"},
        // An empty PDU has length 1, which no MBAP header may carry.
        {"TCPEmptyPDU", tcp, raw("00 01 00 00 00 01 01"), PollFailure::malformed(), false, afterAReconnect},
        {"TCPRejectedHeader", tcp, raw("00 01 00 01 00 06 01 03 04 00 10 00 11"), PollFailure::malformed(),
         false, afterAReconnect},
        {"TCPLateAnswer", tcp, late(std::chrono::milliseconds(400)), PollFailure::timeout(), false,
         "connected read framesDropped read"},
        // On a shared RTU line another unit's or function's frame is not the answer at all.
        {"RTUAnotherUnit", rtu, framed(2, "03 04 00 10 00 11"), PollFailure::timeout(), false,
         "connected read read"},
        {"RTUUnexpectedFunction", rtu, framed(1, "04 04 80 10 80 11"), PollFailure::timeout(), false,
         "connected read read"},
        {"RTUException", rtu, framed(1, "83 02"), PollFailure::exception(2), true, "connected read read"},
        {"RTUTooFewRegisters", rtu, framed(1, "03 02 00 10"), PollFailure::malformed(), true,
         "connected read read"},
        {"RTUCRCMismatch", rtu,
         [](const FakeRequest& r) {
             auto frame = test::correctAnswer(r);
             frame.back() ^= 0xFF;
             return std::vector{FakeStep::send(frame)};
         },
         PollFailure::crcMismatch(), false, "connected read read"},
        {"RTULateAnswer", rtu, late(std::chrono::milliseconds(700)), PollFailure::timeout(), false,
         "connected read framesDropped read"},
    };
}

class EngineClassification : public EngineTest, public ::testing::WithParamInterface<Classification> {};

TEST_P(EngineClassification, eachAnswerBecomesItsFailureAndTheNextReadGetsItsOwnAnswer) {
    const Classification& row = GetParam();
    std::mutex exchanged;
    std::vector<std::uint8_t> firstRequest;
    std::vector<std::uint8_t> firstAnswer;
    test::FakeDevice device(row.framing, [&](const test::FakeRequest& request) {
        if (request.index != 0) return test::answerCorrectly(request);
        auto steps = row.firstAnswer(request);
        const std::lock_guard lock(exchanged);
        firstRequest = request.frame;
        firstAnswer = steps.back().bytes;
        return steps;
    });
    const ReadBlock second = block(RegisterTable::holdingRegister, 0x20, 2);
    const PollPlan poll = plan(anHour, {block(RegisterTable::holdingRegister, 0x10, 2), second});
    const auto framing =
        row.framing == test::FakeFraming::modbusTCP ? TCPFraming::modbusTCP : TCPFraming::rtuOverTCP;
    PollerEngine engine = makeEngine(device.port(), framing, 0.3, {.reconnectDelay = 0.02});
    engine.start({poll});
    const bool reconnects = row.kinds.ends_with("disconnected connected");
    ASSERT_TRUE(queue.pumpUntil([&] {
        return reconnects ? recorder.count(PollerEvent::Kind::connected) == 2
                          : readsOf(recorder.events(), poll.id).size() == 2;
    }));
    const auto events = stopped(engine);
    EXPECT_EQ(kinds(events), row.kinds);

    const auto reads = readsOf(events, poll.id);
    ASSERT_FALSE(reads.empty());
    ASSERT_FALSE(reads[0].result);
    EXPECT_EQ(reads[0].result.error().failure, *row.failure);
    if (row.carriesTheAnswer) {
        const std::lock_guard lock(exchanged);
        EXPECT_EQ(reads[0].request, firstRequest);
        EXPECT_EQ(reads[0].response, firstAnswer);
    } else {
        EXPECT_TRUE(reads[0].response.empty());
    }
    if (reads.size() > 1) {
        ASSERT_TRUE(reads[1].result) << name(reads[1].result.error().failure.kind);
        EXPECT_EQ(*reads[1].result, served(second));
    }
}

INSTANTIATE_TEST_SUITE_P(BothFramings, EngineClassification, ::testing::ValuesIn(classifications()),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace tessarin
