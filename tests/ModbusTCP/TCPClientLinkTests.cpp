#include "ModbusTCP/TCPClientLink.hpp"

#include "support/ByteAssertions.hpp"
#include "support/FakeDevice.hpp"
#include "support/FaultyCalls.hpp"
#include "support/FreePort.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <string>
#include <vector>

namespace tessarin {
namespace {

using test::bytes;
using test::FakeDevice;
using test::FakeFraming;
using test::FakeRequest;
using test::FakeStep;
using test::FaultyCalls;
using test::loopbackAddress;

constexpr double shortTimeout = 0.3;
const std::vector<std::uint8_t> readTwo = bytes("03 00 10 00 02");  // holding registers 16 and 17

FakeFraming deviceFraming(TCPFraming framing) {
    return framing == TCPFraming::modbusTCP ? FakeFraming::modbusTCP : FakeFraming::rtuOverTCP;
}

class LinkTest : public ::testing::TestWithParam<TCPFraming> {
protected:
    TCPFraming framing() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(BothFramings, LinkTest,
                         ::testing::Values(TCPFraming::modbusTCP, TCPFraming::rtuOverTCP),
                         [](const ::testing::TestParamInfo<TCPFraming>& param) {
                             return std::string(rawValue(param.param));
                         });

TEST(TCPClientLinkDeathTest, requestPDUsMustFitAFrame) {
    TCPClientLink link("127.0.0.1", 1502, TCPFraming::rtuOverTCP);
    EXPECT_DEATH((void)link.transact(1, {}, shortTimeout), "1 to 253 bytes");
    const std::vector<std::uint8_t> tooLong(254, 0x10);
    EXPECT_DEATH((void)link.transact(1, tooLong, shortTimeout), "1 to 253 bytes");
}

TEST_P(LinkTest, opensOnceAndCountsTransactionsAcrossReconnections) {
    FakeDevice device(deviceFraming(framing()), test::answerCorrectly);
    FaultyCalls calls;
    TCPClientLink link("127.0.0.1", device.port(), framing(), calls);
    // Not yet open, the link fails without touching the network or using up an identifier.
    EXPECT_EQ(link.transact(1, readTwo, shortTimeout).error(), TCPLinkError::disconnected());
    link.close();
    EXPECT_EQ(calls.resolveCalls + calls.socketCalls + calls.sendCalls + calls.recvCalls + calls.pollCalls,
              0);
    ASSERT_TRUE(link.open(shortTimeout).has_value());
    const int fd = link.fd();
    // A child process (a peer a test starts, say) must not hold the connection open.
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    ASSERT_TRUE(link.open(shortTimeout).has_value());
    EXPECT_EQ(link.fd(), fd);
    EXPECT_EQ(calls.connectCalls, 1);

    auto first = link.transact(1, readTwo, shortTimeout);
    ASSERT_TRUE(first.has_value()) << first.error().localizedDescription(Language::en);
    EXPECT_BYTES(first->pdu, "03 04 00 10 00 11");
    EXPECT_EQ(first->unit, 1);
    // The frames themselves are checked by the engine tests against the real peers.
    link.close();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.pendingSize(), 0U);
    ASSERT_TRUE(link.open(shortTimeout).has_value());
    auto second = link.transact(7, readTwo, shortTimeout);
    ASSERT_TRUE(second.has_value()) << second.error().localizedDescription(Language::en);
    EXPECT_EQ(second->unit, 7);
    if (framing() == TCPFraming::modbusTCP) {
        EXPECT_BYTES(std::span(second->request).first(2), "00 02");
    }
    EXPECT_TRUE(device.waitForConnections(2));
}

TEST(TCPClientLink, connectFailureIsTheOneMetAtTheLastAddressTried) {
    FakeDevice device(FakeFraming::modbusTCP, test::answerCorrectly);
    const test::ClosedPort closed;
    const test::SilentPort silent;
    const ResolvedAddress refusing = loopbackAddress(closed.port());
    const ResolvedAddress unanswered = loopbackAddress(silent.port());
    const ResolvedAddress accepting = loopbackAddress(device.port());
    const std::string host = "plc.test";
    const std::uint16_t port = 1502;

    struct Row {
        std::string name;
        std::optional<std::vector<ResolvedAddress>> addresses;
        std::deque<int> socketFaults;
        std::optional<TCPLinkError> error;  // none: opens
    };
    const auto notFound = TCPLinkError::resolveFailed(host);
    const auto refused = TCPLinkError::connectFailed(host, port, ECONNREFUSED);
    const auto noHandshake = TCPLinkError::connectTimeout(host, port);
    const std::vector<Row> rows{
        {"resolver fails", std::nullopt, {}, notFound},
        {"resolver finds nothing", std::vector<ResolvedAddress>{}, {}, notFound},
        {"no address yields a socket", std::vector{refusing, accepting}, {EAFNOSUPPORT, EMFILE}, notFound},
        {"refused, then no handshake", std::vector{refusing, unanswered}, {}, noHandshake},
        {"no handshake, then refused", std::vector{unanswered, refusing}, {}, refused},
        {"socket fails, then refused", std::vector{accepting, refusing}, {EAFNOSUPPORT}, refused},
        {"only the last accepts", std::vector{refusing, unanswered, accepting}, {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FaultyCalls calls;
        calls.socketFaults = row.socketFaults;
        // The port in the addresses is the real one; the link reports the one it was given.
        calls.resolver = [&row](const std::string&) { return row.addresses; };
        TCPClientLink link(host, port, TCPFraming::modbusTCP, calls);
        const auto opened = link.open(0.2);
        if (row.error) {
            ASSERT_FALSE(opened.has_value());
            EXPECT_EQ(opened.error(), *row.error) << opened.error().localizedDescription(Language::en);
            EXPECT_FALSE(link.isOpen());
        } else {
            ASSERT_TRUE(opened.has_value()) << opened.error().localizedDescription(Language::en);
            EXPECT_TRUE(link.isOpen());
            EXPECT_TRUE(device.waitForConnections(1));
        }
    }
}

// localhost may resolve to ::1 before 127.0.0.1 while the device listens on IPv4 only.
TEST(TCPClientLink, systemResolverTriesEveryAddressOfLocalhost) {
    FakeDevice device(FakeFraming::modbusTCP, test::answerCorrectly);
    TCPClientLink link("localhost", device.port(), TCPFraming::modbusTCP);
    const auto opened = link.open(1.0);
    ASSERT_TRUE(opened.has_value()) << opened.error().localizedDescription(Language::en);
    EXPECT_TRUE(link.transact(1, readTwo, 1.0).has_value());
}

TEST_P(LinkTest, tinyTimeoutStillWaitsOneMillisecondAndKeepsTheLinkOpen) {
    FakeDevice device(deviceFraming(framing()), [](const FakeRequest&) { return std::vector<FakeStep>{}; });
    FaultyCalls calls;
    TCPClientLink link("127.0.0.1", device.port(), framing(), calls);
    ASSERT_TRUE(link.open(shortTimeout).has_value());
    calls.pollTimeouts.clear();
    EXPECT_EQ(link.transact(1, readTwo, 0.0001).error(), TCPLinkError::timeout());
    EXPECT_TRUE(link.isOpen());
    ASSERT_FALSE(calls.pollTimeouts.empty());
    for (const int waited : calls.pollTimeouts) EXPECT_GE(waited, 1);
}

TEST_P(LinkTest, interruptedCallsAreRetriedAndFailedOnesCloseTheLink) {
    struct Row {
        std::string name;
        std::deque<int> sendFaults, recvFaults, pollFaults;
        bool closes;
    };
    const std::vector<Row> rows{
        // In RTU the first recv is the drain: EINTR must repeat it, not end it.
        {"interrupted or spurious", {EINTR, EAGAIN, EINTR}, {EINTR, EAGAIN, EINTR}, {EINTR, EINTR}, false},
        {"send reset", {ECONNRESET}, {}, {}, true},
        {"receive reset", {}, {ECONNRESET, ECONNRESET}, {}, true},
        {"wait fails", {}, {}, {ENOMEM}, true},
    };
    FakeDevice device(deviceFraming(framing()), test::answerCorrectly);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FaultyCalls calls;
        TCPClientLink link("127.0.0.1", device.port(), framing(), calls);
        ASSERT_TRUE(link.open(shortTimeout).has_value());
        calls.sendFaults = row.sendFaults;
        calls.recvFaults = row.recvFaults;
        calls.pollFaults = row.pollFaults;
        const auto answer = link.transact(1, readTwo, 2.0);
        if (row.closes) {
            EXPECT_EQ(answer.error(), TCPLinkError::disconnected());
            EXPECT_EQ(link.pendingSize(), 0U);
        } else {
            ASSERT_TRUE(answer.has_value()) << answer.error().localizedDescription(Language::en);
            EXPECT_BYTES(answer->pdu, "03 04 00 10 00 11");
            EXPECT_TRUE(calls.sendFaults.empty() && calls.pollFaults.empty() && calls.recvFaults.empty());
        }
        EXPECT_EQ(link.isOpen(), !row.closes);
    }
}

// Stalled before its first byte, a request can be dropped; stalled inside its frame, the device
// would take the next request as the rest of the half-sent one.
TEST_P(LinkTest, aSendStallKeepsTheLinkOnlyWhenNoByteOfTheFrameWentOut) {
    FakeDevice device(deviceFraming(framing()), test::answerCorrectly);
    for (const int sentBeforeStall : {0, 1}) {
        SCOPED_TRACE(sentBeforeStall);
        FaultyCalls calls;
        TCPClientLink link("127.0.0.1", device.port(), framing(), calls);
        ASSERT_TRUE(link.open(shortTimeout).has_value());
        calls.sendLimit = 3;
        calls.sendsBeforeStall = sentBeforeStall;
        EXPECT_EQ(link.transact(1, readTwo, shortTimeout).error(), TCPLinkError::timeout());
        ASSERT_EQ(link.isOpen(), sentBeforeStall == 0);
        calls.sendsBeforeStall.reset();
        if (link.isOpen()) {
            const auto answer = link.transact(1, readTwo, 2.0);
            ASSERT_TRUE(answer.has_value()) << answer.error().localizedDescription(Language::en);
            EXPECT_BYTES(answer->pdu, "03 04 00 10 00 11");
        }
    }
}

TEST(TCPClientLink, transactionIdentifierSkipsZeroWhenItWraps) {
    FakeDevice device(FakeFraming::modbusTCP, test::answerCorrectly);
    TCPClientLink link("127.0.0.1", device.port(), TCPFraming::modbusTCP);
    ASSERT_TRUE(link.open(shortTimeout).has_value());
    std::vector<std::uint8_t> last;
    for (int i = 0; i < 65536; ++i) {
        auto answer = link.transact(1, readTwo, 2.0);
        ASSERT_TRUE(answer.has_value()) << i << ": " << answer.error().localizedDescription(Language::en);
        ASSERT_FALSE(answer->request[0] == 0 && answer->request[1] == 0) << "request " << i;
        last = std::move(answer->request);
    }
    // 65535 identifiers from 1 to FFFF, then 1 again.
    EXPECT_BYTES(std::span(last).first(2), "00 01");
    EXPECT_EQ(link.nextTransaction(), 2);
}

}  // namespace
}  // namespace tessarin
