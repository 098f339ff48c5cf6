#include "ModbusCore/PDU.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/ExceptionPDU.hpp"
#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace tessarin {
namespace {

using test::bytes;

std::vector<bool> boolsOf(std::string_view digits) {
    std::vector<bool> out;
    for (const char c : digits) {
        if (c == '0' || c == '1') out.push_back(c == '1');
    }
    return out;
}

TEST(Bytes, HexStringAndBigEndianHelpers) {
    EXPECT_EQ(hexString(bytes("01 03 00 00 00 0A")), "01 03 00 00 00 0A");
    EXPECT_EQ(hexString(bytes("")), "");
    EXPECT_EQ(hexString(bytes("ff")), "FF");

    std::vector<std::uint8_t> out;
    appendUInt16(out, 0x1234);
    appendUInt16(out, 0x00FF);
    EXPECT_BYTES(out, "12 34 00 FF");
    EXPECT_EQ(uint16At(out, 0), 0x1234);
    EXPECT_EQ(uint16At(out, 1), 0x3400);
    EXPECT_EQ(uint16At(out, 2), 0x00FF);
}

TEST(Bytes, PackAndUnpackBits) {
    EXPECT_BYTES(packBits({}), "");
    EXPECT_BYTES(packBits(boolsOf("1011001110")), "CD 01");
    EXPECT_BYTES(packBits(boolsOf("11111111")), "FF");
    // The ninth value opens a second byte whose unused bits stay 0.
    EXPECT_BYTES(packBits(boolsOf("000000001")), "00 01");

    EXPECT_EQ(unpackBits(bytes("CD 01"), 10), boolsOf("1011001110"));
    EXPECT_EQ(unpackBits(bytes("CD 01"), 0), std::vector<bool>{});
    // Values beyond the data read as false instead of reading past it.
    EXPECT_EQ(unpackBits(bytes("FF"), 10), boolsOf("1111111100"));
    EXPECT_EQ(unpackBits(bytes(""), 3), boolsOf("000"));

    const std::vector<bool> values = boolsOf("1100101011100010101");
    EXPECT_EQ(unpackBits(packBits(values), values.size()), values);
}

TEST(PDUBuilders, ExactRequestBytes) {
    EXPECT_BYTES(PDU::read(RegisterTable::holdingRegister, 0, 10), "03 00 00 00 0A");
    EXPECT_BYTES(PDU::read(RegisterTable::coil, 19, 2000), "01 00 13 07 D0");
    EXPECT_BYTES(PDU::read(RegisterTable::discreteInput, 0xFFFF, 1), "02 FF FF 00 01");
    EXPECT_BYTES(PDU::read(RegisterTable::inputRegister, 0x1234, 0), "04 12 34 00 00");
    EXPECT_BYTES(PDU::read(RegisterTable::inputRegister, 0, 65535), "04 00 00 FF FF");
    EXPECT_BYTES(PDU::writeSingleCoil(0x00AC, true), "05 00 AC FF 00");
    EXPECT_BYTES(PDU::writeSingleCoil(0x00AC, false), "05 00 AC 00 00");
    EXPECT_BYTES(PDU::writeSingleRegister(0x0001, 0xABCD), "06 00 01 AB CD");
    EXPECT_BYTES(PDU::writeMultipleCoils(19, boolsOf("1011001110")), "0F 00 13 00 0A 02 CD 01");
    const std::vector<std::uint16_t> registers{0x000A, 0x0102};
    EXPECT_BYTES(PDU::writeMultipleRegisters(1, registers), "10 00 01 00 02 04 00 0A 01 02");
    EXPECT_BYTES(PDU::writeMultipleRegisters(7, {}), "10 00 07 00 00 00");
}

TEST(PDUBuilders, LargestWritesFillTheByteCount) {
    const std::vector<std::uint16_t> registers(PDU::maxPackedRegisters, 0x0102);
    const std::vector<std::uint8_t> request = PDU::writeMultipleRegisters(0, registers);
    ASSERT_EQ(request.size(), 6 + 254U);
    EXPECT_BYTES(std::span(request).first(6), "10 00 00 00 7F FE");

    const std::vector<bool> coils(PDU::maxPackedCoils, true);
    const std::vector<std::uint8_t> coilRequest = PDU::writeMultipleCoils(0, coils);
    ASSERT_EQ(coilRequest.size(), 6 + 255U);
    EXPECT_BYTES(std::span(coilRequest).first(6), "0F 00 00 07 F8 FF");
}

TEST(PDUBuildersDeathTest, QuantitiesOutsideTheWireFormatStop) {
    EXPECT_DEATH((void)PDU::read(RegisterTable::coil, 0, -1), "read quantity");
    EXPECT_DEATH((void)PDU::read(RegisterTable::coil, 0, 65536), "read quantity");
    const std::vector<std::uint16_t> registers(PDU::maxPackedRegisters + 1, 0);
    EXPECT_DEATH((void)PDU::writeMultipleRegisters(0, registers), "byte count");
    const std::vector<bool> coils(PDU::maxPackedCoils + 1, false);
    EXPECT_DEATH((void)PDU::writeMultipleCoils(0, coils), "byte count");
    const std::vector<std::uint8_t> one{0x01};
    EXPECT_DEATH((void)uint16At(one, 0), "two bytes");
    EXPECT_DEATH((void)uint16At(one, 5), "two bytes");
}

struct ReadCase {
    const char* name;
    const char* response;
    RegisterTable table;
    int count;
    std::optional<PDU::ReadData> data;  // else the error
    PDU::ResponseError error = PDU::ResponseError::malformed();
};

TEST(PDUParseRead, ResponsesToReads) {
    using PDU::ReadData;
    using PDU::ResponseError;
    const auto hr = RegisterTable::holdingRegister;
    const auto ir = RegisterTable::inputRegister;
    const auto co = RegisterTable::coil;
    const auto di = RegisterTable::discreteInput;
    const ReadCase cases[] = {
        {"two registers", "03 04 00 0A 01 02", hr, 2, ReadData::registers({10, 258})},
        {"input registers", "04 04 FF FF 80 00", ir, 2, ReadData::registers({0xFFFF, 0x8000})},
        {"registers for a read of three", "03 04 00 0A 01 02", hr, 3, std::nullopt},
        {"holding response for input read", "03 04 00 0A 01 02", ir, 2, std::nullopt},
        {"eight coils", "01 01 CD", co, 8, ReadData::bits(boolsOf("10110011"))},
        {"eight coils for a read of ten", "01 01 CD", co, 10, std::nullopt},
        {"ten discrete inputs", "02 02 CD 01", di, 10, ReadData::bits(boolsOf("1011001110"))},
        {"nine coils in two bytes, high bits ignored", "01 02 00 FF", co, 9,
         ReadData::bits(boolsOf("000000001"))},
        {"coil response for discrete read", "01 01 CD", di, 8, std::nullopt},
        {"exception", "83 02", hr, 2, std::nullopt, ResponseError::exception(2)},
        {"exception of another function", "81 0B", hr, 2, std::nullopt, ResponseError::exception(11)},
        {"exception code without a case", "84 0C", ir, 1, std::nullopt, ResponseError::exception(12)},
        {"exception with trailing bytes", "83 02 00", hr, 2, std::nullopt, ResponseError::exception(2)},
        {"lone exception byte", "83", hr, 2, std::nullopt},
        {"empty", "", hr, 2, std::nullopt},
        {"one byte short of the byte count", "03 04 00 0A 01", hr, 2, std::nullopt},
        {"one byte beyond the byte count", "03 04 00 0A 01 02 03", hr, 2, std::nullopt},
        {"odd register byte count", "03 03 00 0A 01", hr, 2, std::nullopt},
        {"largest byte count, short data", "03 FF 00", hr, 2, std::nullopt},
        {"nothing asked, nothing given", "03 00", hr, 0, ReadData::registers({})},
        {"no coils asked, none given", "01 00", co, 0, ReadData::bits({})},
        {"no registers asked, some given", "03 02 00 01", hr, 0, std::nullopt},
        {"negative quantity", "01 00", co, -1, std::nullopt},
        {"negative quantity for registers", "03 00", hr, -3, std::nullopt},
        {"quantity past the wire format", "01 00", co, 65536 * 8, std::nullopt},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = PDU::parseRead(bytes(c.response), c.table, c.count);
        if (c.data) {
            ASSERT_TRUE(result.has_value());
            EXPECT_EQ(*result, *c.data);
        } else {
            ASSERT_FALSE(result.has_value());
            EXPECT_EQ(result.error(), c.error);
        }
    }
}

TEST(PDUParseRead, LargestReadsDecodeEveryValue) {
    std::vector<std::uint8_t> response{0x04, 250};
    for (int i = 0; i < 125; ++i) appendUInt16(response, static_cast<std::uint16_t>(i * 3));
    const auto registers = PDU::parseRead(response, RegisterTable::inputRegister, 125);
    ASSERT_TRUE(registers.has_value());
    ASSERT_NE(registers->registerValues(), nullptr);
    ASSERT_EQ(registers->registerValues()->size(), 125U);
    EXPECT_EQ(registers->registerValues()->back(), 372);
    EXPECT_EQ(registers->bitValues(), nullptr);

    std::vector<std::uint8_t> coils{0x01, 250};
    coils.resize(252, 0x00);
    coils.back() = 0x80;  // bit 1999, the last one asked for
    const auto bits = PDU::parseRead(coils, RegisterTable::coil, 2000);
    ASSERT_TRUE(bits.has_value());
    ASSERT_NE(bits->bitValues(), nullptr);
    ASSERT_EQ(bits->bitValues()->size(), 2000U);
    EXPECT_TRUE(bits->bitValues()->back());
    EXPECT_FALSE((*bits->bitValues())[1998]);
}

TEST(PDUCheckWrite, AcknowledgementsOfWrites) {
    using PDU::ResponseError;
    struct Case {
        const char* name;
        const char* response;
        const char* request;
        std::optional<ResponseError> error;  // none: accepted
    };
    const char* const fc16 = "10 00 01 00 02 04 00 0A 01 02";
    const Case cases[] = {
        {"echo of a register write", "06 00 01 AB CD", "06 00 01 AB CD", std::nullopt},
        {"echo of a coil write", "05 00 AC FF 00", "05 00 AC FF 00", std::nullopt},
        {"coil echo with another value", "05 00 AC 00 00", "05 00 AC FF 00", ResponseError::malformed()},
        {"register echo with another address", "06 00 02 AB CD", "06 00 01 AB CD",
         ResponseError::malformed()},
        {"multiple registers", "10 00 01 00 02", fc16, std::nullopt},
        {"multiple registers, wrong quantity", "10 00 01 00 03", fc16, ResponseError::malformed()},
        {"multiple registers, six bytes", "10 00 01 00 02 00", fc16, ResponseError::malformed()},
        {"multiple registers, four bytes", "10 00 01 00", fc16, ResponseError::malformed()},
        {"multiple coils", "0F 00 13 00 0A", "0F 00 13 00 0A 02 CD 01", std::nullopt},
        {"answer with another function", "0F 00 01 00 02", fc16, ResponseError::malformed()},
        {"exception", "90 02", fc16, ResponseError::exception(2)},
        {"exception to a single write", "86 04", "06 00 01 AB CD", ResponseError::exception(4)},
        {"exception before an empty request", "83 02", "", ResponseError::exception(2)},
        {"lone exception byte", "90", fc16, ResponseError::malformed()},
        {"empty request", "06 00 01 AB CD", "", ResponseError::malformed()},
        {"short request", "06 00 01 AB", "06 00 01 AB", ResponseError::malformed()},
        {"empty response", "", fc16, ResponseError::malformed()},
        // A single write longer than its five bytes cannot be echoed by five bytes.
        {"overlong single request", "06 00 01 AB CD", "06 00 01 AB CD EF", ResponseError::malformed()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = PDU::checkWrite(bytes(c.response), bytes(c.request));
        if (c.error) {
            ASSERT_FALSE(result.has_value());
            EXPECT_EQ(result.error(), *c.error);
        } else {
            EXPECT_TRUE(result.has_value());
        }
    }
}

TEST(ExceptionPDU, MakeAndRecognise) {
    EXPECT_BYTES(ExceptionPDU::make(3, ModbusException::illegalDataAddress), "83 02");
    EXPECT_BYTES(ExceptionPDU::make(0x90, ModbusException::gatewayTargetFailedToRespond), "90 0B");
    EXPECT_EQ(ExceptionPDU::exception(bytes("90 0B")), 11);
    EXPECT_EQ(ExceptionPDU::exception(bytes("83 0C 00")), 12);
    EXPECT_EQ(ExceptionPDU::exception(bytes("03 02")), std::nullopt);
    EXPECT_EQ(ExceptionPDU::exception(bytes("83")), std::nullopt);
    EXPECT_EQ(ExceptionPDU::exception(bytes("")), std::nullopt);
}

}  // namespace
}  // namespace tessarin
