#include "ModbusTCP/ListenAddress.hpp"
#include "ModbusTCP/TCPFraming.hpp"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

// The raw values are what project files store: a renamed case would orphan every saved file.
TEST(TCPFraming, rawValuesAreTheStoredNamesAndRoundTrip) {
    EXPECT_EQ(rawValue(TCPFraming::modbusTCP), "modbusTCP");
    EXPECT_EQ(rawValue(TCPFraming::rtuOverTCP), "rtuOverTCP");
    for (const TCPFraming framing : allTCPFramings) {
        SCOPED_TRACE(rawValue(framing));
        EXPECT_EQ(tcpFramingFromRawValue(rawValue(framing)), framing);
    }
    for (const std::string_view other : {"", "ModbusTCP", "rtu", "modbusTCP "}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(tcpFramingFromRawValue(other).has_value());
    }
    EXPECT_EQ(modbusTCPPort, 502);
}

TEST(ListenAddress, rawValuesRoundTrip) {
    EXPECT_EQ(rawValue(ListenAddress::localhost), "localhost");
    EXPECT_EQ(rawValue(ListenAddress::anyInterface), "anyInterface");
    for (const ListenAddress address : allListenAddresses) {
        EXPECT_EQ(listenAddressFromRawValue(rawValue(address)), address);
    }
    EXPECT_FALSE(listenAddressFromRawValue("any").has_value());
}

}  // namespace
}  // namespace tessarin
