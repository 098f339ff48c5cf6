#include "ModbusTCP/TCPLinkError.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace tessarin {
namespace {

TEST(TCPLinkError, englishDescriptionsNameHostPortAndSystemReason) {
    struct Row {
        TCPLinkError error;
        std::string english;
    };
    const std::vector<Row> rows{
        {TCPLinkError::resolveFailed("plc.example"),
         "Cannot find 'plc.example'. Check the IP address or name."},
        // IPv6 literals are bracketed, as in the log's connected line. The common reasons have a
        // text of their own; any other error number keeps the system's text.
        {TCPLinkError::connectFailed("::1", 1502, EHOSTUNREACH),
         "Connecting to [::1]:1502 failed: host unreachable."},
        {TCPLinkError::connectFailed("plc.example", 502, ECONNREFUSED),
         "Connecting to plc.example:502 failed: connection refused (nothing listens on this port)."},
        {TCPLinkError::connectFailed("plc.example", 502, EACCES),
         "Connecting to plc.example:502 failed: Permission denied."},
        {TCPLinkError::connectTimeout("10.0.0.7", 503),
         "10.0.0.7:503 does not answer. Is the device on and is the address right?"},
        {TCPLinkError::timeout(), "No response from the device."},
        {TCPLinkError::disconnected(), "The connection was closed."},
        {TCPLinkError::invalidResponse(), "The response is not valid Modbus TCP."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(name(row.error.kind));
        EXPECT_EQ(row.error.localizedDescription(Language::en), row.english);
        EXPECT_NE(row.error.localizedDescription(Language::de), row.english);
    }
}

}  // namespace
}  // namespace tessarin
