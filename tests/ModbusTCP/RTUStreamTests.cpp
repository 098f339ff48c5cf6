#include "ModbusTCP/RTUStream.hpp"

#include "ModbusCore/CRC16.hpp"
#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tessarin {
namespace {

using test::bytes;
using Kind = RTUStream::Next::Kind;

std::vector<std::uint8_t> withCRC(std::vector<std::uint8_t> frame) {
    const std::uint16_t crc = CRC16::modbus(frame);
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bytes that announce no length (0x41 is no function code the length rules know) and whose
// CRC never holds: a stream the search can only give up on by its size.
std::vector<std::uint8_t> unjudged(std::size_t count) {
    std::vector<std::uint8_t> out(count, 0x41);
    out[0] = 0x01;
    return out;
}

struct Row {
    std::string name;
    std::vector<std::uint8_t> input;
    Kind response;
    std::size_t responseLength;  // frame length when response is a frame
    Kind request;
    std::size_t requestLength;
};

TEST(RTUStream, findsTheFirstFrameByEachLengthRule) {
    const auto readRequest = bytes("01 03 00 00 00 0A C5 CD");
    const auto readAnswer = withCRC(bytes("01 03 04 00 0A 01 02"));
    const auto exception = bytes("01 83 02 C0 F1");
    const auto writeRequest = withCRC(bytes("01 10 00 00 00 02 04 00 0A 01 02"));
    const std::vector shortAnswer(readAnswer.begin(), readAnswer.end() - 1);
    auto badCRC = readAnswer;
    badCRC.back() ^= 0xFF;

    const std::vector<Row> rows{
        {"nothing", {}, Kind::incomplete, 0, Kind::incomplete, 0},
        {"read answer before its byte count", bytes("01 03"), Kind::incomplete, 0, Kind::incomplete, 0},
        {"read answer", readAnswer, Kind::frame, 9, Kind::invalid, 0},
        {"read answer followed by the next", concat(readAnswer, readAnswer), Kind::frame, 9, Kind::invalid,
         0},
        {"read answer one byte short", shortAnswer, Kind::incomplete, 0, Kind::invalid, 0},
        {"read answer with a bad CRC", badCRC, Kind::invalid, 0, Kind::invalid, 0},
        // The request's fifth byte is no CRC of the four before it.
        {"read request", readRequest, Kind::invalid, 0, Kind::frame, 8},
        // No request length for 0x83, so only the CRC over all the bytes speaks.
        {"exception answer", exception, Kind::frame, 5, Kind::frame, 5},
        {"write request", writeRequest, Kind::invalid, 0, Kind::frame, 13},
        {"write request before its byte count", bytes("01 10 00 00 00 02"), Kind::incomplete, 0,
         Kind::incomplete, 0},
        {"announced 256 bytes", bytes("01 03 FB"), Kind::incomplete, 0, Kind::incomplete, 0},
        {"announced 257 bytes", bytes("01 03 FC"), Kind::invalid, 0, Kind::incomplete, 0},
        {"unknown function, 255 bytes", unjudged(255), Kind::incomplete, 0, Kind::incomplete, 0},
        {"unknown function, 256 bytes", unjudged(256), Kind::invalid, 0, Kind::invalid, 0},
        {"unknown function with a valid CRC", withCRC(bytes("01 41 00 01")), Kind::frame, 6, Kind::frame, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto response = RTUStream::nextResponse(row.input);
        const auto request = RTUStream::nextRequest(row.input);
        EXPECT_EQ(response.kind, row.response);
        EXPECT_EQ(request.kind, row.request);
        if (row.response == Kind::frame) {
            EXPECT_BYTES(response.bytes, test::hex(std::span(row.input).first(row.responseLength)));
        }
        if (row.request == Kind::frame) {
            EXPECT_BYTES(request.bytes, test::hex(std::span(row.input).first(row.requestLength)));
        }
    }
}

}  // namespace
}  // namespace tessarin
