// The real peers themselves. That both serve the tables of peers/DeviceContents.hpp, up to the
// last address, and honour their unit and size options is what the engine and link tests
// against them check on every read; here only how a peer that cannot serve is reported.

#include "support/PeerProcess.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tessarin::test {
namespace {

TEST(PeerProcess, APeerThatCannotServeIsAnErrorThatSaysWhich) {
    // A peer that ends without printing its port (here: it rejects its arguments).
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP, {.unit = std::nullopt, .delayMs = 0, .size = 0});
    ASSERT_FALSE(peer);
    EXPECT_NE(peer.error().find("libmodbus device"), std::string::npos) << peer.error();
}

}  // namespace
}  // namespace tessarin::test
