// The real peers themselves: both serve the documented tables, so that every other test may
// predict what it reads, and their options do what the fixture promises.

#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "support/ByteAssertions.hpp"
#include "support/PeerProcess.hpp"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace tessarin::test {
namespace {

// A bare client socket: send one frame, collect what arrives within a wait.
class RawClient {
public:
    explicit RawClient(std::uint16_t port) : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient() { ::close(m_fd); }

    bool connected() const { return m_connected; }

    // Sends request and reads until `expected` bytes arrived or `waitMs` passed without any.
    std::vector<std::uint8_t> ask(const std::vector<std::uint8_t>& request, std::size_t expected,
                                  int waitMs) {
        EXPECT_EQ(::send(m_fd, request.data(), request.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(request.size()));
        std::vector<std::uint8_t> answer;
        while (answer.size() < expected) {
            pollfd watched{m_fd, POLLIN, 0};
            if (::poll(&watched, 1, waitMs) <= 0) break;
            std::uint8_t chunk[300];
            const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (n <= 0) break;
            answer.insert(answer.end(), chunk, chunk + n);
        }
        return answer;
    }

private:
    int m_fd;
    bool m_connected = false;
};

constexpr int answerWaitMs = 10000;  // only a cap on a broken peer

std::vector<std::uint8_t> frame(PeerKind kind, std::uint8_t unit, const std::vector<std::uint8_t>& pdu) {
    return kind == PeerKind::libmodbusTCP ? MBAPHeader::message(0x1234, unit, pdu)
                                          : RTUFrame::build(unit, pdu);
}

class PeersTest : public ::testing::TestWithParam<PeerKind> {};

TEST_P(PeersTest, ServeTheDocumentedTables) {
    using namespace DeviceContents;
    const PeerKind kind = GetParam();
    auto peer = PeerProcess::start(kind);
    ASSERT_TRUE(peer) << peer.error();
    RawClient client(peer->port());
    ASSERT_TRUE(client.connected());

    // Five items from 65531 reach the very last address of each table.
    constexpr std::uint16_t first = 65531;
    std::vector<bool> coils, inputs;
    std::vector<std::uint8_t> holding{0x03, 10}, input{0x04, 10};
    std::uint8_t coilByte = 0, inputByte = 0;
    for (int i = 0; i < 5; ++i) {
        const auto a = static_cast<std::uint16_t>(first + i);
        coilByte = static_cast<std::uint8_t>(coilByte | (coil(a) ? 1 << i : 0));
        inputByte = static_cast<std::uint8_t>(inputByte | (discreteInput(a) ? 1 << i : 0));
        holding.insert(holding.end(), {static_cast<std::uint8_t>(holdingRegister(a) >> 8),
                                       static_cast<std::uint8_t>(holdingRegister(a))});
        input.insert(input.end(), {static_cast<std::uint8_t>(inputRegister(a) >> 8),
                                   static_cast<std::uint8_t>(inputRegister(a))});
    }
    const struct {
        std::uint8_t function;
        std::vector<std::uint8_t> answer;
    } rows[] = {
        {0x01, {0x01, 1, coilByte}},
        {0x02, {0x02, 1, inputByte}},
        {0x03, holding},
        {0x04, input},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.function);
        const std::vector<std::uint8_t> pdu{row.function, 0xFF, 0xFB, 0x00, 0x05};
        const auto expected = frame(kind, 1, row.answer);
        EXPECT_EQ(hex(client.ask(frame(kind, 1, pdu), expected.size(), answerWaitMs)), hex(expected));
    }
}

TEST_P(PeersTest, HonourUnitDelayAndSizeOptions) {
    const PeerKind kind = GetParam();
    auto peer = PeerProcess::start(kind, {.unit = 7, .delayMs = 50, .size = 100});
    ASSERT_TRUE(peer) << peer.error();
    RawClient client(peer->port());
    ASSERT_TRUE(client.connected());

    // Another unit gets silence; the device must still answer its own unit afterwards.
    EXPECT_TRUE(client.ask(frame(kind, 8, {0x03, 0, 0, 0, 1}), 1, 300).empty());
    const auto inside = frame(kind, 7, {0x03, 2, 0x00, 99});
    EXPECT_EQ(hex(client.ask(frame(kind, 7, {0x03, 0, 99, 0, 1}), inside.size(), answerWaitMs)), hex(inside));
    const auto beyond = frame(kind, 7, {0x83, 0x02});
    EXPECT_EQ(hex(client.ask(frame(kind, 7, {0x03, 0, 99, 0, 2}), beyond.size(), answerWaitMs)), hex(beyond));
}

INSTANTIATE_TEST_SUITE_P(BothPeers, PeersTest,
                         ::testing::Values(PeerKind::libmodbusTCP, PeerKind::pymodbusRTU),
                         [](const ::testing::TestParamInfo<PeerKind>& row) {
                             return row.param == PeerKind::libmodbusTCP ? "libmodbus" : "pymodbus";
                         });

TEST(LibmodbusPeer, AnswersUnknownFunctionsAndKeepsItsFraming) {
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP);
    ASSERT_TRUE(peer) << peer.error();
    RawClient client(peer->port());
    ASSERT_TRUE(client.connected());
    const auto illegal = MBAPHeader::message(0x1234, 1, std::vector<std::uint8_t>{0xC1, 0x01});
    EXPECT_EQ(hex(client.ask(MBAPHeader::message(0x1234, 1, std::vector<std::uint8_t>{0x41, 1, 2, 3, 4, 5}),
                             illegal.size(), answerWaitMs)),
              hex(illegal));
    const auto answer = MBAPHeader::message(0x1234, 1, std::vector<std::uint8_t>{0x03, 2, 0x00, 0x05});
    EXPECT_EQ(hex(client.ask(MBAPHeader::message(0x1234, 1, std::vector<std::uint8_t>{0x03, 0, 5, 0, 1}),
                             answer.size(), answerWaitMs)),
              hex(answer));
}

TEST(PeerProcess, APeerThatCannotServeIsAnErrorThatSaysWhich) {
    // A peer that ends without printing its port (here: it rejects its arguments).
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP, {.unit = std::nullopt, .delayMs = 0, .size = 0});
    ASSERT_FALSE(peer);
    EXPECT_NE(peer.error().find("libmodbus device"), std::string::npos) << peer.error();
}

}  // namespace
}  // namespace tessarin::test
