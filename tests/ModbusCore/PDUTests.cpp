#include "ModbusCore/PDU.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/ExceptionPDU.hpp"
#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <tuple>

namespace tessarin {
namespace {

using test::bytes;

std::vector<bool> boolsOf(std::string_view digits) {
    std::vector<bool> out;
    for (const char c : digits) out.push_back(c == '1');
    return out;
}

// Results as short texts, so that table rows stay on one line and failures read plainly.
std::string describe(const PDU::ResponseError& error) {
    return error.kind == PDU::ResponseError::Kind::malformed ? "malformed"
                                                             : fmt::format("exception {:02X}", error.code);
}

std::string describe(const std::expected<PDU::ReadData, PDU::ResponseError>& result) {
    if (!result) return describe(result.error());
    std::string out;
    if (const auto* bits = result->bitValues()) {
        out = "bits ";
        for (const bool bit : *bits) out += bit ? '1' : '0';
    } else {
        out = "registers";
        for (const std::uint16_t value : *result->registerValues()) out += fmt::format(" {:04X}", value);
    }
    return out;
}

// Packing is covered by the builders and parsers; these are the reads that must stay in bounds.
TEST(Bytes, ReadsStayInsideTheData) {
    EXPECT_EQ(uint16At(bytes("12 34 00 FF"), 1), 0x3400);
    // Values beyond the data read as false instead of reading past it.
    EXPECT_EQ(unpackBits(bytes("FF"), 10), boolsOf("1111111100"));
}

TEST(PDUBuilders, ExactRequestBytes) {
    EXPECT_BYTES(PDU::read(RegisterTable::coil, 19, 2000), "01 00 13 07 D0");
    EXPECT_BYTES(PDU::read(RegisterTable::inputRegister, 0, 65535), "04 00 00 FF FF");
    EXPECT_BYTES(PDU::writeSingleCoil(0x00AC, true), "05 00 AC FF 00");
    EXPECT_BYTES(PDU::writeSingleRegister(0x0001, 0xABCD), "06 00 01 AB CD");
    EXPECT_BYTES(ExceptionPDU::make(0x90, ModbusException::gatewayTargetFailedToRespond), "90 0B");
    EXPECT_BYTES(PDU::writeMultipleCoils(19, boolsOf("1011001110")), "0F 00 13 00 0A 02 CD 01");
    const std::vector<std::uint16_t> registers{0x000A, 0x0102};
    EXPECT_BYTES(PDU::writeMultipleRegisters(1, registers), "10 00 01 00 02 04 00 0A 01 02");
    // The largest writes whose byte counts still fit one byte.
    const auto coils = PDU::writeMultipleCoils(0, std::vector<bool>(PDU::maxPackedCoils, true));
    EXPECT_BYTES(std::span(coils).first(6), "0F 00 00 07 F8 FF");
    EXPECT_EQ(coils.size(), 6 + 255U);
    const auto many = PDU::writeMultipleRegisters(0, std::vector<std::uint16_t>(PDU::maxPackedRegisters, 1));
    EXPECT_BYTES(std::span(many).first(6), "10 00 00 00 7F FE");
    EXPECT_EQ(many.size(), 6 + 254U);
}

TEST(PDUBuildersDeathTest, QuantitiesOutsideTheWireFormatStop) {
    EXPECT_DEATH((void)PDU::read(RegisterTable::coil, 0, -1), "read quantity");
    const std::vector<std::uint16_t> registers(PDU::maxPackedRegisters + 1, 0);
    EXPECT_DEATH((void)PDU::writeMultipleRegisters(0, registers), "byte count");
    EXPECT_DEATH((void)uint16At(bytes("01"), 0), "two bytes");
}

TEST(PDUParseRead, ResponsesToReads) {
    const auto co = RegisterTable::coil;
    const auto di = RegisterTable::discreteInput;
    const auto hr = RegisterTable::holdingRegister;
    const auto ir = RegisterTable::inputRegister;
    const std::tuple<const char*, RegisterTable, int, const char*> cases[] = {
        {"03 04 00 0A 01 02", hr, 2, "registers 000A 0102"},
        {"03 04 00 0A 01 02", hr, 3, "malformed"},
        {"03 04 00 0A 01 02", ir, 2, "malformed"},  // another table's function
        {"01 01 CD", co, 8, "bits 10110011"},
        {"01 01 CD", co, 10, "malformed"},
        {"02 02 CD 01", di, 10, "bits 1011001110"},
        {"01 02 00 FF", co, 9, "bits 000000001"},  // padding bits are ignored
        {"83 02", hr, 2, "exception 02"},
        {"81 0B", hr, 2, "exception 0B"},  // whatever function the exception names
        {"83", hr, 2, "malformed"},
        {"03 04 00 0A 01 02 03", hr, 2, "malformed"},
        {"03 FF 00", hr, 2, "malformed"},
        {"03 00", hr, 0, "registers"},
        {"03 02 00 01", hr, 0, "malformed"},
        // Quantities no request could carry never match, negative ones included.
        {"01 00", co, -1, "malformed"},
    };
    for (const auto& [response, table, count, result] : cases) {
        SCOPED_TRACE(fmt::format("{} for {} of {}", response, rawValue(table), count));
        EXPECT_EQ(describe(PDU::parseRead(bytes(response), table, count)), result);
    }
}

TEST(PDUCheckWrite, AcknowledgementsOfWrites) {
    const char* const fc16 = "10 00 01 00 02 04 00 0A 01 02";
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"06 00 01 AB CD", "06 00 01 AB CD", "ok"},
        {"05 00 AC 00 00", "05 00 AC FF 00", "malformed"},
        {"10 00 01 00 02", fc16, "ok"},
        {"10 00 01 00 03", fc16, "malformed"},
        {"0F 00 01 00 02", fc16, "malformed"},
        {"90 02", fc16, "exception 02"},
        {"83 02", "", "exception 02"},
        {"06 00 01 AB CD", "", "malformed"},
        {"06 00 01 AB CD", "06 00 01 AB CD EF", "malformed"},
    };
    for (const auto& [response, request, expected] : cases) {
        const auto result = PDU::checkWrite(bytes(response), bytes(request));
        EXPECT_EQ(result ? "ok" : describe(result.error()), expected) << response << " after " << request;
    }
}

}  // namespace
}  // namespace tessarin
