#include "ModbusCore/CRC16.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "ModbusCore/SerialTiming.hpp"

#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <optional>
#include <set>
#include <string_view>

namespace tessarin {
namespace {

using test::bytes;

TEST(CRC16, CheckValuesAndWireExamples) {
    const std::string_view digits = "123456789";
    const std::vector<std::uint8_t> ascii(digits.begin(), digits.end());
    EXPECT_EQ(CRC16::modbus(ascii), 0x4B37);
    EXPECT_EQ(CRC16::modbus(bytes("")), 0xFFFF);
    EXPECT_EQ(CRC16::modbus(bytes("00")), 0x40BF);
    // Frames from the protocol's own documentation, CRC low byte first on the wire.
    EXPECT_BYTES(RTUFrame::build(1, bytes("03 00 00 00 0A")), "01 03 00 00 00 0A C5 CD");
    EXPECT_BYTES(RTUFrame::build(1, bytes("05 00 AC FF 00")), "01 05 00 AC FF 00 4C 1B");
    EXPECT_BYTES(RTUFrame::build(1, bytes("83 02")), "01 83 02 C0 F1");
    EXPECT_BYTES(RTUFrame::build(0, bytes("")), "00 BF 40");
}

TEST(MBAPHeader, MessageAndParse) {
    EXPECT_BYTES(MBAPHeader::message(0x1234, 0xFF, bytes("03 00 00 00 0A")),
                 "12 34 00 00 00 06 FF 03 00 00 00 0A");
    EXPECT_BYTES(MBAPHeader::message(0, 0, bytes("")), "00 00 00 00 00 01 00");

    using Error = MBAPHeader::ParseError;
    struct Case {
        const char* name;
        const char* bytes;
        std::optional<MBAPHeader> header;
        Error error = Error::tooShort();
    };
    const Case cases[] = {
        {"six bytes", "00 01 00 00 00 06", std::nullopt},
        {"empty", "", std::nullopt},
        {"foreign protocol", "00 01 00 01 00 06 01", std::nullopt, Error::unsupportedProtocol(1)},
        {"foreign protocol and bad length", "00 01 FF FF 00 00 01", std::nullopt,
         Error::unsupportedProtocol(0xFFFF)},
        {"length 0", "00 01 00 00 00 00 01", std::nullopt, Error::invalidLength(0)},
        {"length 1", "00 01 00 00 00 01 01", std::nullopt, Error::invalidLength(1)},
        {"length 255", "00 01 00 00 00 FF 01", std::nullopt, Error::invalidLength(255)},
        {"length 65535", "00 01 00 00 FF FF 01", std::nullopt, Error::invalidLength(0xFFFF)},
        {"length 2", "AB CD 00 00 00 02 11", MBAPHeader{0xABCD, 0, 2, 0x11}},
        {"length 254", "00 07 00 00 00 FE FF", MBAPHeader{7, 0, 254, 0xFF}},
        {"only the first seven bytes count", "00 01 00 00 00 06 01 03 FF", MBAPHeader{1, 0, 6, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = MBAPHeader::parse(bytes(c.bytes));
        if (c.header) {
            ASSERT_TRUE(result.has_value());
            EXPECT_EQ(*result, *c.header);
        } else {
            ASSERT_FALSE(result.has_value());
            EXPECT_EQ(result.error(), c.error);
        }
    }
    EXPECT_EQ(MBAPHeader::parse(bytes("00 01 00 00 00 02 01"))->pduSize(), 1U);
    EXPECT_EQ(MBAPHeader::parse(bytes("00 01 00 00 00 FE 01"))->pduSize(), MBAPHeader::maxPDUSize);
    // A header made by hand with length 0 has no PDU rather than a wrapped-around one.
    EXPECT_EQ(MBAPHeader{}.pduSize(), 0U);
}

TEST(MBAPHeader, LargestPDURoundTrips) {
    const std::vector<std::uint8_t> pdu(MBAPHeader::maxPDUSize, 0x5A);
    const std::vector<std::uint8_t> message = MBAPHeader::message(0xFFFF, 0, pdu);
    ASSERT_EQ(message.size(), MBAPHeader::size + pdu.size());
    const auto header = MBAPHeader::parse(message);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->transactionID, 0xFFFF);
    EXPECT_EQ(header->pduSize(), pdu.size());
}

TEST(MBAPHeaderDeathTest, PDUTooLongForTheLengthFieldStops) {
    const std::vector<std::uint8_t> pdu(0xFFFF, 0);
    EXPECT_DEATH((void)MBAPHeader::message(1, 1, pdu), "length field");
}

TEST(RTUFrame, ParseResponse) {
    using Error = RTUFrame::ParseError;
    struct Case {
        const char* name;
        const char* frame;
        std::uint8_t unit;
        std::uint8_t function;
        std::optional<std::string_view> pdu;
        Error error = Error::tooShort(0);
    };
    const Case cases[] = {
        {"exception response", "01 83 02 C0 F1", 1, 3, "83 02"},
        {"register response", "01 03 04 00 0A 01 02 5A 60", 1, 3, "03 04 00 0A 01 02"},
        {"last byte altered", "01 83 02 C0 F0", 1, 3, std::nullopt, Error::crcMismatch(0xF1C0, 0xF0C0)},
        {"three bytes", "01 83 02", 1, 3, std::nullopt, Error::tooShort(3)},
        {"empty", "", 1, 3, std::nullopt, Error::tooShort(0)},
        {"another unit", "02 03 04 00 0A 01 02 69 60", 1, 3, std::nullopt, Error::unexpectedUnit(2)},
        {"another function", "01 03 04 00 0A 01 02 5A 60", 1, 4, std::nullopt, Error::unexpectedFunction(3)},
        {"exception of another function", "01 83 02 C0 F1", 1, 4, std::nullopt,
         Error::unexpectedFunction(0x83)},
        // The CRC is checked first: a corrupted frame says nothing reliable about its unit.
        {"bad CRC from another unit", "02 03 04 00 0A 01 02 69 61", 1, 3, std::nullopt,
         Error::crcMismatch(0x6069, 0x6169)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = RTUFrame::parseResponse(bytes(c.frame), c.unit, c.function);
        if (c.pdu) {
            ASSERT_TRUE(result.has_value());
            EXPECT_BYTES(*result, *c.pdu);
        } else {
            ASSERT_FALSE(result.has_value());
            EXPECT_EQ(result.error(), c.error);
        }
    }
    // Four bytes are enough: unit, function, CRC.
    const auto minimal = RTUFrame::parseResponse(RTUFrame::build(9, bytes("07")), 9, 7);
    ASSERT_TRUE(minimal.has_value());
    EXPECT_BYTES(*minimal, "07");
}

TEST(RTUFrame, HasValidCRC) {
    EXPECT_TRUE(RTUFrame::hasValidCRC(bytes("01 03 00 00 00 0A C5 CD")));
    EXPECT_FALSE(RTUFrame::hasValidCRC(bytes("01 03 00 00 00 0A CD C5")));
    // Three bytes with a matching CRC are not a frame.
    EXPECT_FALSE(RTUFrame::hasValidCRC(bytes("00 BF 40")));
    EXPECT_FALSE(RTUFrame::hasValidCRC(bytes("FF FF")));
    EXPECT_FALSE(RTUFrame::hasValidCRC(bytes("")));
}

TEST(RTUFrame, ExpectedLengths) {
    struct Case {
        const char* head;
        std::optional<std::size_t> request;
        std::optional<std::size_t> response;
    };
    const Case cases[] = {
        {"", std::nullopt, std::nullopt},
        {"01", std::nullopt, std::nullopt},
        {"01 83", std::nullopt, 5},
        {"01 FF", std::nullopt, 5},
        {"01 03", 8, std::nullopt},
        {"01 03 14", 8, 25},
        {"01 01 FF", 8, 260},
        {"01 02 00", 8, 5},
        {"01 04 02", 8, 7},
        {"01 05", 8, 8},
        {"01 06", 8, 8},
        {"01 07", 4, 5},
        {"01 08", 8, 8},
        {"01 0B", 4, 8},
        {"01 0C", 4, std::nullopt},
        {"01 0C 02", 4, 7},
        {"01 10 00 00 00 02", std::nullopt, 8},
        {"01 10 00 00 00 02 04", 13, 8},
        {"01 0F 00 13 00 0A 02", 11, 8},
        {"01 11", 4, std::nullopt},
        {"01 11 05", 4, 10},
        {"01 14", std::nullopt, std::nullopt},
        {"01 14 09", std::nullopt, 14},
        {"01 15 00", std::nullopt, 5},
        {"01 16", 10, 10},
        {"01 17 00 00 00 02 00 00 00 02", std::nullopt, 5},
        {"01 17 04 00 00 02 00 00 00 02 04", 17, 9},
        {"01 18", 6, std::nullopt},
        {"01 18 00", 6, std::nullopt},
        {"01 18 00 06", 6, 12},
        {"01 18 FF FF", 6, 65541},
        {"01 2B", 7, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        EXPECT_EQ(RTUFrame::expectedRequestLength(bytes(c.head)), c.request);
        EXPECT_EQ(RTUFrame::expectedResponseLength(bytes(c.head)), c.response);
    }
}

TEST(RTUFrame, UnlistedFunctionCodesHaveNoLength) {
    const std::set<int> requestCodes{1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 15, 16, 17, 22, 23, 24, 43};
    const std::set<int> responseCodes{1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 15, 16, 17, 20, 21, 22, 23, 24};
    for (int function = 0; function < 256; ++function) {
        SCOPED_TRACE(fmt::format("function {}", function));
        // Long enough for every length rule, so only the function code decides.
        std::vector<std::uint8_t> head(16, 0x02);
        head[1] = static_cast<std::uint8_t>(function);
        EXPECT_EQ(RTUFrame::expectedRequestLength(head).has_value(), requestCodes.contains(function));
        EXPECT_EQ(RTUFrame::expectedResponseLength(head).has_value(),
                  function >= 0x80 || responseCodes.contains(function));
        EXPECT_EQ(RTUFrame::expectedRequestLength(std::span(head).first(1)), std::nullopt);
        EXPECT_EQ(RTUFrame::expectedResponseLength(std::span(head).first(1)), std::nullopt);
    }
}

TEST(SerialTiming, ModbusSerialLineRules) {
    EXPECT_EQ(SerialTiming::bitsPerCharacter(8, true, 1), 11);
    EXPECT_EQ(SerialTiming::bitsPerCharacter(8, false, 2), 11);
    EXPECT_EQ(SerialTiming::bitsPerCharacter(7, true, 1), 10);
    EXPECT_NEAR(SerialTiming::interFrameDelay(9600, 11), 0.00401, 0.000005);
    // 19200 baud still counts characters; one step above, the delay is fixed.
    EXPECT_NEAR(SerialTiming::interFrameDelay(19200, 11), 3.5 * 11 / 19200, 1e-12);
    EXPECT_DOUBLE_EQ(SerialTiming::interFrameDelay(19201, 11), 0.00175);
    EXPECT_DOUBLE_EQ(SerialTiming::interFrameDelay(38400, 11), 0.00175);
    EXPECT_DOUBLE_EQ(SerialTiming::transmissionTime(8, 9600, 10), 80.0 / 9600);
    EXPECT_DOUBLE_EQ(SerialTiming::transmissionTime(0, 9600, 10), 0.0);
}

TEST(SerialTimingDeathTest, ZeroBaudStops) {
    EXPECT_DEATH((void)SerialTiming::interFrameDelay(0, 11), "line");
    EXPECT_DEATH((void)SerialTiming::transmissionTime(1, 0, 11), "baud");
}

}  // namespace
}  // namespace tessarin
