#include "ModbusCore/CRC16.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/RTUFrame.hpp"

#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <tuple>

namespace tessarin {
namespace {

using test::bytes;

TEST(CRC16, CheckValuesAndDocumentedFrames) {
    const std::string_view digits = "123456789";
    EXPECT_EQ(CRC16::modbus(std::vector<std::uint8_t>(digits.begin(), digits.end())), 0x4B37);
    EXPECT_EQ(CRC16::modbus(bytes("")), 0xFFFF);
    EXPECT_BYTES(RTUFrame::build(1, bytes("03 00 00 00 0A")), "01 03 00 00 00 0A C5 CD");
    EXPECT_TRUE(RTUFrame::hasValidCRC(bytes("01 03 00 00 00 0A C5 CD")));
    EXPECT_FALSE(RTUFrame::hasValidCRC(bytes("01 03 00 00 00 0A CD C5")));
    // Three bytes with a matching CRC are not a frame.
    EXPECT_FALSE(RTUFrame::hasValidCRC(bytes("00 BF 40")));
}

TEST(MBAPHeader, MessageAndParse) {
    EXPECT_BYTES(MBAPHeader::message(0x1234, 0xFF, bytes("03 00 00 00 0A")),
                 "12 34 00 00 00 06 FF 03 00 00 00 0A");
    using Error = MBAPHeader::ParseError;
    const std::pair<const char*, std::expected<MBAPHeader, Error>> cases[] = {
        {"00 01 00 00 00 06", std::unexpected(Error::tooShort())},
        {"00 01 00 01 00 06 01", std::unexpected(Error::unsupportedProtocol(1))},
        {"00 01 00 00 00 01 01", std::unexpected(Error::invalidLength(1))},
        {"00 01 00 00 FF FF 01", std::unexpected(Error::invalidLength(0xFFFF))},
        {"AB CD 00 00 00 02 11", MBAPHeader{0xABCD, 0, 2, 0x11}},
        {"00 07 00 00 00 FE FF 03", MBAPHeader{7, 0, 254, 0xFF}},
    };
    for (const auto& [header, result] : cases) EXPECT_EQ(MBAPHeader::parse(bytes(header)), result) << header;
    EXPECT_EQ(MBAPHeader::parse(bytes("00 01 00 00 00 02 01"))->pduSize(), 1U);
    // A header made by hand with length 0 has no PDU rather than a wrapped-around one.
    EXPECT_EQ(MBAPHeader{}.pduSize(), 0U);
}

TEST(MBAPHeaderDeathTest, PDUTooLongForTheLengthFieldStops) {
    EXPECT_DEATH((void)MBAPHeader::message(1, 1, std::vector<std::uint8_t>(0xFFFF)), "length field");
}

TEST(RTUFrame, ParseResponse) {
    using Error = RTUFrame::ParseError;
    const std::tuple<const char*, std::uint8_t, std::expected<std::vector<std::uint8_t>, Error>> cases[] = {
        {"01 83 02 C0 F1", 3, bytes("83 02")},
        {"01 03 04 00 0A 01 02 5A 60", 3, bytes("03 04 00 0A 01 02")},
        {"01 83 02 C0 F0", 3, std::unexpected(Error::crcMismatch(0xF1C0, 0xF0C0))},
        {"01 83 02", 3, std::unexpected(Error::tooShort(3))},
        {"02 03 04 00 0A 01 02 69 60", 3, std::unexpected(Error::unexpectedUnit(2))},
        // The CRC comes first: a corrupted frame says nothing reliable about its unit.
        {"02 03 04 00 0A 01 02 69 61", 3, std::unexpected(Error::crcMismatch(0x6069, 0x6169))},
        {"01 03 04 00 0A 01 02 5A 60", 4, std::unexpected(Error::unexpectedFunction(3))},
    };
    for (const auto& [frame, function, result] : cases) {
        EXPECT_EQ(RTUFrame::parseResponse(bytes(frame), 1, function), result) << frame;
    }
}

TEST(RTUFrame, ExpectedLengths) {
    const std::tuple<const char*, std::optional<std::size_t>, std::optional<std::size_t>> cases[] = {
        {"01", std::nullopt, std::nullopt},
        {"01 83", std::nullopt, 5},
        {"01 01 FF", 8, 260},
        {"01 10 00 00 00 02 04", 13, 8},
        {"01 17 04 00 00 02 00 00 00 02 04", 17, 9},
        {"01 18 FF FF", 6, 65541},
        {"01 2B", 7, std::nullopt},
        {"01 41 00 00", std::nullopt, std::nullopt},
    };
    for (const auto& [head, request, response] : cases) {
        SCOPED_TRACE(head);
        EXPECT_EQ(RTUFrame::expectedRequestLength(bytes(head)), request);
        EXPECT_EQ(RTUFrame::expectedResponseLength(bytes(head)), response);
    }
}

}  // namespace
}  // namespace tessarin
