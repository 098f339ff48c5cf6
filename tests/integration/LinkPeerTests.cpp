// The link against real Modbus implementations of other projects: libmodbus's server for Modbus
// TCP and pymodbus's server with the RTU framer for RTU over TCP.

#include "ModbusTCP/TCPClientLink.hpp"

#include "support/ByteAssertions.hpp"
#include "support/FakeDevice.hpp"
#include "support/PeerProcess.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace tessarin {
namespace {

using test::bytes;
using test::PeerKind;
using test::PeerOptions;
using test::PeerProcess;

constexpr double timeout = 0.3;
// Only a cap for a broken peer; a healthy one answers in well under a millisecond.
constexpr double generous = 5.0;

TCPFraming framingOf(PeerKind kind) {
    return kind == PeerKind::libmodbusTCP ? TCPFraming::modbusTCP : TCPFraming::rtuOverTCP;
}

class LinkPeer : public ::testing::TestWithParam<PeerKind> {
protected:
    PeerProcess start(const PeerOptions& options = {}) {
        auto peer = PeerProcess::start(GetParam(), options);
        if (!peer) ADD_FAILURE() << peer.error();
        return std::move(peer).value();
    }
    TCPClientLink openLink(const PeerProcess& peer) {
        TCPClientLink link("127.0.0.1", peer.port(), framingOf(GetParam()));
        const auto opened = link.open(generous);
        EXPECT_TRUE(opened.has_value()) << opened.error().localizedDescription(Language::en);
        return link;
    }
};

INSTANTIATE_TEST_SUITE_P(RealPeers, LinkPeer,
                         ::testing::Values(PeerKind::libmodbusTCP, PeerKind::pymodbusRTU),
                         [](const ::testing::TestParamInfo<PeerKind>& param) {
                             return param.param == PeerKind::libmodbusTCP ? "libmodbusTCP" : "pymodbusRTU";
                         });

TEST_P(LinkPeer, readsAndWritesTheFourTables) {
    const PeerProcess peer = start({.unit = std::nullopt, .size = 4000});
    TCPClientLink link = openLink(peer);
    struct Row {
        std::string name;
        std::string request;
        std::string answer;  // empty: what a correct device answers from the shared tables
    };
    const std::vector<Row> rows{
        {"ten holding registers", "03 00 64 00 0A", ""},
        {"125 input registers", "04 03 00 00 7D", ""},
        {"ten coils from 19", "01 00 13 00 0A", ""},
        {"2000 discrete inputs", "02 00 00 07 D0", ""},
        {"write one register", "06 00 C8 12 34", "06 00 C8 12 34"},
        {"read it back", "03 00 C8 00 01", "03 02 12 34"},
        {"write two registers", "10 00 C9 00 02 04 AB CD 00 01", "10 00 C9 00 02"},
        {"read them back", "03 00 C9 00 02", "03 04 AB CD 00 01"},
        {"switch a coil on", "05 00 01 FF 00", "05 00 01 FF 00"},
        {"read it back", "01 00 01 00 01", "01 01 01"},
        {"beyond the tables", "03 0F A0 00 01", "83 02"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto request = bytes(row.request);
        const auto answer = link.transact(7, request, generous);
        ASSERT_TRUE(answer.has_value()) << answer.error().localizedDescription(Language::en);
        EXPECT_EQ(answer->unit, 7);
        EXPECT_BYTES(answer->pdu, row.answer.empty() ? test::hex(test::answerPDU(request)) : row.answer);
    }
}

TEST_P(LinkPeer, aDeviceThatGoesAwayClosesTheLinkAndThenRefuses) {
    PeerProcess peer = start();
    TCPClientLink link = openLink(peer);
    ASSERT_TRUE(link.transact(1, bytes("03 00 00 00 01"), generous).has_value());
    const std::uint16_t port = peer.port();
    peer.stop();
    // The first send may still be accepted by the kernel; at the latest the answer wait sees
    // the close.
    EXPECT_EQ(link.transact(1, bytes("03 00 00 00 01"), generous).error(), TCPLinkError::disconnected());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.open(timeout).error(), TCPLinkError::connectFailed("127.0.0.1", port, ECONNREFUSED));
}

}  // namespace
}  // namespace tessarin
